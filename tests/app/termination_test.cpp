// The real program, ended by SIGTERM the way a session's end ends it, while
// its book cannot be written. It must end on its own, leave the old book as
// it was and keep every page in the rescue copy. Full and read-only data
// folders are small file systems mounted for the test (CI runs as root; the
// test is skipped where mounting is not allowed).

#include "document/data_file.h"
#include "document/page_import.h"
#include "richtext/rtf_plain_text.h"
#include "terminated_program.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>

namespace {

// About 70 KB, so that a second copy does not fit beside it in 100 KB. The
// runs of tabs need the clean-up, so the loaded book differs from its file
// and must be written.
QByteArray aBook()
{
    std::vector<PageRecord> pages;
    for (int i = 1; i <= 100; ++i) {
        pages.push_back({QStringLiteral("Страница %1").arg(i),
                         QStringLiteral("Иванов Иван\t\t\t8 (495) 123-45-%1 ").arg(i).repeated(20),
                         i % 2});
    }
    return DataFile::serialize(pages);
}

// What the program shows of a page: address pages cleaned up.
QString shownText(const PageRecord& page)
{
    return RtfPlainText::extract(
        page.Kind == PageRecord::AddressPage ? PageImport::Import(page.Text) : page.Text.text());
}

class Termination : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        QDir().mkpath(m_data);
        QSettings settings(m_home.filePath("config/Velkaro Pro.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Адресная книга/FilePath"), m_data);
        settings.setValue(QStringLiteral("Общие/TipsDuration"), QStringLiteral("0"));
    }

    void TearDown() override
    {
        if (m_mounted)
            ::umount2(m_data.toLocal8Bit().constData(), MNT_DETACH);
    }

    bool mountSmallFileSystem()
    {
        const QByteArray target = m_data.toLocal8Bit();
        m_mounted = ::mount("tmpfs", target.constData(), "tmpfs", 0, "size=100k") == 0;
        return m_mounted;
    }

    bool makeReadOnly()
    {
        return ::mount(nullptr, m_data.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                       "size=100k") == 0;
    }

    void writeBook()
    {
        QFile file(m_data + "velkaro.dat");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(m_book), m_book.size());
    }

    void runAndTerminate() { ::runAndTerminate(QStringLiteral(VELKARO_PROGRAM), {}, m_home); }

    QString settingsFolder() const { return m_home.filePath("share/Velkaro Pro/"); }

    void expectEveryPageRescued()
    {
        const QByteArray rescued = readAll(settingsFolder() + "velkaro.rescue.dat");
        ASSERT_FALSE(rescued.isEmpty()) << "no rescue copy";
        // Address pages come back cleaned up, so compare what the user reads.
        const std::vector<PageRecord> kept = DataFile::parse(rescued).pages;
        const std::vector<PageRecord> pages = DataFile::parse(m_book).pages;
        ASSERT_EQ(kept.size(), pages.size());
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_TRUE(kept[i].Title == pages[i].Title && kept[i].Kind == pages[i].Kind &&
                        RtfPlainText::extract(kept[i].Text) == shownText(pages[i]))
                << "page " << i + 1;
        }
    }

    QString notices() const
    {
        return QString::fromUtf8(readAll(settingsFolder() + "velkaro.notices.txt"));
    }

    QTemporaryDir m_home;
    QString m_data = m_home.filePath("data/");
    QByteArray m_book = aBook();
    bool m_mounted = false;
};

} // namespace

TEST_F(Termination, WithTheDiskFullTheOldBookStaysAndTheRescueHoldsEveryPage)
{
    if (!mountSmallFileSystem())
        GTEST_SKIP() << "mounting a small file system is not allowed here";
    writeBook();
    runAndTerminate();
    EXPECT_EQ(readAll(m_data + "velkaro.dat"), m_book);
    expectEveryPageRescued();
    EXPECT_TRUE(
        notices().contains(u"Недостаточно места на диске (61)\r\nin Velkaro.Subs.SaveDataEx "_qs))
        << notices().toStdString();
}

TEST_F(Termination, WithAReadOnlyDataFolderTheOldBookStaysAndTheRescueHoldsEveryPage)
{
    if (!mountSmallFileSystem())
        GTEST_SKIP() << "mounting a small file system is not allowed here";
    writeBook();
    ASSERT_TRUE(makeReadOnly());
    runAndTerminate();
    EXPECT_EQ(readAll(m_data + "velkaro.dat"), m_book);
    expectEveryPageRescued();
    EXPECT_TRUE(notices().contains(u"in Velkaro.Subs.SaveDataEx "_qs)) << notices().toStdString();
}

TEST_F(Termination, WithTheExportBlockedTheBookIsSavedAndNoRescueFollows)
{
    writeBook();
    ASSERT_TRUE(QDir().mkpath(m_data + "velkaro"));
    runAndTerminate();
    EXPECT_EQ(DataFile::parse(readAll(m_data + "velkaro.dat")).pages.size(), 100u);
    EXPECT_FALSE(QFileInfo::exists(settingsFolder() + "velkaro.rescue.dat"));
    EXPECT_TRUE(notices().contains(u"in Velkaro.Subs.SaveAsText "_qs)) << notices().toStdString();
}
