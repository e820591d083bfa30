// Which languages the options offer and which files each choice reads.

#include "core/language_catalog.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LanguageCatalogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const QString code : {"en", "de"}) {
            writeAll(path("program/translations/" + code + "/language.ini"),
                     "[Velkaro]\r\nLanguageName=" + code.toUpper().toUtf8() + "\r\n");
        }
        QDir().mkpath(path("program/translations/empty"));
        QDir().mkpath(path("user"));
    }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString folder(const QString& relative) const { return path(relative) + u'/'; }
    LanguageCatalog catalog() const { return {path("user"), path("program")}; }

    QTemporaryDir m_dir;
};

TEST_F(LanguageCatalogTest, OffersRussianTheShippedTranslationsAndTheUsersOwnFile)
{
    const LanguageCatalog::Language russian{"ru", {}, {}};
    const LanguageCatalog::Language de{"de", "DE",
                                       folder("program/translations/de") + "language.ini"};
    const LanguageCatalog::Language en{"en", "EN",
                                       folder("program/translations/en") + "language.ini"};
    EXPECT_EQ(catalog().languages(), (std::vector{russian, de, en}));

    writeAll(path("user/language.ini"), "[Velkaro]\r\nLanguageName=Mine\r\n");
    const QString own = folder("user") + "language.ini";
    EXPECT_EQ(catalog().languages().back(),
              (LanguageCatalog::Language{{}, "Mine (" + QDir::toNativeSeparators(own) + ")", own}));
}

// Before any choice the user's own file wins, as it always did.
TEST_F(LanguageCatalogTest, EachChoiceReadsItsFileAndAMissingOneReadsAsNoChoice)
{
    const QStringList automatic{folder("user"), folder("program")};
    struct Case
    {
        QString choice;
        bool ownFile;
        QStringList folders;
        QString inUse;
    };
    const std::vector<Case> cases{
        {"", false, automatic, "ru"},
        {"", true, automatic, ""},
        {"ru", true, {}, "ru"},
        {"en", true, {folder("program/translations/en")}, "en"},
        {"empty", false, automatic, "ru"},
        {"gone", true, automatic, ""},
    };
    for (const Case& c : cases) {
        if (c.ownFile)
            writeAll(path("user/language.ini"), "[Common]\r\n");
        else
            QFile::remove(path("user/language.ini"));
        EXPECT_EQ(catalog().folders(c.choice), c.folders) << c.choice.toStdString();
        EXPECT_EQ(catalog().choiceInUse(c.choice), c.inUse) << c.choice.toStdString();
    }
}

// A copy of the English file in the user's folder still finds the English
// help; Russian, or a language without help of its own, has the program's.
TEST_F(LanguageCatalogTest, FindsTheHelpAndTipsOfTheLanguageInUse)
{
    writeAll(path("program/translations/en/velkar.tip"), "Tip\r\n");
    writeAll(path("user/velkaro.hlp"), "\"help.rtf\"\r\n");
    const QString own = folder("user") + "language.ini";
    const QString english = folder("program/translations/en") + "language.ini";
    const std::vector<std::tuple<QString, QString, QString, QString>> cases{
        {{}, "ru", "velkar.tip", folder("program") + "velkar.tip"},
        {english, "en", "velkar.tip", folder("program/translations/en") + "velkar.tip"},
        {own, "en", "velkar.tip", folder("program/translations/en") + "velkar.tip"},
        {own, "en", "velkaro.hlp", own.chopped(12) + "velkaro.hlp"},
        {own, "de", "velkar.tip", folder("program") + "velkar.tip"},
        {own, "../en", "velkar.tip", folder("program") + "velkar.tip"},
    };
    for (const auto& [file, code, name, expected] : cases)
        EXPECT_EQ(catalog().resourceFile(file, code, name), expected) << code.toStdString();
}

} // namespace
