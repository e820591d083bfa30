#include "core/code_page.h"
#include "core/sequential_file_reader.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList fieldsOf(const QString& text)
{
    SequentialFileReader reader(text);
    QStringList fields;
    while (!reader.atEnd())
        fields.append(reader.readField());
    return fields;
}

} // namespace

TEST(SequentialFileReader, QuotedFieldsHoldCommasAndLineBreaksAndEndWhereTheSeparatorIs)
{
    EXPECT_EQ(fieldsOf(u"\"a, b\",\"line 1\r\nline 2\nline 3\"\r\n\"c\""_qs),
              QStringList({u"a, b"_qs, u"line 1\r\nline 2\nline 3"_qs, u"c"_qs}));
    // Spaces inside the quotes are kept; spaces around them are not.
    EXPECT_EQ(fieldsOf(u"  \"  x  \"  ,\" y\"  \r\n"_qs), QStringList({u"  x  "_qs, u" y"_qs}));
    // What follows a closing quote without a separator starts the next field.
    EXPECT_EQ(fieldsOf(u"\"1,2\"\"X\"\r\n\"a\"b,c"_qs),
              QStringList({u"1,2"_qs, u"X"_qs, u"a"_qs, u"b"_qs, u"c"_qs}));
    // A quote left open runs to the end of the text.
    EXPECT_EQ(fieldsOf(u"\"done\",\"open, to\r\nthe end\r\n"_qs),
              QStringList({u"done"_qs, u"open, to\r\nthe end\r\n"_qs}));
    EXPECT_EQ(fieldsOf(u"\""_qs), QStringList({QString()}));
}

// Unquoted fields lose outer spaces but keep tabs and quotes. CR LF, LF and CR
// each end a line; a blank line and a pair of commas each hold an empty field,
// and a separator at the very end opens none.
TEST(SequentialFileReader, UnquotedFieldsLineEndsAndEmptyFields)
{
    EXPECT_EQ(fieldsOf(u"   one  two   ,\ttab\t, say \"hi\"  \r\nlast"_qs),
              QStringList({u"one  two"_qs, u"\ttab\t"_qs, u"say \"hi\""_qs, u"last"_qs}));
    EXPECT_EQ(fieldsOf(u"a\r\nb\nc\rd"_qs), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(fieldsOf(u"a,,b\r\n\r\nc\n\nd\r\re,"_qs),
              QStringList({"a", "", "b", "", "c", "", "d", "", "e"}));
    EXPECT_EQ(fieldsOf(u"a,  "_qs), QStringList({"a", ""}));
    EXPECT_TRUE(fieldsOf(QString()).isEmpty());

    SequentialFileReader reader(u"only"_qs);
    EXPECT_EQ(reader.readField(), u"only"_qs);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readField(), QString());
}

// The help topic list: one field, then every further line whole.
TEST(SequentialFileReader, LinesAfterAFieldAreReadWhole)
{
    SequentialFileReader reader(u"\"help.rtf\"\r\n  First, topic \"1\"\r\n\r\nLast\n"_qs);
    EXPECT_EQ(reader.readField(), u"help.rtf"_qs);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readLine());
    EXPECT_EQ(lines, QStringList({u"  First, topic \"1\""_qs, QString(), u"Last"_qs}));
}

TEST(SequentialFileReader, FilesAreWindows1251UnlessTheyStartWithAUtf8Mark)
{
    QTemporaryDir dir;
    const QString cyrillic = u"Иванов, Пётр"_qs;
    const QString legacy = dir.filePath(u"telnotes.txt"_qs);
    ASSERT_TRUE(writeAll(legacy, "\"" + CodePage::encodeLossy(cyrillic) + "\",\xE0\xFF\r\n"));
    EXPECT_EQ(SequentialFileReader::readFields(legacy, 1000), QStringList({cyrillic, u"ая"_qs}));

    const QString utf8 = dir.filePath(u"utf8.txt"_qs);
    ASSERT_TRUE(writeAll(utf8, "\xEF\xBB\xBF\"" + cyrillic.toUtf8() + "\",€"));
    EXPECT_EQ(SequentialFileReader::readFields(utf8, 1000), QStringList({cyrillic, u"€"_qs}));
}

TEST(SequentialFileReader, FilesThatCannotBeReadGiveTheReason)
{
    QTemporaryDir dir;
    BoundedFile::Result failure;
    EXPECT_FALSE(SequentialFileReader::readFields(dir.filePath(u"missing"_qs), 1000, &failure));
    EXPECT_EQ(failure.problem, BoundedFile::Problem::CannotRead);
    EXPECT_FALSE(failure.error.isEmpty());

    const QString big = dir.filePath(u"big.txt"_qs);
    ASSERT_TRUE(writeAll(big, QByteArray(1001, 'x')));
    EXPECT_FALSE(SequentialFileReader::readFields(big, 1000, &failure));
    EXPECT_EQ(failure.problem, BoundedFile::Problem::TooLarge);
    EXPECT_FALSE(SequentialFileReader::readFields(dir.path(), 1000, &failure));
    EXPECT_EQ(failure.problem, BoundedFile::Problem::NotAFile);
}
