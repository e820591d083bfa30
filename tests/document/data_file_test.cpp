#include "core/code_page.h"
#include "document/data_file.h"
#include "unit_test.h"

namespace {

QByteArray fixture(const char* name)
{
    return readAll(QStringLiteral(VELKARO_TEST_DATA "/books/") + QLatin1String(name));
}

} // namespace

TEST(DataFileFormat, QuotesTildesAndMultiLineFieldsRoundTripAndUnstorableCharactersAreReported)
{
    const std::vector<PageRecord> pages = {{u"Клуб \"Ромашка\""_qs, u"он сказал \"да\""_qs, 0},
                                           {u"Заметки"_qs, u"две '' подряд"_qs, 1},
                                           {u"~Странный"_qs, u"x"_qs, 0}};
    const QByteArray bytes = DataFile::serialize(pages);
    EXPECT_TRUE(bytes.contains(
        CodePage::encodeLossy(u"\"Клуб ''Ромашка''\",\"он сказал ''да''\"\r\n\"~Заметки\","_qs)));
    const DataFile::ParseResult back = DataFile::parse(bytes);
    // An address page whose title starts with "~" comes back as a text page.
    EXPECT_EQ(back.pages, (std::vector<PageRecord>{pages[0],
                                                   {u"Заметки"_qs, u"две \" подряд"_qs, 1},
                                                   {u"Странный"_qs, u"x"_qs, 1}}));

    const DataFile::ParseResult features = DataFile::parse(fixture("features.dat"));
    ASSERT_EQ(features.pages.size(), 4u);
    EXPECT_EQ(features.pages[1].text, u"первая строка, с запятой\r\nвторая строка: \"цитата\" и "
                                      u"$5\r\n\\ {фигурные} скобки"_qs);
    EXPECT_EQ(DataFile::serialize(features.pages), fixture("features.dat"));
    // The count written matches the records; characters the file cannot hold are reported.
    const std::vector<PageRecord> unstorable = {{u"А"_qs, {}, 0},
                                                {QString(), u"lost"_qs, 0},
                                                {u"Café ☺"_qs, u"中文"_qs, 1},
                                                {u"Б"_qs, QString::fromUtf16(u"a\0b", 3), 0}};
    const DataFile::Encoded encoded = DataFile::encode(unstorable);
    EXPECT_TRUE(encoded.bytes.startsWith("3\r\n"));
    EXPECT_EQ(std::pair(encoded.badPage, encoded.badChars), std::pair(3, u"é☺中文"_qs));
    // A NUL is text like any other: the rich-edit control left one after its RTF.
    const DataFile::Encoded nul = DataFile::encode(std::span(unstorable).subspan(3));
    EXPECT_EQ(nul.badPage, 0);
    EXPECT_TRUE(nul.bytes.contains(QByteArray("a\0b", 3)));
    // The copy that must keep everything is UTF-8 and reads kept as it was.
    const QByteArray utf8 = DataFile::encode(unstorable, DataFile::Charset::Utf8WithBom).bytes;
    EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF"
                                "3\r\n"));
    const DataFile::ParseResult kept = DataFile::parse(utf8);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept.pages, (std::vector<PageRecord>{unstorable[0], unstorable[2], unstorable[3]}));
}

TEST(DataFileReading, BooksOfTheRichEditControlWithNulBytesReadAndWriteBackByteForByte)
{
    const QByteArray stored = fixture("rich_edit_nul.dat");
    const DataFile::ParseResult book = DataFile::parse(stored);
    ASSERT_TRUE(book.ok()) << book.error->text().toStdString();
    ASSERT_EQ(book.pages.size(), 3u);
    EXPECT_TRUE(book.pages[0].text.text().endsWith(QStringView(u"}\r\n\0", 4)));
    EXPECT_EQ(book.pages[1].kind, PageRecord::TextPage);
    EXPECT_TRUE(book.pages[1].text.text().contains(QStringView(u"вторая\0половина", 15)));
    EXPECT_EQ(book.trailingLine, 0);
    EXPECT_EQ(DataFile::serialize(book.pages), stored);
}

