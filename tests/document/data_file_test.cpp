#include "core/code_page.h"
#include "document/data_file.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray cp1251(const QString& text)
{
    return CodePage::encodeLossy(text);
}

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(VELKARO_TEST_DATA "/books/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::vector<PageRecord> reparse(const std::vector<PageRecord>& pages)
{
    const DataFile::ParseResult result = DataFile::parse(DataFile::serialize(pages));
    EXPECT_TRUE(result.ok()) << result.error->text().toStdString();
    return result.pages;
}

} // namespace

TEST(DataFileFormat, DefaultBookIsFourteenEmptyLetterPairPagesByteForByte)
{
    const QByteArray bytes = DataFile::serialize(DataFile::defaultPages());
    EXPECT_TRUE(bytes.startsWith(cp1251(u"14\r\n\"АБ\",\"\"\r\n\"ВГ\",\"\"\r\n"_qs)));
    EXPECT_TRUE(bytes.endsWith(cp1251(u"\"ЩЭ\",\"\"\r\n\"ЮЯ\",\"\"\r\n"_qs)));
    EXPECT_EQ(bytes.count("\r\n"), 15);
    const auto pages = reparse(DataFile::defaultPages());
    ASSERT_EQ(pages.size(), 14u);
    EXPECT_EQ(pages[6].Title, u"НО"_qs);
}

TEST(DataFileFormat, QuotesApostrophesAndTildesFollowTheStoredConventions)
{
    const std::vector<PageRecord> pages = {
        {u"Клуб \"Ромашка\""_qs, u"он сказал \"да\""_qs, 0},
        {u"Заметки"_qs, u"две '' подряд"_qs, 1},
        {u"~Странный"_qs, u"x"_qs, 0},
    };
    const QByteArray bytes = DataFile::serialize(pages);
    EXPECT_FALSE(bytes.mid(bytes.indexOf('\n')).contains("\"\"\""));
    EXPECT_TRUE(bytes.contains(cp1251(u"\"Клуб ''Ромашка''\",\"он сказал ''да''\""_qs)));
    EXPECT_TRUE(bytes.contains(cp1251(u"\"~Заметки\","_qs)));

    const auto back = reparse(pages);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], pages[0]);
    EXPECT_EQ(back[1].Kind, 1);
    EXPECT_EQ(back[1].Title, u"Заметки"_qs);
    EXPECT_EQ(back[1].Text, u"две \" подряд"_qs);
    // An address page whose title starts with "~" comes back as a text page.
    EXPECT_EQ(back[2].Kind, 1);
    EXPECT_EQ(back[2].Title, u"Странный"_qs);
}

TEST(DataFileFormat, MultiLineFieldsWithCommasBracesAndBackslashesLoadBackUnchanged)
{
    const QByteArray bytes = fixture("features.dat");
    const DataFile::ParseResult result = DataFile::parse(bytes);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.pages.size(), 4u);
    EXPECT_EQ(result.pages[1].Kind, 1);
    EXPECT_EQ(result.pages[1].Text,
              u"первая строка, с запятой\r\nвторая строка: \"цитата\" и $5\r\n\\ {фигурные} "
              u"скобки"_qs);
    EXPECT_EQ(result.pages[2].Title, u"Друзья \"Клуб\""_qs);
    // Written back, the file is the same bytes: nothing the user had is altered.
    EXPECT_EQ(DataFile::serialize(result.pages), bytes);
}

TEST(DataFileFormat, CountLineCountsOnlyTheRecordsWritten)
{
    const std::vector<PageRecord> pages = {
        {u"А"_qs, {}, 0}, {QString(), u"lost"_qs, 0}, {u"Б"_qs, {}, 0}};
    const QByteArray bytes = DataFile::serialize(pages);
    EXPECT_TRUE(bytes.startsWith("2\r\n"));
    EXPECT_EQ(reparse(pages).size(), 2u);
}

