#include "ui/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString yesButtonText()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

bool russianCatalogueInstalled()
{
    return QFileInfo::exists(QDir(QtTranslations::systemFolder()).filePath("qtbase_ru.qm"));
}

TEST(QtTranslations, StandardButtonsSpeakRussianWhileInstalled)
{
    if (!russianCatalogueInstalled())
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    {
        QtTranslations translations(*QCoreApplication::instance());
        ASSERT_TRUE(translations.install());
        EXPECT_EQ(yesButtonText(), QStringLiteral("&Да"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Нет"));
    }
    // Gone with the object, so it cannot outlive the application it was installed in.
    EXPECT_EQ(yesButtonText(), QStringLiteral("&Yes"));
}

// English is Qt's own, so it needs no catalogue; a folder without catalogues
// and a name no locale has change nothing.
TEST(QtTranslations, EnglishNeedsNoCatalogueAndWhatCannotBeFoundLeavesQtInEnglish)
{
    QTemporaryDir empty;
    QtTranslations translations(*QCoreApplication::instance());
    EXPECT_TRUE(translations.installLanguage(QStringLiteral("en")));
    EXPECT_FALSE(translations.install(QLocale(QLocale::Russian), empty.path()));
    EXPECT_FALSE(translations.installLanguage(QStringLiteral("not a language")));
    EXPECT_EQ(yesButtonText(), QStringLiteral("&Yes"));
}

} // namespace
