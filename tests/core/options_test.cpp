#include "core/event_log.h"
#include "core/localization.h"
#include "core/option_table.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "unit_test.h"

#include <QLockFile>
#include <QSysInfo>

namespace {

class OptionsTest : public ::testing::Test
{
protected:
    std::unique_ptr<QSettings> openIni() const
    {
        return std::make_unique<QSettings>(m_dir.filePath("settings.ini"), QSettings::IniFormat);
    }
    Options loaded(const QLocale& locale = QLocale::c())
    {
        Options options;
        m_rejected = options.load(m_store, locale);
        return options;
    }

    QTemporaryDir m_dir;
    SettingsStore m_store{openIni()};
    std::vector<Options::Rejected> m_rejected;
};

TEST_F(OptionsTest, StoredTextConvertsInTheCOrTheUsersLocaleAndLastIntPageIsFrom1To32767)
{
    m_store.write("Общие", "ButtonWidth", "612,5");
    m_store.write("Общие", "Status", "false");
    m_store.write("Адресная книга", "UseRtf", "0");
    m_store.write("Правка", "MoveToEnd", "-1");
    m_store.write("Options", "TabStop", "2900.5");
    m_store.write("Options", "RecentPage", "2.5");
    const Options o = loaded(QLocale(QLocale::Russian, QLocale::Russia));
    // The page 2.5 is rounded half to even.
    EXPECT_EQ(std::tuple(o.buttonWidth, o.status, o.useRtf, o.moveToEnd, o.tabStop, o.recentPage),
              std::tuple(612.5f, false, false, true, 2900.5f, qint16(2)));
    EXPECT_TRUE(m_rejected.empty());
    // The last letter page is a whole number from 1 to 32767; otherwise a message and 14.
    EventLog log;
    QStringList read;
    for (const QByteArray value : {" 20 ", "32767", "0", "32768", "12.5", ""}) {
        EXPECT_TRUE(writeAll(m_dir.filePath("language.ini"), "[Velkaro]\nLastIntPage=" + value));
        Localization localization({m_dir.path()}, log);
        const Options::LastIntPage page = Options::readLastIntPage(localization);
        read << QString::number(page.value) + (page.rejected ? "!" : "");
    }
    EXPECT_EQ(read, QStringList({"20", "32767", "14!", "14!", "14!", "14!"}));
}

TEST_F(OptionsTest, BadValueIsNamedAndGivesTheDefaultWhichIsWrittenBack)
{
    EXPECT_EQ(loaded().buttonWidth, 600.0f);
    EXPECT_TRUE(m_rejected.empty()) << "an empty store is no fault";
    m_store.write("Правка", "PageColor", "black");
    m_store.write("Options", "TabStop", "");
    m_store.write("Адресная книга", "AutosaveDuration", "40000");
    m_store.write("Общие", "Status", "yes");
    const Options o = loaded();
    ASSERT_EQ(m_rejected.size(), 4u);
    EXPECT_EQ(m_rejected[0].id, OptionId::Status);
    EXPECT_EQ(m_rejected[0].value, "yes");
    EXPECT_EQ(std::tuple(o.pageColor, o.tabStop, o.autosaveDuration, o.status),
              std::tuple(qint32(0x80000005u), 3400.0f, qint16(5), true));

    o.save(m_store, QString());
    const auto read = [this](const char* section, const char* key) {
        return m_store.read(section, key, {});
    };
    EXPECT_EQ(QStringList({read("Правка", "PageColor"), read("Options", "TabStop"),
                           read("Адресная книга", "AutosaveDuration"), read("Общие", "Status")}),
              QStringList({"-2147483643", "3400", "5", "True"}));
}

TEST_F(OptionsTest, SavedValuesAndPasswordSurviveAReopenedStore)
{
    Options o;
    o.buttonWidth = 512.25f;
    o.enableSort = true;
    o.recentPage = -3;
    o.filePath = "C:\\Книги";
    o.save(m_store, "enciphered");
    m_store.write("Options", "FileLocation", "old");
    m_store.remove("Options", "FileLocation");
    EXPECT_EQ(m_store.read("Общие", "ButtonWidth", {}), "512.25");
    m_store.sync();

    SettingsStore reopened(openIni());
    Options again;
    EXPECT_TRUE(again.load(reopened, QLocale::c()).empty());
    EXPECT_EQ(std::tuple(again.buttonWidth, again.enableSort, again.recentPage, again.filePath),
              std::tuple(512.25f, true, qint16(-3), QString("C:\\Книги")));
    EXPECT_EQ(reopened.read("Privacy", "Password", {}), "enciphered");
    EXPECT_EQ(reopened.read("Options", "FileLocation", "gone"), "gone");
    // Storing what is stored already rewrites nothing.
    const QDateTime stamp(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    QFile file(m_dir.filePath("settings.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    again.save(reopened, "enciphered");
    reopened.sync();
    EXPECT_EQ(QFileInfo(file).lastModified(), stamp);
}

// A lock left by a program killed while writing goes at the next start; one
// whose program runs, this one included, stays.
TEST_F(OptionsTest, AStaleLockOfTheStoreGoesAndALiveOneStays)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the settings live in the registry, which takes no lock file";
#endif
    const QString lockPath = m_dir.filePath("settings.ini.lock");
    const QByteArray left[] = {"999999999\nvelkaro\n" + QSysInfo::machineHostName().toUtf8() + "\n",
                               ""};
    for (const QByteArray& bytes : left) {
        writeAll(lockPath, bytes);
        m_store.removeStaleLock();
        EXPECT_FALSE(QFileInfo::exists(lockPath)) << bytes.toStdString();
    }
    QLockFile held(lockPath);
    ASSERT_TRUE(held.lock());
    m_store.removeStaleLock();
    EXPECT_TRUE(QFileInfo::exists(lockPath));
}

} // namespace
