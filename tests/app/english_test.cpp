// The shipped English translation in the user's own folder, with the real
// program: mnemonics, Qt's own buttons, and every caption any window looks up.

#include "app_fixture.h"
#include "core/code_page.h"
#include "core/ini_file.h"
#include "dialogs/about_dialog.h"
#include "dialogs/password_dialog.h"
#include "dialogs/replace_dialog.h"
#include "dialogs/style_mask_dialog.h"
#include "ui/form_localizer.h"
#include "ui/qt_translations.h"

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

// The items of `menus` that repeat a mnemonic (the letter after "&") of their menu.
QStringList mnemonicClashes(const QList<QMenu*>& menus)
{
    QStringList clashes;
    for (const QMenu* menu : menus) {
        QString taken;
        for (const QAction* action : menu->actions()) {
            const QString caption = action->text();
            const qsizetype at = caption.indexOf(u'&');
            if (at < 0 || at + 1 >= caption.size())
                continue;
            const QChar letter = caption[at + 1].toLower();
            if (taken.contains(letter))
                clashes << menu->objectName() + u": "_qs + caption;
            taken += letter;
        }
    }
    return clashes;
}

class English : public ::testing::Test
{
protected:
    void switchToEnglish() const
    {
        ASSERT_TRUE(writeAll(Folders::userSettingsFolder() + QStringLiteral("language.ini"),
                             readAll(shippedEnglish())))
            << shippedEnglish();
    }
    void localize(QWidget* form, const QString& mode = {},
                  FormLocalizer::Tags tags = FormLocalizer::Tags::Keep) const
    {
        FormLocalizer::localize(form, app->localization(), mode, tags);
    }
    // Opens the modal window of the main popup's `item` and hands it to `act`
    // before it is closed.
    void withItem(const char* item, const std::function<void(QDialog*)>& act)
    {
        EXPECT_TRUE(withModal([&] { app->mainWindow()->menus()->item(item)->trigger(); }, act))
            << item;
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

// Every menu of the notebook and of the options dialog, whichever items a
// popup shows at a time, and Qt's own buttons, in Russian and then in English.
TEST_F(English, EveryMenuHasOneMnemonicPerItemAndQtsButtonsFollowTheLanguage)
{
    const bool russianQt =
        QFileInfo::exists(QDir(QtTranslations::systemFolder()).filePath("qtbase_ru.qm"));
    for (const bool english : {false, true}) {
        if (english)
            switchToEnglish();
        app = f.started();
        if (english || russianQt) {
            EXPECT_EQ(yesButtonText(), english ? u"&Yes"_qs : u"&Да"_qs)
                << "without a translation Qt speaks Russian";
        }
        if (english) {
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
        }
        QStringList clashes = mnemonicClashes(app->mainWindow()->findChildren<QMenu*>());
        withItem("mnuMainOptons", [&clashes](QDialog* options) {
            clashes << mnemonicClashes(options->findChildren<QMenu*>());
        });
        EXPECT_EQ(clashes, QStringList()) << english;
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
    app = f.started(true);
    app->mainWindow()->show();
    app->findCommand();
    withItem("mnuMainOptons", [](QDialog*) {});
    withItem("mnuMainBackups",
             [](QDialog* dialog) { EXPECT_EQ(dialog->windowTitle(), "Book Backups"); });
    const auto text = [this](TextId id) { return app->localizedText(id); };
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
    // Left out on purpose: captions that are no text but the program's
    // name, the open page's title or the data file's path.
    const QStringList notTexts{"frmMain/@", "frmMain/lblStatus", "frmAbout/lblTitle"};
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
    EXPECT_EQ(missing, QStringList());
}

} // namespace
