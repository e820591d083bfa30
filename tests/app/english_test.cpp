// The English edition chosen in the options, with the real program: a new
// book's letter pages and their Alt keys, the help and the tips, Qt's own
// buttons, mnemonics and every caption any window looks up. Which alphabet an
// existing book keeps is LetterPages' (tests/document).

#include "app_fixture.h"
#include "core/code_page.h"
#include "core/ini_file.h"
#include "core/option_table.h"
#include "dialogs/about_dialog.h"
#include "dialogs/password_dialog.h"
#include "dialogs/replace_dialog.h"
#include "dialogs/style_mask_dialog.h"
#include "document/history_backup.h"
#include "ui/form_localizer.h"
#include "ui/qt_translations.h"

namespace {

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

class English : public WindowTest
{
protected:
    // The program folder as built, its help named after this test program.
    English()
    {
        const QString built = QFileInfo(QStringLiteral(VELKARO_PROGRAM)).path() + u'/';
        const QString hlp = Folders::exeBaseNameOf(QCoreApplication::applicationFilePath()) + ".hlp";
        for (const QString folder : {"", "translations/en/"}) {
            QDir(f.dir.path()).mkpath(folder);
            for (const QString name : {"velkar.tip", "velkaro-help.rtf", "language.ini"})
                QFile::copy(built + folder + name, f.dir.filePath(folder + name));
            QFile::copy(built + folder + "velkaro.hlp", f.dir.filePath(folder + hlp));
        }
    }
    void start(const QString& language)
    {
        f.write(OptionTable::languageSection.toString(), OptionTable::languageKey.toString(),
                language);
        WindowTest::start();
    }
    void localize(QWidget* form, const QString& mode = {},
                  FormLocalizer::Tags tags = FormLocalizer::Tags::Localize) const
    {
        FormLocalizer::localize(form, app->localization(), mode, tags);
    }
    static QComboBox* topics(QWidget* help) { return help->findChild<QComboBox*>("cboContents"); }
};

} // namespace

// Every menu of the notebook and of the options dialog, whichever items a
// popup shows at a time, and Qt's own buttons, in Russian and then in
// English; the same help topics in both, and each options page's Help opens
// the topic that names the page. A first start in English has English letter
// pages with their Alt keys, tip and help.
TEST_F(English, TheLanguageReachesMenusQtsButtonsTheHelpTheTipAndTheLetterPages)
{
    f.write(QStringLiteral("Общие"), QStringLiteral("TipsDuration"), QStringLiteral("10"));
    const bool russianQt =
        QFileInfo::exists(QDir(QtTranslations::systemFolder()).filePath("qtbase_ru.qm"));
    std::vector<int> counts;
    for (const bool english : {false, true}) {
        SCOPED_TRACE(english);
        // A first start each time.
        QFile::remove(f.dataFile());
        f.store()->remove(OptionTable::lastBookSection.toString(),
                          OptionTable::lastBookKey.toString());
        start(english ? "en" : "ru");
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        if (english || russianQt) { // without a translation Qt speaks Russian
            EXPECT_EQ(box.button(QMessageBox::Yes)->text(), english ? u"&Yes"_qs : u"&Да"_qs);
        }
        EXPECT_TRUE(!english ||
                    QCoreApplication::translate("QPlatformTheme", "Cancel") == "Cancel");
        QStringList clashes = mnemonicClashes(window()->findChildren<QMenu*>());
        withItem("mnuMainOptons", [&clashes](QDialog* options) {
            clashes << mnemonicClashes(options->findChildren<QMenu*>());
            auto* pages = options->findChild<QListWidget*>("lstPages");
            for (int row = 0; row < pages->count(); ++row) {
                pages->setCurrentRow(row);
                QTimer::singleShot(0, [pages] {
                    QWidget* help = QApplication::activeModalWidget();
                    EXPECT_TRUE(topics(help)->currentText().contains(
                        pages->currentItem()->text().trimmed()))
                        << topics(help)->currentText();
                    help->close();
                });
                clickChild(options, "cmdHelp");
            }
        });
        EXPECT_EQ(clashes, QStringList());
        const QList<QAction*> colors = window()->findChild<QMenu*>("mnuTextColor")->actions();
        ASSERT_FALSE(colors.isEmpty());
        EXPECT_EQ(colors.first()->text(), english ? u"&Automatic"_qs : u"&Авто"_qs);
        key(Qt::Key_F1);
        counts.push_back(topics(app->helpWindow())->count());
        if (english) {
            EXPECT_EQ(topics(app->helpWindow())->itemText(0), "The notebook and its tabs");
            EXPECT_EQ(titles().join(' '), "AB CD EF GH IJ KL MN OP QR ST UV WX YZ");
            const auto* tip = window()->findChild<QLabel*>("lblTip");
            const QString shown = tip->toolTip().isEmpty() ? tip->text() : tip->toolTip();
            EXPECT_TRUE(
                readAll(f.dir.filePath("translations/en/velkar.tip")).contains(shown.toLatin1()))
                << shown;
            book().insertPage("Work", 13);
            app->rebuildTabs();
            QList<int> opened;
            for (const int k : {Qt::Key_B, Qt::Key_N, Qt::Key_Z, Qt::Key_1}) {
                key(k, Qt::AltModifier);
                opened << book().recentPage();
            }
            EXPECT_EQ(opened, (QList<int>{1, 7, 13, 14}));
        }
        app.reset();
    }
    EXPECT_EQ(counts[0], counts[1]);
}

