#include "core/app_info.h"
#include "core/code_page.h"
#include "core/event_log.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EventLogTest : public ::testing::Test
{
protected:
    QString contents() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? CodePage::decode(file.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("velkaro.log");
    EventLog m_log;
};

TEST_F(EventLogTest, SwitchedOffWritesNothing)
{
    m_log.WriteLog("before open", EventLog::Error);
    m_log.OpenLog(m_path, 2);
    m_log.setSwitch(false);
    m_log.WriteLog("after switch-off", EventLog::Error);
    EXPECT_FALSE(QFile::exists(m_path));
}

TEST_F(EventLogTest, EntriesAppendWithBlankLineHeaderAndIndentedMessage)
{
    m_log.OpenLog(m_path, 2);
    m_log.WriteLog("Первая запись", EventLog::Information);
    m_log.WriteLog("second", EventLog::Warning);
    const QString text = contents();
    const QString header = QString(" from Velkaro Pro v%1 on [^\\r\\n]+:\\r\\n")
                               .arg(QRegularExpression::escape(AppInfo::versionText()));
    const QRegularExpression layout("^\\r\\n\\r\\nINFORMATION" + header +
                                    "    Первая запись\\r\\n\\r\\n\\r\\nWARNING" + header +
                                    "    second\\r\\n$");
    EXPECT_TRUE(layout.match(text).hasMatch()) << text.toStdString();
}

TEST_F(EventLogTest, UnknownLevelWritesNoLevelWord)
{
    EXPECT_TRUE(EventLog::formatEntry("m", 3, "now").startsWith("\r\n\r\n from Velkaro Pro v"));
    EXPECT_TRUE(
        EventLog::formatEntry("m", EventLog::Error, "now").startsWith("\r\n\r\nERROR from"));
}

TEST_F(EventLogTest, FileIsWindows1251AndWriteFailuresAreSwallowed)
{
    m_log.OpenLog(m_path, 2);
    m_log.WriteLog("Ж", EventLog::Error);
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("    \xC6\r\n"));

    QFile blocker(m_dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    m_log.OpenLog(m_dir.filePath("plain/velkaro.log"), 2);
    m_log.WriteLog("lost", EventLog::Error);
    EXPECT_TRUE(m_log.isOn());
}

TEST(EventLogSwitch, KeptOnOnlyWhenAskedFor)
{
    EXPECT_TRUE(EventLog::keepOnRequested({"velkaro", "--log"}));
    EXPECT_FALSE(EventLog::keepOnRequested({"velkaro", "--logs"}));
}

} // namespace
