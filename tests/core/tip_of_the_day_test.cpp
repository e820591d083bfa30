#include "core/code_page.h"
#include "core/event_log.h"
#include "core/localization.h"
#include "core/tip_of_the_day.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString failure = QStringLiteral("Не удается отобразить совет.");

class TipOfTheDayTest : public ::testing::Test
{
protected:
    void writeTips(const QByteArray& bytes)
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("velkar.tip");
    EventLog m_log;
    Localization m_localization{m_dir.path(), m_log};
    double m_draw = 0.0;
    TipOfTheDay m_tips{m_localization, [this] { return m_draw; }};
};

TEST_F(TipOfTheDayTest, BlankFileGivesTheFailureText)
{
    writeTips("\r\n   \r\n\t\r\n");
    EXPECT_EQ(m_tips.ShowTip(m_path), failure);
    EXPECT_TRUE(m_tips.isLoaded());
}

TEST_F(TipOfTheDayTest, SingleTipIsAlwaysShownWithItsLeadingSpaces)
{
    writeTips("\r\n" + CodePage::encodeLossy(u"  Ctrl+S сохраняет книгу.") + "\r\n\r\n");
    for (const double draw : {0.0, 0.5, 0.999999}) {
        m_draw = draw;
        EXPECT_EQ(m_tips.ShowTip(m_path), QString("  Ctrl+S сохраняет книгу."));
    }
}

TEST_F(TipOfTheDayTest, DrawSpreadsOverAllTipsAndTheFileIsReadOnce)
{
    writeTips("one\r\ntwo\nthree\rfour");
    m_draw = 0.0;
    EXPECT_EQ(m_tips.ShowTip(m_path), QString("one"));
    m_draw = 0.99;
    EXPECT_EQ(m_tips.ShowTip(m_path), QString("four"));
    QFile::remove(m_path);
    m_draw = 0.3;
    EXPECT_EQ(m_tips.ShowTip(m_path), QString("two"));
}

TEST_F(TipOfTheDayTest, MissingFileFailsAndIsTriedAgainLater)
{
    EXPECT_EQ(m_tips.ShowTip(m_path), failure);
    EXPECT_FALSE(m_tips.isLoaded());
    writeTips("now here\r\n");
    EXPECT_EQ(m_tips.ShowTip(m_path), QString("now here"));
}

TEST_F(TipOfTheDayTest, FailureTextComesFromTheLocalization)
{
    QFile ini(m_dir.filePath("language.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Common]\r\nTipFailure=No tip today.\r\n");
    ini.close();
    EXPECT_EQ(m_tips.ShowTip(m_path), QString("No tip today."));
}

} // namespace

namespace {

TEST(ShippedTips, AreManyShortWindows1251LinesWithCrLf)
{
    QFile file(QStringLiteral(VELKARO_TEST_DATA "/../../resources/velkar.tip"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    const QStringList lines = CodePage::decode(bytes).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 25);
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 120) << line.toStdString();
        EXPECT_TRUE(line.contains(QRegularExpression("[А-Яа-я]"))) << line.toStdString();
    }
}

} // namespace