// Whatever the reader accepts is written again (in Windows-1251, or in the
// UTF-8 it came in when that cannot hold it) and reads back as the same pages.
TEST(DataFileReading, BooksReadAsTheirCasesSayWhatLoadsSavesAndLoadsBackAndCountsAreNotTrusted)
{
    for (const DataCase& c : readCases("document/books.cases")) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.parts.value(0).startsWith('@')
                                     ? fixture(c.parts.value(0).sliced(1).constData())
                                     : c.parts.value(0);
        const DataFile::ParseResult read = DataFile::parse(bytes);
        QStringList titles;
        for (const PageRecord& page : read.pages)
            titles << page.title;
        const QString text =
            read.trailingLine ? u"; text at line %1"_qs.arg(read.trailingLine) : QString();
        EXPECT_EQ(
            read.ok()
                ? titles.join(u'|') + text
                : u"error %1 at line %2"_qs.arg(read.error->error.number).arg(read.error->line) +
                      (read.pages.empty() ? "" : " with pages"),
            c.text(1));
        if (!read.ok())
            continue;
        const auto save = [&read](const std::vector<PageRecord>& pages) {
            DataFile::Encoded saved = DataFile::encode(pages);
            return saved.ok() ? saved : DataFile::encode(pages, read.charset);
        };
        const DataFile::Encoded saved = save(read.pages);
        ASSERT_TRUE(saved.ok());
        EXPECT_EQ(DataFile::parse(saved.bytes).pages, read.pages);
        // Pages left as stored read and write as decoded ones do.
        const DataFile::ParseResult stored = DataFile::parseInPlace(bytes);
        EXPECT_EQ(save(stored.pages).bytes, saved.bytes);
        EXPECT_EQ(stored.pages.front().plainText(), read.pages.front().plainText());
        EXPECT_EQ(stored.pages, read.pages);
    }
    // Text around the fields is read the way existing books need it.
    const DataFile::ParseResult result = DataFile::parse(CodePage::encodeLossy(
        u" 2 \n\"А\"junk, \"one\"\n  Б  ,two words\nthird,\"never read\"\n"_qs));
    ASSERT_TRUE(result.ok()) << result.error->text().toStdString();
    EXPECT_EQ(result.pages,
              (std::vector<PageRecord>{{u"А"_qs, u"one"_qs, 0}, {u"Б"_qs, u"two words"_qs, 0}}));
    // More than the most pages fail without allocating the count ahead of the pages.
    const QByteArray forty = "40000\r\n" + QByteArray("\"p\",\"\"\r\n").repeated(40000);
    const DataFile::ParseResult tooMany = DataFile::parse(forty);
    ASSERT_FALSE(tooMany.ok());
    EXPECT_EQ(std::tuple(tooMany.pages.size(), tooMany.error->error.number, tooMany.error->line),
              std::tuple(0u, 6, 1));
}

// A title is refused exactly when the book file would not give it back: as
// an address page with the same title.
TEST(DataFileFormat, TitleProblemsAreExactlyTheTitlesThatDoNotReadBack)
{
    const QStringList titles = {
        u"Работа"_qs,      u"~Дача"_qs, u"Д~ача"_qs, u"O'Brien"_qs, u"O''Brien"_qs,
        u"\"Ромашка\""_qs, u"'\"'"_qs,  u"a\"'"_qs,  u"a'\""_qs,    u"Ёлка ё"_qs,
        u"日本"_qs,        u"€ и №"_qs, u"a'b'c"_qs, u"'"_qs};
    for (const QString& title : titles) {
        const std::vector<PageRecord> pages = {{title, u"x"_qs, PageRecord::AddressPage}};
        const DataFile::ParseResult back = DataFile::parse(DataFile::encode(pages).bytes);
        const bool readsBack = back.ok() && back.pages.size() == 1 && back.pages[0] == pages[0];
        EXPECT_EQ(!DataFile::titleProblem(title).has_value(), readsBack) << title.toStdString();
    }
    EXPECT_EQ(DataFile::titleProblem(u"~Дача"_qs), DataFile::TitleProblem::LeadingTilde);
    EXPECT_EQ(DataFile::titleProblem(u"O''Brien"_qs), DataFile::TitleProblem::Apostrophes);
    EXPECT_EQ(DataFile::titleProblem(u"日本"_qs), DataFile::TitleProblem::NoCodePageChar);
}
