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
#include <sys/stat.h>

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

const QByteArray kDefaultBook = DataFile::serialize(DataFile::defaultPages());

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
    }

    // A regular file, so that any path below it cannot be created.
    QString blocker()
    {
        writeAll(m_dir.path() + "/regular-file", "not a folder");
        return m_dir.path() + "/regular-file";
    }

    QTemporaryDir m_dir;
    Book m_book;
    RecordingMessageService m_messages;
    BookStorage m_storage{m_book, m_messages};
};

} // namespace

TEST_F(BookStorageTest, FirstStartWritesTheDefaultBookEvenIntoAFolderNotYetMade)
{
    configure(m_dir.path() + "/new/");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_book.PageCount(), 14);
    const QByteArray onDisk = readAll(m_storage.FullDataPath());
    EXPECT_EQ(onDisk, kDefaultBook);
    EXPECT_TRUE(
        onDisk.startsWith(CodePage::encodeLossy(u"14\r\n\"АБ\",\"\"\r\n\"ВГ\",\"\"\r\n"_qs)));
    EXPECT_TRUE(onDisk.endsWith(CodePage::encodeLossy(u"\"ЮЯ\",\"\"\r\n"_qs)));
    EXPECT_EQ(onDisk.count("\r\n"), 15);
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(BookStorageTest, UnreadableFilesAreKeptAsideUnderDistinctNamesAndNeverOverwritten)
{
    QStringList kept;
    for (const char* name : {"count_zero.dat", "count_negative.dat", "count_too_large.dat",
                             "truncated.dat", "nul_bytes.dat", "binary_junk.dat", "empty.dat"}) {
        const QByteArray bytes = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/") + name);
        writeAll(m_storage.FullDataPath(), bytes);
        ASSERT_FALSE(m_storage.LoadBook().has_value()) << name;
        EXPECT_EQ(m_book.PageCount(), 14) << name;
        EXPECT_TRUE(
            m_storage.keptAsidePath().startsWith(m_storage.FullDataPath() + ".unreadable-20"));
        EXPECT_EQ(readAll(m_storage.keptAsidePath()), bytes) << name;
        EXPECT_EQ(readAll(m_storage.FullDataPath()), kDefaultBook);
        kept << m_storage.keptAsidePath();
    }
    kept.removeDuplicates();
    EXPECT_EQ(kept.size(), 7);
    // A path that exists but is no file is moved aside whole as well.
    QFile::remove(m_storage.FullDataPath());
    writeAll(m_storage.FullDataPath() + "/inside", "precious");
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(readAll(m_storage.keptAsidePath() + "/inside"), QByteArray("precious"));
    // So is a FIFO, without ever being opened: nothing writes to it, so a read
    // would wait for ever and start-up with it.
    QFile::remove(m_storage.FullDataPath());
    ASSERT_EQ(mkfifo(QFile::encodeName(m_storage.FullDataPath()).constData(), 0600), 0);
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    struct stat keptFifo = {};
    ASSERT_EQ(stat(QFile::encodeName(m_storage.keptAsidePath()).constData(), &keptFifo), 0);
    EXPECT_TRUE(S_ISFIFO(keptFifo.st_mode));
    EXPECT_EQ(readAll(m_storage.FullDataPath()), kDefaultBook);
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(BookStorageTest, OnlyAddressPagesPassThroughTheCleanUp)
{
    writeAll(m_storage.FullDataPath(), "2\r\n\"A\",\"a\"\r\n\"~T\",\"t\"\r\n");
    m_storage.setPageCleanup([](const QString& text) { return text + u"!"_qs; });
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_book.Pages[1].Text, u"a!"_qs);
    EXPECT_EQ(m_book.Pages[2].Text, u"t"_qs);
}

