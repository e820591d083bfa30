#include "core/code_page.h"
#include "document/book_storage.h"
#include "document/data_file.h"
#include "recording_message_service.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fixture(const QString& name)
{
    return readAll(QStringLiteral(VELKARO_TEST_DATA "/books/") + name);
}

class BookStorageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        configure(m_dir.path() + "/data/");
        QDir().mkpath(m_storage.FilePath());
    }

    void configure(const QString& filePath)
    {
        m_storage.setFilePath(filePath);
        m_storage.setSettingsFolder(m_dir.path() + "/settings/");
        m_storage.setExeBaseName(QStringLiteral("velkaro"));
    }

    QString blocker()
    {
        const QString path = m_dir.path() + "/regular-file";
        writeAll(path, "not a folder");
        return path;
    }

    void setBook(std::vector<PageRecord> pages)
    {
        m_book.setPages(std::move(pages));
        m_book.MarkBookChanged();
    }

    QTemporaryDir m_dir;
    Book m_book;
    RecordingMessageService m_messages;
    BookStorage m_storage{m_book, m_messages};
};

} // namespace

TEST_F(BookStorageTest, FirstStartWritesAndLoadsTheDefaultBook)
{
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_book.PageCount(), 14);
    EXPECT_EQ(m_book.Pages[1].Title, u"АБ"_qs);
    EXPECT_EQ(m_book.Pages[14].Title, u"ЮЯ"_qs);
    EXPECT_EQ(readAll(m_storage.FullDataPath()), DataFile::serialize(DataFile::defaultPages()));
    EXPECT_TRUE(m_storage.keptAsidePath().isEmpty());
    EXPECT_TRUE(m_messages.entries().empty());
    EXPECT_FALSE(m_book.isChanged());
}

TEST_F(BookStorageTest, AMissingDataFolderIsCreatedForTheDefaultBook)
{
    configure(m_dir.path() + "/new/");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_storage.FilePath(), m_dir.path() + "/new/");
    EXPECT_EQ(m_book.PageCount(), 14);
}

TEST_F(BookStorageTest, UnreadableFilesAreKeptAsideByteForByteAndTheDefaultBookLoaded)
{
    QByteArray forty = "40000\r\n";
    for (int i = 0; i < 40000; ++i)
        forty += "\"p\",\"\"\r\n";
    std::vector<std::pair<QString, QByteArray>> files = {{"count 40000", forty}};
    for (const char* name :
         {"empty.dat", "count_zero.dat", "count_negative.dat", "count_too_large.dat",
          "count_huge.dat", "truncated.dat", "unbalanced_quote.dat", "nul_bytes.dat",
          "binary_junk.dat", "not_a_number.dat", "fuzz_blank_titles.dat"})
        files.emplace_back(name, fixture(name));

    int round = 0;
    for (const auto& [name, bytes] : files) {
        configure(m_dir.path() + QStringLiteral("/round%1/").arg(++round));
        writeAll(m_storage.FullDataPath(), bytes);
        ASSERT_FALSE(m_storage.LoadBook().has_value()) << name.toStdString();
        EXPECT_EQ(m_book.PageCount(), 14) << name.toStdString();
        EXPECT_EQ(m_book.Pages[1].Title, u"АБ"_qs);
        const QString kept = m_storage.keptAsidePath();
        EXPECT_TRUE(kept.startsWith(m_storage.FullDataPath() + ".unreadable-20"))
            << kept.toStdString();
        EXPECT_EQ(readAll(kept), bytes) << name.toStdString();
        EXPECT_EQ(readAll(m_storage.FullDataPath()), DataFile::serialize(DataFile::defaultPages()));
    }
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(BookStorageTest, ADataPathThatExistsButCannotBeOpenedIsKeptAsideToo)
{
    writeAll(m_storage.FullDataPath() + "/inside", "precious");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_book.PageCount(), 14);
    EXPECT_EQ(readAll(m_storage.keptAsidePath() + "/inside"), QByteArray("precious"));
}

TEST_F(BookStorageTest, RepeatedRecoveriesNeverOverwriteAnEarlierKeptFile)
{
    writeAll(m_storage.FullDataPath(), "0\r\nfirst");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    const QString first = m_storage.keptAsidePath();
    writeAll(m_storage.FullDataPath(), "0\r\nsecond");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    const QString second = m_storage.keptAsidePath();
    EXPECT_NE(first, second);
    EXPECT_EQ(readAll(first), QByteArray("0\r\nfirst"));
    EXPECT_EQ(readAll(second), QByteArray("0\r\nsecond"));
}

