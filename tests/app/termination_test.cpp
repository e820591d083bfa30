// The real program ended by SIGTERM, as a session's end ends it, while its
// book cannot be written: the old book stays and the rescue copy holds every
// page. Full and read-only disks are small file systems mounted for the test
// (CI runs as root; skipped where mounting is not allowed).

#include "document/data_file.h"
#include "document/tab_cleanup.h"
#include "richtext/rtf_plain_text.h"
#include "terminated_program.h"
#include "widget_test.h"

#include <sys/mount.h>

namespace {

class Termination : public ::testing::Test
{
protected:
    // About 70 KB, so that a second copy does not fit beside it in 100 KB.
    // The runs of tabs need the clean-up, so the loaded book differs from its
    // file and must be written.
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        QDir().mkpath(m_data);
        QSettings settings(m_home.filePath("config/Velkaro Pro.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Адресная книга/FilePath"), m_data);
        settings.setValue(QStringLiteral("Общие/TipsDuration"), QStringLiteral("0"));
        for (int i = 1; i <= 100; ++i)
            m_pages.push_back(
                {QStringLiteral("Страница %1").arg(i),
                 QStringLiteral("Иванов Иван\t\t\t8 (495) 123-45-%1 ").arg(i).repeated(20), i % 2});
        m_book = DataFile::serialize(m_pages);
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(m_data.toLocal8Bit().constData(), MNT_DETACH);
    }
    // A fresh small file system over the data folder holding the book,
    // remounted with `flags` when given.
    bool mountWithBook(unsigned long flags)
    {
        const QByteArray target = m_data.toLocal8Bit();
        if (m_mounted)
            ::umount2(target.constData(), MNT_DETACH);
        m_mounted = ::mount("tmpfs", target.constData(), "tmpfs", 0, "size=100k") == 0;
        return m_mounted && writeAll(m_data + "velkaro.dat", m_book) &&
               (!flags || ::mount(nullptr, target.constData(), nullptr, flags, "size=100k") == 0);
    }
    QString userFile(const QString& name) const
    {
        return m_home.filePath("share/Velkaro Pro/") + name;
    }
    // Every page as the user reads it: address pages come back cleaned up.
    static QStringList shown(const std::vector<PageRecord>& pages, bool cleanUp)
    {
        QStringList out;
        for (const PageRecord& page : pages) {
            const bool clean = cleanUp && page.kind == PageRecord::AddressPage;
            out << page.title + u'|' + QString::number(page.kind) + u'|' +
                       RtfPlainText::extract(clean ? TabCleanup::clean(page.text)
                                                   : page.text.text());
        }
        return out;
    }
    QString notices() const { return QString::fromUtf8(readAll(userFile("velkaro.notices.txt"))); }

    QTemporaryDir m_home;
    QString m_data = m_home.filePath("data/");
    std::vector<PageRecord> m_pages;
    QByteArray m_book;
    bool m_mounted = false;
};

} // namespace

TEST_F(Termination, WithTheDiskFullOrReadOnlyTheOldBookStaysAndTheRescueHoldsEveryPage)
{
    for (
        const auto& [remount, reason] :
        {std::pair{
             0ul,
             u"velkaro.dat: Недостаточно места на диске (61)\r\nin Velkaro.Subs.SaveDataEx "_qs},
         {MS_REMOUNT | MS_RDONLY,
          u"velkaro.dat: Диск доступен только для чтения (70)\r\nin Velkaro.Subs.SaveDataEx "_qs}}) {
        SCOPED_TRACE(remount);
        if (!mountWithBook(remount))
            GTEST_SKIP() << "mounting a small file system is not allowed here";
        QFile::remove(userFile("velkaro.rescue.dat"));
        QFile::remove(userFile("velkaro.notices.txt"));
        runAndTerminate(QStringLiteral(VELKARO_PROGRAM), {}, m_home);
        EXPECT_EQ(readAll(m_data + "velkaro.dat"), m_book);
        EXPECT_EQ(shown(DataFile::parse(readAll(userFile("velkaro.rescue.dat"))).pages, false),
                  shown(m_pages, true));
        EXPECT_TRUE(notices().contains(reason)) << notices();
    }
}

TEST_F(Termination, WithTheExportBlockedTheBookIsSavedAndNoRescueFollows)
{
    ASSERT_TRUE(QDir().mkpath(m_data + "velkaro"));
    ASSERT_TRUE(writeAll(m_data + "velkaro.dat", m_book));
    runAndTerminate(QStringLiteral(VELKARO_PROGRAM), {}, m_home);
    EXPECT_EQ(DataFile::parse(readAll(m_data + "velkaro.dat")).pages.size(), 100u);
    EXPECT_FALSE(QFileInfo::exists(userFile("velkaro.rescue.dat")));
    EXPECT_TRUE(notices().contains(u"in Velkaro.Subs.SaveAsText "_qs)) << notices();
}

// One paragraph full of tabs, far longer than any entry, on the page shown at
// start-up: the window still comes up and a termination still ends the
// program, leaving the stored page as it was.
TEST_F(Termination, ALongParagraphFullOfTabsBlocksNeitherStartUpNorTheEnd)
{
    for (const int megabytes : {1, 34}) {
        SCOPED_TRACE(megabytes);
        const QString line = u"Иванов\t555-12-34 "_qs.repeated(megabytes * (1 << 20) / 17);
        const std::vector<PageRecord> pages{{u"АБ"_qs, line, PageRecord::AddressPage}};
        const QByteArray book = DataFile::serialize(pages);
        ASSERT_TRUE(writeAll(m_data + "velkaro.dat", book));
        // Today's program ends in about 2 s; a page laid out whole took minutes.
        runAndTerminate(QStringLiteral(VELKARO_PROGRAM), {}, m_home, 60000);
        EXPECT_EQ(readAll(m_data + "velkaro.dat"), book);
    }
}
