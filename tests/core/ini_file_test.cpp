#include "core/code_page.h"
#include "core/event_log.h"
#include "core/ini_file.h"
#include "core/localization.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString writeFile(const QByteArray& bytes)
    {
        QFile file(m_path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return m_path;
    }
    QString read(const QString& section, const QString& key, const QString& defaultValue = {})
    {
        return IniFile::readString(m_path, section, key, defaultValue);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("language.ini"));
};

TEST_F(IniFileTest, MatchesSectionsAndKeysWithoutRegardToCase)
{
    writeFile(CodePage::encodeLossy(u"[FrmMain]\r\nCmdOK=Готово\r\n[Цвета]\r\nКрасный=red\r\n"));
    EXPECT_EQ(read("frmmain", "CMDOK"), QString("Готово"));
    EXPECT_EQ(read("ЦВЕТА", "красный"), QString("red"));
}

TEST_F(IniFileTest, TrimsNamesAndValuesAndDropsEnclosingQuotes)
{
    writeFile("  [ Common ]  \n  Rename   =   two words   \nQuoted=\"  padded  \"\nHalf=\"open\n");
    EXPECT_EQ(read("Common", "Rename"), QString("two words"));
    EXPECT_EQ(read("Common", "Quoted"), QString("padded"));
    EXPECT_EQ(read("Common", "Half"), QString("\"open"));
}

TEST_F(IniFileTest, DefaultOnlyWhenTheKeySectionOrFileIsMissing)
{
    EXPECT_EQ(read("Common", "OK", "ОК"), QString("ОК"));
    writeFile("[Common]\r\nEmpty=\r\n;OK=commented out\r\nNoEquals\r\n[Other]\r\nOK=elsewhere\r\n");
    EXPECT_EQ(read("Common", "Empty", "fallback"), QString());
    EXPECT_EQ(read("Common", "OK", "ОК"), QString("ОК"));
    EXPECT_EQ(read("Common", "NoEquals", "d"), QString("d"));
    EXPECT_EQ(read("Missing", "OK", "d"), QString("d"));
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyOfANameWin)
{
    writeFile("[A]\nk=first\nK=second\n[B]\nx=1\n[a]\nk=third\nonly=later\n");
    EXPECT_EQ(read("A", "k"), QString("first"));
    EXPECT_EQ(read("A", "only", "none"), QString("none"));
}

TEST_F(IniFileTest, CutsValuesAndDefaultsAt1023Characters)
{
    const QByteArray longValue(2000, 'x');
    writeFile("[S]\nk=" + longValue + "\n");
    EXPECT_EQ(read("S", "k").size(), 1023);
    EXPECT_EQ(read("S", "missing", QString(1500, 'y')).size(), 1023);
}

TEST_F(IniFileTest, ReadsUtf8AfterAByteOrderMarkAndWindows1251Otherwise)
{
    writeFile("\xEF\xBB\xBF[S]\r\nk=" + QString("Ёлка").toUtf8() + "\r\n");
    EXPECT_EQ(read("S", "k"), QString("Ёлка"));
    writeFile("[S]\r\nk=" + CodePage::encodeLossy(u"Ёлка") + "\r\n");
    EXPECT_EQ(read("S", "k"), QString("Ёлка"));
}

TEST_F(IniFileTest, ReadsTheFileAfreshAtEveryLookup)
{
    writeFile("[S]\nk=before\n");
    EXPECT_EQ(read("S", "k"), QString("before"));
    writeFile("[S]\nk=after\n");
    EXPECT_EQ(read("S", "k"), QString("after"));
}

class LocalizationTest : public IniFileTest
{
protected:
    void SetUp() override { m_log.OpenLog(m_dir.filePath(QStringLiteral("test.log")), 2); }
    QString logText() const
    {
        QFile file(m_dir.filePath(QStringLiteral("test.log")));
        return file.open(QIODevice::ReadOnly) ? CodePage::decode(file.readAll()) : QString();
    }

    EventLog m_log;
    Localization m_localization{m_dir.path(), m_log};
};

TEST_F(LocalizationTest, WithoutAFileGivesDefaultsAndLogsOnce)
{
    EXPECT_EQ(m_localization.GetLocalizedText("frmFind", "EnterSomething", "a\\nb"),
              QString("a\r\nb"));
    EXPECT_EQ(m_localization.GetLocalizedText("x", "y", "plain"), QString("plain"));
    const QString log = logText();
    EXPECT_EQ(log.count("INFORMATION from "), 1);
    EXPECT_TRUE(log.contains("    No localization file found. Falling back to internal "
                             "resources (Russian).\r\n"));
}

TEST_F(LocalizationTest, FileFoundAtFirstCallIsReadAndMissingKeysAreLogged)
{
    writeFile("[frmMain]\r\nlblIns=Ins\\nmode\r\n");
    EXPECT_EQ(m_localization.GetLocalizedText("frmMain", "lblIns", "Вставка"),
              QString("Ins\r\nmode"));
    EXPECT_EQ(m_localization.GetLocalizedText("frmMain", "Overwrite", "Замена"), QString("Замена"));
    const QString log = logText();
    EXPECT_EQ(log.count("WARNING from "), 1);
    EXPECT_TRUE(log.contains(QString("    No entry for [frmMain/Overwrite] found in a valid "
                                     "localization file \"%1\".\r\n")
                                 .arg(QDir::toNativeSeparators(m_path))));
    EXPECT_FALSE(log.contains("INFORMATION"));
}

TEST_F(LocalizationTest, FileCreatedAfterTheFirstCallIsIgnored)
{
    m_localization.GetLocalizedText("a", "b", "c");
    writeFile("[a]\nb=translated\n");
    EXPECT_EQ(m_localization.GetLocalizedText("a", "b", "c"), QString("c"));
}

TEST(ExpandNewlines, ReplacesEachPairKeepingTheLength)
{
    const QString text = QStringLiteral("one\\ntwo\\n\\\\n\\");
    const QString expanded = Localization::ExpandNewlines(text);
    EXPECT_EQ(expanded, QString("one\r\ntwo\r\n\\\r\n\\"));
    EXPECT_EQ(expanded.size(), text.size());
}

TEST_F(LocalizationTest, ColorCaptionsFallBackOnEmptyValues)
{
    EXPECT_EQ(m_localization.ColorCaption(3), QString("&Бирюзовый"));
    EXPECT_EQ(m_localization.ColorCaption(-1), QString("&Авто"));
    EXPECT_EQ(m_localization.ColorCaption(15), QString("Бе&лый"));
    Localization withFile(m_dir.path(), m_log);
    writeFile("[Colors]\n3=\n-1=Auto\n");
    EXPECT_EQ(withFile.ColorCaption(3), QString("&Бирюзовый"));
    EXPECT_EQ(withFile.ColorCaption(-1), QString("Auto"));
}

} // namespace