TEST_F(BookStorageTest, AddressPagesPassThroughTheCleanUpAndTextPagesDoNot)
{
    writeAll(m_storage.FullDataPath(), fixture("features.dat"));
    m_storage.setPageCleanup([](const QString& text) { return u"clean:"_qs + text; });
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    ASSERT_EQ(m_book.PageCount(), 4);
    EXPECT_TRUE(m_book.Pages[1].Text.startsWith(u"clean:{\\rtf1"_qs));
    EXPECT_TRUE(m_book.Pages[2].Text.startsWith(u"первая"_qs));
    EXPECT_EQ(m_book.Pages[4].Text, u"clean:"_qs);
}

TEST_F(BookStorageTest, FallbackBookGoesToTheSettingsFolderWhenTheDataFolderIsUnusable)
{
    configure(blocker() + "/books/");
    QSignalSpy fallback(&m_storage, &BookStorage::fallbackBookUsed);
    m_book.RecentPage = 7;
    ASSERT_FALSE(m_storage.LoadBook().has_value());

    EXPECT_EQ(fallback.count(), 1);
    EXPECT_EQ(m_book.RecentPage, 1);
    EXPECT_EQ(m_storage.FilePath(), m_dir.path() + "/settings/");
    EXPECT_TRUE(QFile::exists(m_dir.path() + "/settings/velkaro.dat"));
    ASSERT_EQ(m_book.PageCount(), 1);
    EXPECT_EQ(m_book.Pages[1].Title, u"Ошибка"_qs);
    EXPECT_EQ(m_book.Pages[1].Kind, 0);
    EXPECT_TRUE(readAll(m_storage.FullDataPath()).startsWith("1\r\n\""));
}

TEST_F(BookStorageTest, FallbackBookShowsItsTextsWithTheirEmphasis)
{
    const DataFile::ParseResult parsed = DataFile::parse(BookStorage::fallbackBookBytes());
    ASSERT_TRUE(parsed.ok());
    const QString plain = RtfPlainText::extract(parsed.pages.at(0).Text);
    const QStringList lines = plain.split(u"\r\n"_qs);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], u"Файл не найден"_qs);
    EXPECT_EQ(lines[1], u"Не удалось открыть файл адресной книги. Возможно, он находится на "
                        u"недоступном сетевом диске или был перемещен в другую папку."_qs);
    EXPECT_EQ(lines[2], u"Попробуйте следующее:"_qs);
    EXPECT_TRUE(lines[3].endsWith(u"Подключите сетевой ресурс или вставьте компакт-диск для "
                                  u"обеспечения доступа к файлу."_qs));
    EXPECT_TRUE(lines[4].endsWith(u"Откройте окно Параметры из Главного меню программы, и в "
                                  u"разделе Адресная книга укажите верный путь к файлу."_qs));

    QTextDocument doc;
    RtfReader::read(parsed.pages.at(0).Text, doc);
    QStringList bold;
    QStringList fonts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            fonts += format.fontFamilies().toStringList();
            if (format.fontWeight() >= QFont::Bold)
                bold << it.fragment().text().trimmed();
        }
    }
    EXPECT_EQ(bold, (QStringList{u"Файл не найден"_qs, u"Параметры"_qs, u"Главного меню"_qs,
                                 u"Адресная книга"_qs}));
    EXPECT_TRUE(fonts.contains(u"Tahoma"_qs));
    EXPECT_TRUE(fonts.contains(u"Lucida Console"_qs));
}

