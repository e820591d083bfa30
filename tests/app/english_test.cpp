// The English translation the program ships, put where a user puts it (the
// "language.ini" of his own folder), with the real program: its captions, its
// menus' mnemonics, Qt's own buttons, and every caption any window looks up.

#include "app_fixture.h"
#include "core/code_page.h"
#include "core/ini_file.h"
#include "dialogs/about_dialog.h"
#include "dialogs/password_dialog.h"
#include "dialogs/replace_dialog.h"
#include "dialogs/style_mask_dialog.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "ui/form_localizer.h"
#include "ui/qt_translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The copy beside the built program, as an installed copy has it in its
// program folder.
QString shippedEnglish()
{
    return QFileInfo(QStringLiteral(VELKARO_PROGRAM)).path() +
           QStringLiteral("/translations/en/language.ini");
}

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

// The letter after "&", or none.
QChar mnemonic(const QString& caption)
{
    const qsizetype at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

class English : public ::testing::Test
{
protected:
    void switchToEnglish() const
    {
        ASSERT_TRUE(writeAll(Folders::userSettingsFolder() + QStringLiteral("language.ini"),
                             readAll(shippedEnglish())))
            << shippedEnglish().toStdString();
    }
    QString textLookup(TextId id) const { return app->localizedText(id); }
    void localize(QWidget* form, const QString& mode = {},
                  FormLocalizer::Tags tags = FormLocalizer::Tags::Keep) const
    {
        FormLocalizer::localize(form, app->localization(), mode, tags);
    }

    // Opens the modal window of the main popup's `item` and hands it to `act`
    // before it is closed.
    void withModal(const char* item, const std::function<void(QDialog*)>& act)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            act(dialog);
            dialog->reject();
        });
        app->mainWindow()->menus()->item(item)->trigger();
        EXPECT_TRUE(shown) << item;
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

TEST_F(English, QtsOwnButtonsFollowTheInterfaceLanguage)
{
    if (russianCatalogueInstalled()) {
        app = f.makeApp();
        ASSERT_TRUE(app->StartUp());
        EXPECT_EQ(yesButtonText(), u"&Да"_qs) << "without a translation Qt speaks Russian";
        app.reset();
    }
    switchToEnglish();
    app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    EXPECT_EQ(yesButtonText(), "&Yes");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

// The items of `menus` that repeat a mnemonic of their menu.
QStringList mnemonicClashes(const QList<QMenu*>& menus)
{
    QStringList clashes;
    for (const QMenu* menu : menus) {
        QString taken;
        for (const QAction* action : menu->actions()) {
            const QChar letter = mnemonic(action->text());
            if (letter.isNull())
                continue;
            if (taken.contains(letter))
                clashes << menu->objectName() + u": "_qs + action->text();
            taken += letter;
        }
    }
    return clashes;
}

// Every menu of the notebook and of the options dialog, whichever items a
// popup shows at a time, in Russian and then in English.
TEST_F(English, EveryMenuHasOneMnemonicPerItemInBothLanguages)
{
    for (const bool english : {false, true}) {
        if (english)
            switchToEnglish();
        app = f.makeApp();
        ASSERT_TRUE(app->StartUp());
        QStringList clashes = mnemonicClashes(app->mainWindow()->findChildren<QMenu*>());
        withModal("mnuMainOptons", [&clashes](QDialog* options) {
            clashes << mnemonicClashes(options->findChildren<QMenu*>());
        });
        EXPECT_TRUE(clashes.isEmpty()) << english << clashes.join(u'\n').toStdString();
        const QList<QAction*> colors =
            app->mainWindow()->findChild<QMenu*>("mnuTextColor")->actions();
        ASSERT_FALSE(colors.isEmpty());
        EXPECT_EQ(colors.first()->text(), english ? u"&Automatic"_qs : u"&Авто"_qs);
        app.reset();
    }
}

// A window's design captions are looked up by object name; a caption with no
// entry in the English file stays Russian. The log, kept on, names every
// lookup the file did not answer with a text of its own.
TEST_F(English, EveryCaptionTheWindowsLookUpIsInTheEnglishFile)
{
    switchToEnglish();
    app = std::make_unique<Application>(Application::Environment{f.dir.path() + u'/', true},
                                        f.store(), f.messages);
    ASSERT_TRUE(app->StartUp());
    app->mainWindow()->show();
    app->findCommand();
    withModal("mnuMainOptons", [](QDialog*) {});
    withModal("mnuMainBackups",
              [](QDialog* dialog) { EXPECT_EQ(dialog->windowTitle(), "Book Backups"); });
    const auto text = [this](TextId id) { return textLookup(id); };
    {
        EventLog log;
        AboutDialog about(
            app->mainWindow(), text, [this](QWidget* form) { localize(form); }, f.messages, log);
    }
    for (const auto& [mode, caption] : {std::pair{PasswordDialog::Mode::Login, u"Login"_qs},
                                        std::pair{PasswordDialog::Mode::Change, QString()}}) {
        PasswordDialog password(
            mode, "secret", f.messages, text,
            [this, caption](QWidget* form) {
                localize(form, caption,
                         caption.isEmpty() ? FormLocalizer::Tags::Localize
                                           : FormLocalizer::Tags::Keep);
            },
            app->mainWindow());
    }
    const QString book = f.dataFile();
    ReplaceDialog replace(book, book, text, [this](QWidget* form) {
        localize(form, {}, FormLocalizer::Tags::Localize);
    });
    Style style;
    StyleMaskDialog unused(
        style, text, [this](QWidget* form) { localize(form, {}, FormLocalizer::Tags::Localize); });

    const QString log = CodePage::decode(readAll(Folders::userSettingsFolder() + "app_tests.log"));
    ASSERT_TRUE(log.contains("localization file \"" + Folders::userSettingsFolder()))
        << "the English file was not read: " << log.toStdString();
    const QByteArray english = readAll(shippedEnglish());
    static const QRegularExpression unanswered(
        QStringLiteral("No entry for \\[([^/]*)/([^\\]]*)\\]"));
    // Left out on purpose: the book's shape (its built-in pages and their
    // keys), and captions that are no text but the program's name, the open
    // page's title or the data file's path.
    const QStringList notTexts{"Velkaro/LastIntPage", "Velkaro/Shortcuts", "frmMain/@",
                               "frmMain/lblStatus", "frmAbout/lblTitle"};
    QStringList missing;
    for (const QRegularExpressionMatch& match : unanswered.globalMatch(log)) {
        const QString section = match.captured(1);
        const QString key = match.captured(2);
        if (notTexts.contains(section + u'/' + key))
            continue;
        // An English text that is the Russian one too ("OK", "bytes") is there.
        if (!IniFile::findValue(english, section, key))
            missing << match.captured();
    }
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}

} // namespace