TEST_F(BookStorageTest, FallbackBookGoesToTheSettingsFolderOrTheErrorComesBack)
{
    writeAll(m_dir.path() + "/settings/velkaro.dat", "1\r\n\"Мои\",\"записи\"\r\n");
    configure(blocker() + "/books/");
    QSignalSpy fallback(&m_storage, &BookStorage::fallbackBookUsed);
    m_book.RecentPage = 7;
    ASSERT_FALSE(m_storage.LoadBook().has_value());
    EXPECT_EQ(fallback.count(), 1);
    EXPECT_EQ(m_book.RecentPage, 1);
    EXPECT_EQ(m_storage.FilePath(), m_dir.path() + "/settings/");
    ASSERT_EQ(m_book.PageCount(), 1);
    EXPECT_EQ(m_book.Pages[1].Title, u"Ошибка"_qs);
    const QStringList kept =
        QDir(m_dir.path() + "/settings").entryList({"velkaro.dat.replaced-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(m_dir.path() + "/settings/" + kept[0]),
              QByteArray("1\r\n\"Мои\",\"записи\"\r\n"));

    // When no book can be written at all, the error comes back and the book stays.
    m_storage.setFilePath(blocker() + "/books/");
    m_storage.setSettingsFolder(blocker() + "/settings/");
    m_book.setPages({{u"Keep"_qs, u"me"_qs, 0}});
    EXPECT_TRUE(m_storage.LoadBook().has_value());
    EXPECT_EQ(m_book.Pages.at(1).Title, u"Keep"_qs);
}

TEST_F(BookStorageTest, FallbackBookShowsItsTextsWithTheirFontsAndEmphasis)
{
    const QString rtf = DataFile::parse(BookStorage::fallbackBookBytes()).pages.at(0).Text;
    const QStringList lines = RtfPlainText::extract(rtf).split(u"\r\n"_qs);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], u"Файл не найден"_qs);
    EXPECT_EQ(lines[1], u"Не удалось открыть файл адресной книги. Возможно, он находится на "
                        u"недоступном сетевом диске или был перемещен в другую папку."_qs);
    EXPECT_EQ(lines[2], u"Попробуйте следующее:"_qs);
    EXPECT_TRUE(lines[3].endsWith(u"\tПодключите сетевой ресурс или вставьте компакт-диск для "
                                  u"обеспечения доступа к файлу."_qs));
    EXPECT_TRUE(lines[4].endsWith(u"\tОткройте окно Параметры из Главного меню программы, и в "
                                  u"разделе Адресная книга укажите верный путь к файлу."_qs));
    QTextDocument doc;
    RtfReader::read(rtf, doc);
    QStringList bold;
    QStringList fonts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            fonts += it.fragment().charFormat().fontFamilies().toStringList();
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                bold << it.fragment().text().trimmed();
        }
    }
    EXPECT_EQ(bold, (QStringList{u"Файл не найден"_qs, u"Параметры"_qs, u"Главного меню"_qs,
                                 u"Адресная книга"_qs}));
    EXPECT_TRUE(fonts.contains(u"Tahoma"_qs) && fonts.contains(u"Lucida Console"_qs));
}

TEST_F(BookStorageTest, FailedSavesGiveOneMessageLeaveTheFileAsItWasAndCanBeRescued)
{
    m_book.setPages({{u"АБ"_qs, u"x"_qs, 0}});
    QDir().mkpath(m_storage.exportPath());
    EXPECT_FALSE(m_storage.SaveBook());
    EXPECT_FALSE(m_book.isChanged());
    EXPECT_EQ(m_messages.texts(),
              QStringList{u"Permission denied (70)\r\nin Velkaro.Subs.SaveAsText "_qs});
    const QByteArray saved = readAll(m_storage.FullDataPath());

    m_messages.clear();
    m_book.Pages.push_back({u"Смайлик ☺"_qs, u"{\\rtf1 x}"_qs, 0});
    EXPECT_FALSE(m_storage.SaveBook());
    ASSERT_EQ(m_messages.texts().size(), 1);
    EXPECT_TRUE(m_messages.texts()[0].contains(u"«Смайлик ☺»"_qs));
    EXPECT_TRUE(m_messages.texts()[0].endsWith(u"(5)\r\nin Velkaro.Subs.SaveDataEx "_qs));
    EXPECT_EQ(readAll(m_storage.FullDataPath()), saved);
    EXPECT_TRUE(m_book.isChanged());

    m_messages.clear();
    m_book.Pages.pop_back();
    configure(blocker() + "/books/");
    EXPECT_FALSE(m_storage.SaveBook());
    EXPECT_EQ(m_messages.texts(),
              QStringList{u"Path not found (76)\r\nin Velkaro.Subs.SaveDataEx "_qs});

    // The rescue copy, written when the system shuts down, lives in the settings folder.
    EXPECT_FALSE(m_storage.hasRescue());
    ASSERT_TRUE(m_storage.writeRescueCopy());
    EXPECT_TRUE(m_storage.hasRescue());
    EXPECT_TRUE(m_storage.rescuePath().startsWith(m_dir.path() + "/settings/"));
    EXPECT_EQ(readAll(m_storage.rescuePath()), DataFile::serialize(m_book.pages()));
}

TEST_F(BookStorageTest, PlainTextModeStoresPlainTextInMemoryAndOnDisk)
{
    m_book.setPages({{u"АБ"_qs, u"{\\rtf1\\ansi{\\b Bold} name\\tab 12\\par second}"_qs, 0},
                     {u"Plain"_qs, u"already\nplain"_qs, 1}});
    m_storage.setUseRtf(false);
    QSignalSpy replaced(&m_book, &Book::pagesReplaced);
    ASSERT_TRUE(m_storage.SaveBook());
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(m_book.Pages[1].Text, u"Bold name\t12\r\nsecond"_qs);
    EXPECT_EQ(m_book.Pages[2].Text, u"already\r\nplain"_qs);
    EXPECT_EQ(readAll(m_storage.FullDataPath()), DataFile::serialize(m_book.pages()));
    ASSERT_TRUE(m_storage.SaveBook());
    EXPECT_EQ(replaced.count(), 1);
}