TEST(DataFileFormat, CharactersWithoutACodeAreReportedWithTheirPage)
{
    const std::vector<PageRecord> pages = {
        {u"АБ"_qs, u"ok"_qs, 0}, {u"Café ☺"_qs, u"中文 ☺"_qs, 1}, {u"ДЕ"_qs, u"ok"_qs, 0}};
    const DataFile::Encoded encoded = DataFile::encode(pages);
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.badPage, 2);
    EXPECT_EQ(encoded.badChars, u"é☺中文"_qs);

    const std::vector<PageRecord> nul = {{u"ДЕ"_qs, QString::fromUtf16(u"a\0b", 3), 0}};
    EXPECT_EQ(DataFile::encode(nul).badPage, 1);
}

TEST(DataFileReading, OldReaderRulesForTextAroundFields)
{
    // Text after a closing quote is skipped up to the delimiter; unquoted
    // fields are trimmed; bare LF line ends and text after the last counted
    // record are accepted.
    const DataFile::ParseResult result = DataFile::parse(
        cp1251(u" 2 \n\"А\"junk, \"one\"\n  Б  ,two words\nthird,\"never read\"\n"_qs));
    ASSERT_TRUE(result.ok()) << result.error->text().toStdString();
    ASSERT_EQ(result.pages.size(), 2u);
    EXPECT_EQ(result.pages[0].Text, u"one"_qs);
    EXPECT_EQ(result.pages[1].Title, u"Б"_qs);
    EXPECT_EQ(result.pages[1].Text, u"two words"_qs);
}

TEST(DataFileReading, MalformedFilesFailWithNumberAndLine)
{
    struct Case
    {
        const char* file;
        int number;
        int line;
    };
    const Case cases[] = {
        {"empty.dat", AppError::InputPastEndOfFile, 1},
        {"count_zero.dat", AppError::InvalidCountOfSections, 1},
        {"count_negative.dat", AppError::InvalidCountOfSections, 1},
        {"count_too_large.dat", AppError::InputPastEndOfFile, 4},
        {"count_huge.dat", 6, 1},
        {"truncated.dat", AppError::InputPastEndOfFile, 3},
        {"unbalanced_quote.dat", AppError::InputPastEndOfFile, 4},
        {"nul_bytes.dat", AppError::TypeMismatch, 2},
        {"not_a_number.dat", AppError::TypeMismatch, 1},
        {"binary_junk.dat", AppError::TypeMismatch, 1},
        {"fuzz_blank_titles.dat", AppError::TypeMismatch, 2},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = fixture(c.file);
        ASSERT_TRUE(!bytes.isEmpty() || QLatin1String(c.file) == QLatin1String("empty.dat"));
        const DataFile::ParseResult result = DataFile::parse(bytes);
        ASSERT_FALSE(result.ok()) << c.file;
        EXPECT_TRUE(result.pages.empty()) << c.file;
        EXPECT_EQ(result.error->error.number, c.number) << c.file;
        EXPECT_EQ(result.error->line, c.line) << c.file;
    }
}

TEST(DataFileReading, APageWithoutATitleMakesTheFileUnreadable)
{
    // Its text would vanish at the next save, which skips untitled pages.
    const DataFile::ParseResult result = DataFile::parse("2\r\n\"A\",\"\"\r\n\"~\",\"text\"\r\n");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->line, 3);
}

TEST(DataFileReading, UnclosedQuoteIsReportedOnTheLineWhereItOpens)
{
    const DataFile::ParseResult result = DataFile::parse("1\r\n\"А\",\"open\r\nmore\r\nmore");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->line, 2);
    EXPECT_TRUE(result.error->text().contains(u"never closed"_qs));
}

TEST(DataFileReading, CountsBeyondTheLimitNeverReachAllocation)
{
    QByteArray many = "40000\r\n";
    for (int i = 0; i < 40000; ++i)
        many += "\"p\",\"\"\r\n";
    const DataFile::ParseResult tooMany = DataFile::parse(many);
    ASSERT_FALSE(tooMany.ok());
    EXPECT_TRUE(tooMany.error->error.description.contains(u"32767"_qs));

    EXPECT_FALSE(DataFile::parse("99999999999999999999999\r\n").ok());
    // A count the limit allows but the file cannot hold fails at the end.
    const DataFile::ParseResult shortFile = DataFile::parse("32767\r\n\"a\",\"b\"\r\n");
    ASSERT_FALSE(shortFile.ok());
    EXPECT_EQ(shortFile.error->error.number, AppError::InputPastEndOfFile);
}
