#include "ui/page_fonts.h"
#include "ui/rich_text_edit.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <gtest/gtest.h>

namespace {

TEST(PageFonts, TahomaWinsThenTheClosestStandIn)
{
    EXPECT_EQ(PageFonts::pickFamily({"DejaVu Sans", "tahoma", "Verdana"}), "Tahoma");
    EXPECT_EQ(PageFonts::pickFamily({"Liberation Sans", "DejaVu Sans", "Verdana"}), "Verdana");
    EXPECT_EQ(PageFonts::pickFamily({"Liberation Sans", "Noto Mono"}), "Liberation Sans");
    EXPECT_EQ(PageFonts::pickFamily({"Noto Mono"}), QString());
}

TEST(PageFonts, WinesTahomaBecomesTheDefault)
{
    if (!QFileInfo::exists(QDir(PageFonts::wineFontFolder()).filePath("tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine is not installed";
    ASSERT_TRUE(PageFonts::addTahomaFrom());
    EXPECT_EQ(PageFonts::defaultFamily(), "Tahoma");
    EXPECT_TRUE(QFontDatabase::writingSystems("Tahoma").contains(QFontDatabase::Cyrillic));
}

TEST(PageFonts, APageWithoutAFontIsShownAndSavedInTheDefaultFamilyWhichIsInstalled)
{
    const QString family = PageFonts::defaultFamily();
    EXPECT_TRUE(!family.isEmpty() && QFontDatabase::hasFamily(family)) << family.toStdString();
    RichTextEdit edit;
    edit.setTextRTF(QStringLiteral("{\\rtf1\\ansi Ivanov\\par}"));
    EXPECT_EQ(edit.SelFontName(), family);
    EXPECT_TRUE(edit.TextRTF().contains("{\\fonttbl{\\f0\\fnil\\fcharset204 " + family + ";}}"))
        << edit.TextRTF().toStdString();
}

} // namespace
