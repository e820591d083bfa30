#include "core/code_page.h"
#include "core/event_log.h"
#include "core/ini_file.h"
#include "core/localization.h"
#include "unit_test.h"

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void writeFile(const QByteArray& bytes) { ASSERT_TRUE(writeAll(m_path, bytes)); }
    QString read(const QString& section, const QString& key, const QString& defaultValue = "-")
    {
        return IniFile::readString(m_path, section, key, defaultValue);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("language.ini");
};

TEST_F(IniFileTest, NamesMatchWithoutCaseValuesAreTrimmedAndTheDefaultOnlyFillsAGap)
{
    EXPECT_EQ(read("Common", "OK", "ОК"), "ОК") << "no file";
    writeFile(CodePage::encodeLossy(u"  [ FrmMain ]  \r\n  CmdOK   =  Готово  \r\n[Цвета]\r\n"
                                    u"Красный=\"  red \"\r\nHalf=\"open\r\n[Common]\nEmpty=\n"
                                    u";OK=comment\nNoEquals\n[A]\nk=first\nK=second\n[B]\n[a]\n"
                                    u"late=x\n[S]\nk="_qs +
                                    QString(2000, u'x') + u"\n"_qs));
    for (const DataCase& c : readCases("core/ini_lookups.cases")) {
        const QStringList name = c.text(0).split(u' ');
        EXPECT_EQ(read(name[0], name[1]), c.text(1)) << c.name;
    }
    // Values and defaults are cut at 1023 characters.
    EXPECT_EQ(read("S", "k"), QString(1023, u'x'));
    EXPECT_EQ(read("S", "missing", QString(1500, u'y')), QString(1023, u'y'));
    // UTF-8 after a byte-order mark, Windows-1251 otherwise, and read afresh.
    writeFile("\xEF\xBB\xBF[S]\r\nk=" + QString("Ёлка").toUtf8() + "\r\n");
    EXPECT_EQ(read("S", "k"), "Ёлка");
    writeFile("[S]\r\nk=" + CodePage::encodeLossy(u"Ёлка") + "\r\n");
    EXPECT_EQ(read("S", "k"), "Ёлка");
}

class LocalizationTest : public IniFileTest
{
protected:
    void SetUp() override { m_log.openLog(m_dir.filePath("test.log"), 2); }
    QString logText() const { return CodePage::decode(readAll(m_dir.filePath("test.log"))); }

    EventLog m_log;
    Localization m_localization{{m_dir.path()}, m_log};
};

TEST_F(LocalizationTest, WithoutAFileDefaultsAreExpandedColoursNamedAndOneLineIsLogged)
{
    EXPECT_EQ(m_localization.localizedEntry("frmFind", "EnterSomething", "a\\nb"), "a\r\nb");
    EXPECT_EQ(m_localization.localizedEntry("x", "y", "plain"), "plain");
    // Created too late: the first lookup settled that there is no file.
    writeFile("[x]\ny=translated\n");
    EXPECT_EQ(m_localization.localizedEntry("x", "y", "plain"), "plain");
    EXPECT_EQ(logText().count("INFORMATION from "), 1);
    EXPECT_TRUE(logText().contains("    No localization file found. Falling back to internal "
                                   "resources (Russian).\r\n"));
    // Each \n pair becomes a line break, the length kept.
    const QString text = QStringLiteral("one\\ntwo\\\\n\\");
    EXPECT_EQ(Localization::expandNewlines(text), "one\r\ntwo\\\r\n\\");
    EXPECT_EQ(Localization::expandNewlines(text).size(), text.size());
    // A colour caption falls back on the built-in one for an empty value.
    EXPECT_EQ(m_localization.colorCaption(3), "&Бирюзовый");
    Localization withFile({m_dir.path()}, m_log);
    writeFile("[Colors]\n3=\n-1=Auto\n");
    EXPECT_EQ(withFile.colorCaption(3), "&Бирюзовый");
    EXPECT_EQ(withFile.colorCaption(-1), "Auto");
}

TEST_F(LocalizationTest, FileIsReadAtEveryLookupMissingKeysAreLoggedAndTheUsersFileComesFirst)
{
    writeFile("[frmMain]\r\nlblIns=Ins\\nmode\r\n");
    EXPECT_EQ(m_localization.localizedEntry("frmMain", "lblIns", "Вставка"), "Ins\r\nmode");
    writeFile("[frmMain]\r\nlblIns=Edited\r\n");
    EXPECT_EQ(m_localization.localizedEntry("frmMain", "lblIns", "Вставка"), "Edited");
    EXPECT_EQ(m_localization.localizedEntry("frmMain", "Overwrite", "Замена"), "Замена");
    const QString log = logText();
    EXPECT_EQ(log.count("WARNING from "), 1);
    EXPECT_TRUE(log.contains(QString("    No entry for [frmMain/Overwrite] found in a valid "
                                     "localization file \"%1\".\r\n")
                                 .arg(QDir::toNativeSeparators(m_path))));
    // The user's own file comes before the program's, so switching language needs
    // no write to the program folder; the first lookup settles which one is read.
    const QString userFolder = m_dir.filePath("user");
    const QString userFile = userFolder + "/language.ini";
    writeFile("[frmMain]\r\nlblIns=Program\r\nOverwrite=Program too\r\n");

    Localization programOnly({userFolder, m_dir.path()}, m_log);
    EXPECT_EQ(programOnly.localizedEntry("frmMain", "lblIns", "Вставка"), "Program");

    ASSERT_TRUE(writeAll(userFile, "[frmMain]\r\nlblIns=User\r\n"));
    EXPECT_EQ(programOnly.localizedEntry("frmMain", "lblIns", "Вставка"), "Program")
        << "a file that appears later is seen at the next start";

    Localization both({userFolder, m_dir.path()}, m_log);
    EXPECT_EQ(both.localizedEntry("frmMain", "lblIns", "Вставка"), "User");
    // The user's file stands whole for the program's: no key is taken from both.
    EXPECT_EQ(both.localizedEntry("frmMain", "Overwrite", "Замена"), "Замена");
    EXPECT_TRUE(logText().contains(QString("[frmMain/Overwrite] found in a valid localization "
                                           "file \"%1\".")
                                       .arg(QDir::toNativeSeparators(userFile))));

    Localization missingFolders({m_dir.filePath("none"), m_dir.filePath("neither")}, m_log);
    EXPECT_EQ(missingFolders.localizedEntry("frmMain", "lblIns", "Вставка"), "Вставка");
}

} // namespace