TEST_F(BookStorageTest, FallbackBookNeverReplacesAnEarlierOneSilently)
{
    writeAll(m_dir.path() + "/settings/velkaro.dat", "1\r\n\"Мои\",\"записи\"\r\n");
    configure(blocker() + "/books/");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    const QStringList kept =
        QDir(m_dir.path() + "/settings").entryList({"velkaro.dat.replaced-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(m_dir.path() + "/settings/" + kept[0]),
              QByteArray("1\r\n\"Мои\",\"записи\"\r\n"));
}

TEST_F(BookStorageTest, WhenNoBookCanBeWrittenTheErrorComesBackAndTheBookStays)
{
    const QString file = blocker();
    configure(file + "/books/");
    m_storage.setSettingsFolder(file + "/settings/");
    setBook({{u"Keep"_qs, u"me"_qs, 0}});
    EXPECT_TRUE(m_storage.LoadBook().has_value());
    ASSERT_EQ(m_book.PageCount(), 1);
    EXPECT_EQ(m_book.Pages[1].Title, u"Keep"_qs);
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(BookStorageTest, SaveWritesTheBookAndTheExportAndKeepsTheTextsInMemory)
{
    setBook({{u"АБ"_qs, u"он сказал \"да\" за $5"_qs, 0}, {u"Дом"_qs, u"x"_qs, 1}});
    const std::vector<PageRecord> before(m_book.pages().begin(), m_book.pages().end());
    ASSERT_TRUE(m_storage.SaveBook());
    EXPECT_FALSE(m_book.isChanged());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), m_book.pages().begin()));
    EXPECT_EQ(readAll(m_storage.FullDataPath()), DataFile::serialize(before));
    EXPECT_TRUE(readAll(m_storage.exportPath()).startsWith(CodePage::encodeLossy(u"$АБ\r\n"_qs)));

    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), m_book.pages().begin()));
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(BookStorageTest, FailedSaveGivesOneMessageAndLeavesEverythingAsItWas)
{
    configure(blocker() + "/books/");
    setBook(DataFile::defaultPages());
    m_book.markSaved();
    EXPECT_FALSE(m_storage.SaveBook());
    EXPECT_EQ(m_messages.texts(),
              QStringList{u"Path not found (76)\r\nin Velkaro.Subs.SaveDataEx "_qs});
    EXPECT_TRUE(m_book.isChanged());
}

TEST_F(BookStorageTest, ExportFailureIsReportedOnceAfterTheBookIsSafe)
{
    setBook(DataFile::defaultPages());
    QDir().mkpath(m_storage.exportPath());
    EXPECT_FALSE(m_storage.SaveBook());
    ASSERT_EQ(m_messages.texts().size(), 1);
    EXPECT_TRUE(m_messages.texts()[0].endsWith(u"\r\nin Velkaro.Subs.SaveAsText "_qs));
    EXPECT_FALSE(m_book.isChanged());
    EXPECT_EQ(readAll(m_storage.FullDataPath()), DataFile::serialize(DataFile::defaultPages()));
}

TEST_F(BookStorageTest, UnstorableCharactersRefuseTheSaveNamingThePage)
{
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    const QByteArray before = readAll(m_storage.FullDataPath());
    m_book.Pages.push_back({u"Смайлик ☺"_qs, u"{\\rtf1 x}"_qs, 0});
    m_book.MarkBookChanged();
    EXPECT_FALSE(m_storage.SaveBook());
    ASSERT_EQ(m_messages.texts().size(), 1);
    EXPECT_TRUE(m_messages.texts()[0].contains(u"«Смайлик ☺»"_qs));
    EXPECT_TRUE(m_messages.texts()[0].endsWith(u"(5)\r\nin Velkaro.Subs.SaveDataEx "_qs));
    EXPECT_EQ(readAll(m_storage.FullDataPath()), before);
    EXPECT_TRUE(m_book.isChanged());
}

TEST_F(BookStorageTest, PlainTextModeStoresPlainTextInMemoryAndOnDisk)
{
    setBook({{u"АБ"_qs, u"{\\rtf1\\ansi{\\b Bold} name\\tab 12\\par second}"_qs, 0},
             {u"Plain"_qs, u"already\nplain"_qs, 1}});
    m_storage.setUseRtf(false);
    QSignalSpy replaced(&m_book, &Book::pagesReplaced);
    ASSERT_TRUE(m_storage.SaveBook());
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(m_book.Pages[1].Text, u"Bold name\t12\r\nsecond"_qs);
    EXPECT_EQ(m_book.Pages[2].Text, u"already\r\nplain"_qs);
    const DataFile::ParseResult onDisk = DataFile::parse(readAll(m_storage.FullDataPath()));
    ASSERT_TRUE(onDisk.ok());
    EXPECT_EQ(onDisk.pages[0].Text, u"Bold name\t12\r\nsecond"_qs);
}

TEST_F(BookStorageTest, RescueCopyHoldsTheWholeBookInTheSettingsFolder)
{
    setBook({{u"АБ"_qs, u"важное"_qs, 0}});
    EXPECT_FALSE(m_storage.hasRescue());
    ASSERT_TRUE(m_storage.writeRescueCopy());
    EXPECT_TRUE(m_storage.hasRescue());
    EXPECT_TRUE(m_storage.rescuePath().startsWith(m_dir.path() + "/settings/"));
    const DataFile::ParseResult rescued = DataFile::parse(readAll(m_storage.rescuePath()));
    ASSERT_TRUE(rescued.ok());
    EXPECT_EQ(rescued.pages[0].Text, u"важное"_qs);
    EXPECT_TRUE(m_messages.entries().empty());
}
