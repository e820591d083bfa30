#include "core/event_log.h"
#include "core/localization.h"
#include "core/option_table.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "recording_message_service.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString initError = QStringLiteral("Type mismatch (13)\r\nin Velkaro.Subs.Init ");

class OptionsTest : public ::testing::Test
{
protected:
    std::unique_ptr<QSettings> openIni() const
    {
        return std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("settings.ini")),
                                           QSettings::IniFormat);
    }
    Options loaded(const QLocale& locale = QLocale::c())
    {
        Options options;
        options.load(m_store, m_messages, locale);
        return options;
    }

    QTemporaryDir m_dir;
    SettingsStore m_store{openIni()};
    RecordingMessageService m_messages;
};

TEST_F(OptionsTest, EmptyStoreGivesEveryDefaultWithoutMessages)
{
    const Options options = loaded();
    EXPECT_FLOAT_EQ(options.ButtonWidth, 600);
    EXPECT_TRUE(options.Status);
    EXPECT_TRUE(options.UseRtf);
    EXPECT_EQ(options.TipsDuration, 10);
    EXPECT_EQ(options.AutosaveDuration, 5);
    EXPECT_EQ(options.RecentPage, 1);
    EXPECT_FALSE(options.EnableSort);
    EXPECT_FALSE(options.MoveToEnd);
    EXPECT_EQ(options.PageColor, qint32(0x80000005u));
    EXPECT_FLOAT_EQ(options.TabStop, 3400);
    EXPECT_TRUE(options.FilePath.isEmpty());
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(OptionsTest, StoredValuesConvertInEitherLocale)
{
    m_store.Write("Общие", "ButtonWidth", "612,5");
    m_store.Write("Общие", "Status", "false");
    m_store.Write("Адресная книга", "UseRtf", "0");
    m_store.Write("Общие", "TipsDuration", "0");
    m_store.Write("Правка", "MoveToEnd", "-1");
    m_store.Write("Правка", "PageColor", "16777215");
    m_store.Write("Options", "TabStop", "2900.5");
    m_store.Write("Адресная книга", "FilePath", "/data/book");
    const Options options = loaded(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_FLOAT_EQ(options.ButtonWidth, 612.5f);
    EXPECT_FALSE(options.Status);
    EXPECT_FALSE(options.UseRtf);
    EXPECT_EQ(options.TipsDuration, 0);
    EXPECT_TRUE(options.MoveToEnd);
    EXPECT_EQ(options.PageColor, 16777215);
    EXPECT_FLOAT_EQ(options.TabStop, 2900.5f);
    EXPECT_EQ(options.FilePath, QString("/data/book"));
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(OptionsTest, BadValueGivesOneMessageAndTheDefaultWhichIsWrittenBack)
{
    m_store.Write("Правка", "PageColor", "black");
    m_store.Write("Options", "TabStop", "");
    m_store.Write("Адресная книга", "AutosaveDuration", "40000");
    m_store.Write("Общие", "Status", "yes");
    const Options options = loaded();
    EXPECT_EQ(m_messages.texts(), QStringList(4, initError));
    EXPECT_EQ(options.PageColor, qint32(0x80000005u));
    EXPECT_FLOAT_EQ(options.TabStop, 3400);
    EXPECT_EQ(options.AutosaveDuration, 5);
    EXPECT_TRUE(options.Status);

    options.save(m_store, QString());
    EXPECT_EQ(m_store.Read("Правка", "PageColor", {}), QString("-2147483643"));
    EXPECT_EQ(m_store.Read("Options", "TabStop", {}), QString("3400"));
    EXPECT_EQ(m_store.Read("Адресная книга", "AutosaveDuration", {}), QString("5"));
    EXPECT_EQ(m_store.Read("Общие", "Status", {}), QString("True"));
}

TEST_F(OptionsTest, SaveWritesCLocaleTextAndTheEncipheredPasswordThatLoadReadsBack)
{
    Options options;
    options.ButtonWidth = 512.25f;
    options.EnableSort = true;
    options.RecentPage = -3;
    options.FilePath = "C:\\Книги";
    options.save(m_store, "enciphered");
    EXPECT_EQ(m_store.Read("Общие", "ButtonWidth", {}), QString("512.25"));
    EXPECT_EQ(m_store.Read("Общие", "EnableSort", {}), QString("True"));
    EXPECT_EQ(m_store.Read("Privacy", "Password", {}), QString("enciphered"));

    m_store.sync();
    SettingsStore reopened(openIni());
    Options again;
    again.load(reopened, m_messages, QLocale::c());
    EXPECT_FLOAT_EQ(again.ButtonWidth, 512.25f);
    EXPECT_TRUE(again.EnableSort);
    EXPECT_EQ(again.RecentPage, -3);
    EXPECT_EQ(again.FilePath, QString("C:\\Книги"));
}

TEST_F(OptionsTest, ShutdownWritesTheKeysInItsOwnOrder)
{
    QStringList written;
    for (const OptionId id : OptionTable::writeOrder)
        written << OptionTable::key(id).key.toString();
    EXPECT_EQ(written, QStringList({"ButtonWidth", "Status", "Password", "UseRtf", "FilePath",
                                    "TipsDuration", "AutosaveDuration", "EnableSort", "RecentPage",
                                    "TabStop", "MoveToEnd", "PageColor"}));
}

TEST_F(OptionsTest, StoreKeepsCyrillicSectionsAndDeletes)
{
    m_store.Write("Адресная книга", "Ключ", "значение");
    m_store.Write("Options", "FileLocation", "secret");
    m_store.Delete("Options", "FileLocation");
    m_store.sync();
    SettingsStore reopened(openIni());
    EXPECT_EQ(reopened.Read("Адресная книга", "Ключ", {}), QString("значение"));
    EXPECT_EQ(reopened.Read("Options", "FileLocation", "gone"), QString("gone"));
}

class LastIntPageTest : public OptionsTest
{
protected:
    qint16 readWith(const QByteArray& ini)
    {
        QFile file(m_dir.filePath("language.ini"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        Localization localization(m_dir.path(), m_log);
        return Options::readLastIntPage(localization, m_messages);
    }
    EventLog m_log;
};

TEST_F(LastIntPageTest, WholeNumbersFromOneTo32767AreTaken)
{
    EXPECT_EQ(readWith("[Velkaro]\nLastIntPage= 20 \n"), 20);
    EXPECT_EQ(readWith("[Velkaro]\nLastIntPage=32767\n"), 32767);
    EXPECT_EQ(readWith("[Other]\n"), 14);
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(LastIntPageTest, AnythingElseFallsBackTo14WithTheMessage)
{
    for (const QByteArray value : {"0", "-3", "32768", "12.5", "abc", ""})
        EXPECT_EQ(readWith("[Velkaro]\nLastIntPage=" + value + "\n"), 14) << value.data();
    EXPECT_EQ(m_messages.texts(), QStringList(6, initError));
}

} // namespace