// Offered: Russian, the shipped English and the user's own file; OK stores
// the choice for the next start.
TEST_F(English, TheOptionsChooseTheLanguageOfTheNextStart)
{
    writeAll(Folders::userSettingsFolder() + "language.ini", "[Velkaro]\r\nLanguageName=Mine\r\n");
    start("en");
    type(u"Smith"_qs);
    QStringList offered;
    withItem("mnuMainOptons", [&offered](QDialog* options) {
        auto* languages = options->findChild<QComboBox*>("cboLanguage");
        for (int i = 0; i < languages->count(); ++i)
            offered << languages->itemText(i);
        offered << languages->currentText();
        languages->setCurrentIndex(0);
        clickChild(options, "cmdOK");
    });
    const QString own = QDir::toNativeSeparators(Folders::userSettingsFolder() + "language.ini");
    EXPECT_EQ(offered,
              QStringList({"Russian (Русский)", "English", "Mine (" + own + ")", "English"}));
    EXPECT_EQ(f.messages.texts().last(),
              u"Новый язык будет включен при следующем запуске программы. Страницы книги, в "
              u"которой уже есть записи, останутся прежними."_qs)
        << "in the language chosen";
    EXPECT_EQ(f.read(OptionTable::languageSection.toString(), OptionTable::languageKey.toString()),
              "ru");
}

// A book that holds nothing takes the letters of the language in use at
// the next start; one with an entry keeps its pages.
TEST_F(English, AnEmptyBookTakesTheLettersOfTheLanguageInUse)
{
    const QString russian = u"АБ ВГ ДЕ ЖЗ ИК ЛМ НО ПР СТ УФ ХЦ ЧШ ЩЭ ЮЯ"_qs;
    for (const auto& [text, expected] :
         {std::pair{QString(), u"AB CD EF GH IJ KL MN OP QR ST UV WX YZ"_qs},
          {u"Иванов"_qs, russian}}) {
        writeBook({}, text);
        start("en");
        EXPECT_EQ(titles().join(u' '), expected) << text;
        ASSERT_TRUE(window()->close());
        app.reset();
    }
}

// The very first start, nothing stored, in a locale whose language is shipped.
TEST_F(English, AFirstStartSpeaksTheLanguageOfTheLocale)
{
    QFile::remove(f.iniPath);
    const QLocale locale;
    QLocale::setDefault(QLocale(u"en_US"_qs));
    WindowTest::start();
    QLocale::setDefault(locale);
    EXPECT_EQ(titles().join(u' '), u"AB CD EF GH IJ KL MN OP QR ST UV WX YZ"_qs);
    EXPECT_EQ(f.read(OptionTable::languageSection.toString(), OptionTable::languageKey.toString()),
              "en");
}

