#include "styles/style.h"
#include "styles/style_target.h"
#include "unit_test.h"

namespace {

// Records each call; one made outside the style's edit is marked "!".
class RecordingTarget : public StyleTarget
{
public:
    QStringList calls;

    void setSelFontName(const QString& name) override { record(name); }
    void setSelFontSize(double points) override { record(QString::number(points)); }
    void setSelBold(bool on) override { record(on ? "B" : "b"); }
    void setSelItalic(bool on) override { record(on ? "I" : "i"); }
    void setSelUnderline(bool on) override { record(on ? "U" : "u"); }
    void setSelStrikeThru(bool on) override { record(on ? "S" : "s"); }
    void setSelColor(quint32 winColor) override { record(QString::number(winColor, 16)); }

protected:
    void beginApply() override { record("begin"); }
    void endApply() override { calls << (applyingStyle() ? "end!" : "end"); }

private:
    void record(const QString& call) { calls << (applyingStyle() ? call : call + "!"); }
};

Style styleFrom(const QString& line)
{
    Style style;
    EXPECT_TRUE(style.load(line)) << line.toStdString();
    return style;
}

} // namespace

TEST(Style, ApplyToSetsTheMaskedAttributesInMaskOrderAsOneEdit)
{
    Style style;
    style.font() = {"Arial", 10.5, true, false, true, false};
    style.setColor(0xFF);
    for (const auto& [mask, calls] : {std::pair{255, "begin Arial 10.5 B i U s ff end"},
                                      std::pair{0, "begin end"}, std::pair{64, "begin ff end"}}) {
        style.setUnused(qint16(mask));
        RecordingTarget target;
        style.applyTo(target);
        EXPECT_EQ(target.calls.join(' '), calls) << mask;
    }
}

TEST(Style, LinesReadBackWhatWasWrittenAndDamagedOnesChangeNothing)
{
    const QString example = "Title; Tahoma; 10; -1; 0; 0; 0; FF; 255";
    EXPECT_EQ(styleFrom(example).save(), example);
    // Words for flags, spaces around the name, a system colour.
    EXPECT_EQ(styleFrom("  Note  ;Arial;8;True;false;2;0;80000005;-1").save(),
              "Note; Arial; 8; -1; 0; -1; 0; 80000005; -1");
    Style style;
    style.setName("a; b ;c");
    EXPECT_EQ(styleFrom(style.save()).name(), "a; b ;c");
    EXPECT_EQ(styleFrom(example + "; extra").save(), example);
    // What the file cannot hold is not written.
    style.setName("two\nlines");
    for (const char* face : {"Semi;colon", "微软雅黑"}) {
        style.font().name = QString::fromUtf8(face);
        EXPECT_EQ(style.save(), "two lines; Tahoma; 8; 0; 0; 0; 0; 0; 255");
    }
    // A damaged line changes nothing.
    const Style kept = styleFrom("kept; Tahoma; 8; 0; 0; 0; 0; 0; 255");
    for (const char* line :
         {"", "T; Tahoma; 10; -1; 0; 0; 0; FF", "T; Tahoma; -10; -1; 0; 0; 0; FF; 255",
          "T; Tahoma; 10; yes; 0; 0; 0; FF; 255", "T; Tahoma; 10; -1; 0; 0; 0; 100000000; 255",
          "T; Tahoma; 10; -1; 0; 0; 0; FF; 40000"}) {
        Style read = kept;
        EXPECT_FALSE(read.load(QString::fromUtf8(line))) << line;
        EXPECT_EQ(read, kept) << line;
    }
}

TEST(Style, HalfPointSizesReadBackExactlyUnderEitherDecimalSign)
{
    const QLocale old;
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    for (const double size : {10.5, 11.5}) {
        Style style;
        style.font().size = size;
        for (const QLocale& writer : {german, american}) {
            QLocale::setDefault(writer);
            const QString line = style.save();
            const QString sign = writer == german ? "," : ".";
            EXPECT_EQ(line.split("; ")[2], QString::number(size).replace(".", sign));
            for (const QLocale& reader : {german, american}) {
                QLocale::setDefault(reader);
                EXPECT_EQ(styleFrom(line).font().size, size) << line.toStdString();
            }
        }
    }
    QLocale::setDefault(old);
}
