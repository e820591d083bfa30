#include "core/code_page.h"
#include "core/event_log.h"
#include "core/localization.h"
#include "core/tip_of_the_day.h"
#include "unit_test.h"

namespace {

const QString failure = QStringLiteral("Не удается отобразить совет.");

class TipOfTheDayTest : public ::testing::Test
{
protected:
    void write(const QString& name, const QByteArray& bytes)
    {
        ASSERT_TRUE(writeAll(m_dir.filePath(name), bytes));
    }
    QString show(double draw)
    {
        m_draw = draw;
        return m_tips.showTip(m_dir.filePath("velkar.tip"));
    }

    QTemporaryDir m_dir;
    EventLog m_log;
    Localization m_localization{{m_dir.path()}, m_log};
    double m_draw = 0.0;
    TipOfTheDay m_tips{m_localization, [this] { return m_draw; }};
};

TEST_F(TipOfTheDayTest, BlankFileFailsASingleTipIsShownWithItsSpacesAndTheShippedTipsAreRussian)
{
    write("velkar.tip", "\r\n   \r\n\t\r\n");
    EXPECT_EQ(show(0.0), failure);
    TipOfTheDay single{m_localization, [] { return 0.999999; }};
    write("velkar.tip", "\r\n" + CodePage::encodeLossy(u"  Ctrl+S сохраняет книгу.") + "\r\n");
    EXPECT_EQ(single.showTip(m_dir.filePath("velkar.tip")), "  Ctrl+S сохраняет книгу.");
    // The shipped tips are many short Russian Windows-1251 lines with CR LF.
    const QByteArray bytes =
        readAll(QStringLiteral(VELKARO_TEST_DATA "/../../resources/velkar.tip"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    const QStringList lines = CodePage::decode(bytes).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 25);
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 120) << line.toStdString();
        EXPECT_TRUE(line.contains(QRegularExpression("[А-Яа-я]"))) << line.toStdString();
    }
}

// The draw spreads over all tips and the file is read once; a missing file
// fails with the localized text and is tried again.
TEST_F(TipOfTheDayTest, DrawSpreadsOverAllTipsTheFileIsReadOnceAndAMissingOneTriedAgain)
{
    write("language.ini", "[Common]\r\nTipFailure=No tip today.\r\n");
    EXPECT_EQ(show(0.0), "No tip today.");
    write("velkar.tip", "one\r\ntwo\nthree\rfour");
    EXPECT_EQ(show(0.0), "one");
    EXPECT_EQ(show(0.99), "four");
    QFile::remove(m_dir.filePath("velkar.tip"));
    EXPECT_EQ(show(0.3), "two");
}

} // namespace
