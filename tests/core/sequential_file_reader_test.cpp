#include "core/code_page.h"
#include "core/sequential_file_reader.h"
#include "unit_test.h"

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

TEST(SequentialFileReader, TextReadsAsItsFieldsFilesAsWindows1251OrUtf8AndFailuresGiveTheReason)
{
    for (const DataCase& c : readCases("core/sequential_fields.cases")) {
        QStringList fields;
        for (const QByteArray& field : c.parts.sliced(1))
            fields << QString::fromUtf8(field);
        EXPECT_EQ(fieldsOf(c.text(0)), fields) << c.name;
    }
    SequentialFileReader reader(u"only"_qs);
    EXPECT_EQ(reader.readField(), u"only"_qs);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readField(), QString());
    // The help topic list: one field, then every further line whole.
    SequentialFileReader topics(u"\"help.rtf\"\r\n  First, topic \"1\"\r\n\r\nLast\n"_qs);
    EXPECT_EQ(topics.readField(), u"help.rtf"_qs);
    QStringList lines;
    while (!topics.atEnd())
        lines.append(topics.readLine());
    EXPECT_EQ(lines, QStringList({u"  First, topic \"1\""_qs, QString(), u"Last"_qs}));
    // Files are Windows-1251 unless they start with a UTF-8 mark.
    QTemporaryDir dir;
    const QString cyrillic = u"Иванов, Пётр"_qs;
    const QString legacy = dir.filePath(u"telnotes.txt"_qs);
    ASSERT_TRUE(writeAll(legacy, "\"" + CodePage::encodeLossy(cyrillic) + "\",\xE0\xFF\r\n"));
    EXPECT_EQ(SequentialFileReader::readFields(legacy, 1000), QStringList({cyrillic, u"ая"_qs}));

    const QString utf8 = dir.filePath(u"utf8.txt"_qs);
    ASSERT_TRUE(writeAll(utf8, "\xEF\xBB\xBF\"" + cyrillic.toUtf8() + "\",€"));
    EXPECT_EQ(SequentialFileReader::readFields(utf8, 1000), QStringList({cyrillic, u"€"_qs}));
    // Files that cannot be read give the reason.
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