// The backups list shows a copy's date as the locale does; a restored page's
// title carries it as the book keeps dates, read back alike under any locale.
TEST_F(English, DatesShownFollowTheLocaleAndDatesWrittenReadBack)
{
    writeBook({}, u"Smith\t555-0101"_qs);
    start("en");
    const QString backup = HistoryBackup::backupPath(app->folders().historyFolder,
                                                     app->folders().exeBaseName, {2026, 3, 1});
    QDir().mkpath(app->folders().historyFolder);
    QFile::copy(f.dataFile(), backup);
    const QDateTime made(QDate(2026, 3, 1), QTime(9, 30));
    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(made, QFileDevice::FileModificationTime));
    withItem("mnuMainBackups", [&](QDialog* dialog) {
        auto* copies = dialog->findChild<QTreeWidget*>("lstBackups");
        ASSERT_EQ(copies->topLevelItemCount(), 1);
        EXPECT_EQ(copies->topLevelItem(0)->text(0), QLocale().toString(made, QLocale::ShortFormat));
        copies->setCurrentItem(copies->topLevelItem(0));
        dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(0);
        dialog->findChild<QPushButton*>("cmdRestorePage")->click();
        dialog->reject();
    });
    EXPECT_TRUE(titles().contains(u"АБ (2026-03-01)"_qs)) << titles().join(u',').toStdString();
}

// A window's design captions are looked up by object name; a caption with no
// entry in the English file stays Russian. The log, kept on, names every
// lookup the file did not answer with a text of its own.
TEST_F(English, EveryCaptionTheWindowsLookUpIsInTheEnglishFile)
{
    f.write(OptionTable::languageSection.toString(), OptionTable::languageKey.toString(), "en");
    app = f.started(true);
    window()->show();
    app->runCommand(Command::Find, 0);
    withItem("mnuMainOptons", [](QDialog*) {});
    withItem("mnuMainBackups",
             [](QDialog* dialog) { EXPECT_EQ(dialog->windowTitle(), "Book Backups"); });
    const auto text = [this](TextId id) { return app->localizedText(id); };
    const auto localized = [this](QWidget* form) { localize(form); };
    {
        EventLog log;
        AboutDialog about(
            window(), text,
            [this](QWidget* form) { localize(form, {}, FormLocalizer::Tags::Keep); }, f.messages,
            log);
    }
    PasswordDialog login(
        PasswordDialog::Mode::Login, "secret", f.messages, text,
        [this](QWidget* form) { localize(form, u"Login"_qs, FormLocalizer::Tags::Keep); },
        window());
    PasswordDialog change(PasswordDialog::Mode::Change, "secret", f.messages, text, localized,
                          window());
    ReplaceDialog replace(f.dataFile(), f.dataFile(), text, localized);
    Style style;
    StyleMaskDialog unused(style, text, localized);

    const QString log = CodePage::decode(readAll(Folders::userSettingsFolder() + "app_tests.log"));
    const QString english = f.dir.filePath("translations/en/language.ini");
    ASSERT_TRUE(log.contains("localization file \"" + QDir::toNativeSeparators(english)))
        << "the English file was not read: " << log;
    static const QRegularExpression unanswered(
        QStringLiteral("No entry for \\[([^/]*)/([^\\]]*)\\]"));
    // Left out on purpose: captions that are no text but the program's
    // name, the open page's title or the data file's path.
    const QStringList notTexts{"frmMain/@", "frmMain/lblStatus", "frmAbout/lblTitle"};
    QStringList missing;
    // An English text that is the Russian one too ("OK", "bytes") is an
    // answer: only keys the file lacks are logged.
    for (const QRegularExpressionMatch& match : unanswered.globalMatch(log)) {
        if (!notTexts.contains(match.captured(1) + u'/' + match.captured(2)))
            missing << match.captured();
    }
    missing.removeDuplicates();
    EXPECT_EQ(missing, QStringList());
}
