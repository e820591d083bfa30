#include "rules/file_size_text.h"
#include "unit_test.h"

namespace {

const FileSizeText::Units kUnits{"bytes", "Kb", "Mb", "Gb", "Tb"};
const QLocale kRussian(QLocale::Russian, QLocale::Russia);

QString sized(qint64 size, const QLocale& locale = kRussian)
{
    return FileSizeText::formatFileSize(size, kUnits, locale);
}

TEST(FileSizeText, EachUnitWithTheLocalesDecimalCommaAndItsNumberPattern)
{
    EXPECT_EQ(sized(1023), "1023 bytes");
    EXPECT_EQ(sized(1024), "1,0 Kb");
    EXPECT_EQ(sized(1280), "1,25 Kb") << "two decimals below ten";
    EXPECT_EQ(sized(15360), "15,0 Kb");
    EXPECT_EQ(sized(150 * 1024), "150 Kb");
    EXPECT_EQ(sized(1023 * 1024 + 1000), "1024 Kb") << "no group separator";
    EXPECT_EQ(sized(qint64(5) << 40), "5,0 Tb");
    EXPECT_EQ(sized(qint64(1) << 50), "") << "past the largest unit";
    EXPECT_EQ(sized(1536, QLocale::c()), "1.5 Kb");
    // Size numbers follow their patterns.
    EXPECT_EQ(FileSizeText::formatSizeNumber(0.5f, kRussian), ",5") << "no leading zero";
    EXPECT_EQ(FileSizeText::formatSizeNumber(9.999f, kRussian), "10,0");
    EXPECT_EQ(FileSizeText::formatSizeNumber(99.94f, kRussian), "99,9");
    EXPECT_EQ(FileSizeText::formatSizeNumber(100.5f, kRussian), "101");
}

} // namespace
