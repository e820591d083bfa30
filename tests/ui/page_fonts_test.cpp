#include "ui/page_fonts.h"
#include "ui/rich_text_edit.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
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

// The darkness of every pixel summed: the weight the eye sees.
double ink(const QFont& font, qreal scale)
{
    QImage image(QSize(400, 40) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(5, 25), u"Иванов Пётр 555-12-12 ЮЯ"_qs);
    painter.end();
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    }
    return sum;
}

TEST(PageFonts, BoldIsVisiblyHeavierAtEveryScale)
{
    QFont regular(PageFonts::defaultFamily());
    regular.setPointSize(8);
    QFont bold = regular;
    bold.setBold(true);
    for (const qreal scale : {1.0, 2.0})
        EXPECT_GE(ink(bold, scale), 1.2 * ink(regular, scale)) << scale;
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
