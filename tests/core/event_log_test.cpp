#include "core/app_info.h"
#include "core/code_page.h"
#include "core/event_log.h"
#include "unit_test.h"

namespace {

class EventLogTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("velkaro.log");
    EventLog m_log;
};

TEST_F(EventLogTest, SwitchedOffWritesNothingUnlessTheLogSwitchKeepsItOn)
{
    EXPECT_TRUE(EventLog::keepOnRequested({"velkaro", "--log"}));
    EXPECT_FALSE(EventLog::keepOnRequested({"velkaro", "--logs"}));
    m_log.writeLog("before open", EventLog::Error);
    m_log.openLog(m_path, 2);
    m_log.setSwitch(false);
    m_log.writeLog("after switch-off", EventLog::Error);
    EXPECT_FALSE(QFile::exists(m_path));
}

// Each entry: a blank line, a header, the message indented, in Windows-1251.
TEST_F(EventLogTest, EntriesAppendUnderAHeaderInWindows1251AndAFailedWriteIsSwallowed)
{
    m_log.openLog(m_path, 2);
    m_log.writeLog("Ж", EventLog::Information);
    m_log.writeLog("second", 3);
    const QString header = QString(" from Velkaro Pro v%1 on [^\\r\\n]+:\\r\\n")
                               .arg(QRegularExpression::escape(AppInfo::versionText()));
    const QRegularExpression layout("^\\r\\n\\r\\nINFORMATION" + header + "    Ж\\r\\n" +
                                    "\\r\\n\\r\\n" + header + "    second\\r\\n$");
    const QByteArray bytes = readAll(m_path);
    EXPECT_TRUE(layout.match(CodePage::decode(bytes)).hasMatch()) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("    \xC6\r\n"));
    // A write that fails is swallowed.
    QFile blocker(m_dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    m_log.openLog(m_dir.filePath("plain/velkaro.log"), 2);
    m_log.writeLog("lost", EventLog::Error);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("plain/velkaro.log")));
    // Never through a link someone planted in the log's place.
    ASSERT_TRUE(writeAll(m_dir.filePath("victim"), "theirs") &&
                QFile::remove(m_path) && QFile::link(m_dir.filePath("victim"), m_path));
    m_log.openLog(m_path, 2);
    m_log.writeLog("own", EventLog::Error);
    EXPECT_EQ(std::tuple(readAll(m_dir.filePath("victim")), QFileInfo(m_path).isSymLink(),
                         readAll(m_path).endsWith("    own\r\n")),
              std::tuple(QByteArray("theirs"), false, true));
}

} // namespace
