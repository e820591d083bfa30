// English chosen in the options: a new book's letter pages and their Alt
// keys, the help and the tips in English. Which alphabet an existing book
// keeps is LetterPages' (tests/document).

#include "app_fixture.h"
#include "core/option_table.h"
#include "rules/command.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "window_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

const QStringList kEnglishTitles{"AB", "CD", "EF", "GH", "IJ", "KL", "MN",
                                 "OP", "QR", "ST", "UV", "WX", "YZ"};

class EnglishEdition : public ::testing::Test
{
protected:
    // The program folder as built, its help named after this test program.
    EnglishEdition()
    {
        const QString built = QFileInfo(QStringLiteral(VELKARO_PROGRAM)).path() + u'/';
        const QString hlp = Folders::exeBaseName(QCoreApplication::applicationFilePath()) + ".hlp";
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
        app = f.started();
        app->mainWindow()->resize(800, 600);
        app->mainWindow()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->mainWindow()));
    }
    // The modal window `item` opens, handed to `act`.
    void withModal(const char* item, const std::function<void(QWidget*)>& act)
    {
        QTimer::singleShot(0, [act] { act(QApplication::activeModalWidget()); });
        app->mainWindow()->menus()->item(item)->trigger();
    }
    QComboBox* topics(QWidget* help) { return help->findChild<QComboBox*>("cboContents"); }

    AppFixture f;
    std::unique_ptr<Application> app;
};

TEST_F(EnglishEdition, AFirstStartHasEnglishLetterPagesKeysTipAndHelp)
{
    f.write(QStringLiteral("Общие"), QStringLiteral("TipsDuration"), QStringLiteral("10"));
    start("en");
    QStringList titles;
    for (const PageRecord& page : app->book().pages())
        titles << page.Title;
    EXPECT_EQ(titles, kEnglishTitles);
    const auto* tip = app->mainWindow()->findChild<QLabel*>("lblTip");
    EXPECT_TRUE(readAll(f.dir.filePath("translations/en/velkar.tip"))
                    .contains((tip->toolTip().isEmpty() ? tip->text() : tip->toolTip()).toLatin1()))
        << tip->text().toStdString();
    app->book().insertPage("Work", 13);
    app->rebuildTabs();
    for (const auto& [key, page] : std::vector<std::pair<int, int>>{
             {Qt::Key_B, 1}, {Qt::Key_N, 7}, {Qt::Key_Z, 13}, {Qt::Key_1, 14}}) {
        press(app->mainWindow()->editor(), key, Qt::AltModifier);
        EXPECT_EQ(app->book().RecentPage, page) << key;
    }
    press(app->mainWindow()->editor(), Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(topics(app->helpWindow())->itemText(0), "The notebook and its tabs");
}

// The same topics in both languages; each options page's Help opens the
// topic that names the page.
TEST_F(EnglishEdition, EveryOptionsPageOpensItsHelpTopicInBothLanguages)
{
    std::vector<int> counts;
    for (const QString language : {"ru", "en"}) {
        start(language);
        withModal("mnuMainOptons", [this](QWidget* options) {
            auto* pages = options->findChild<QListWidget*>("lstPages");
            for (int row = 0; row < pages->count(); ++row) {
                pages->setCurrentRow(row);
                QTimer::singleShot(0, [this, pages] {
                    QWidget* help = QApplication::activeModalWidget();
                    EXPECT_TRUE(topics(help)->currentText().contains(
                        pages->currentItem()->text().trimmed()))
                        << topics(help)->currentText().toStdString();
                    help->close();
                });
                options->findChild<QPushButton*>("cmdHelp")->click();
            }
            options->close();
        });
        app->runCommand(Command::Help, 0);
        counts.push_back(topics(app->helpWindow())->count());
        app.reset();
    }
    EXPECT_EQ(counts[0], counts[1]);
}

// Offered: Russian, the shipped English and the user's own file; OK stores
// the choice for the next start.
TEST_F(EnglishEdition, TheOptionsChooseTheLanguageOfTheNextStart)
{
    writeAll(Folders::userSettingsFolder() + "language.ini", "[Velkaro]\r\nLanguageName=Mine\r\n");
    start("en");
    QStringList offered;
    withModal("mnuMainOptons", [&offered](QWidget* options) {
        auto* languages = options->findChild<QComboBox*>("cboLanguage");
        for (int i = 0; i < languages->count(); ++i)
            offered << languages->itemText(i);
        offered << languages->currentText();
        languages->setCurrentIndex(0);
        options->findChild<QPushButton*>("cmdOK")->click();
    });
    const QString own = QDir::toNativeSeparators(Folders::userSettingsFolder() + "language.ini");
    EXPECT_EQ(offered,
              QStringList({"Russian (Русский)", "English", "Mine (" + own + ")", "English"}));
    EXPECT_EQ(f.messages.texts().last(),
              "The new language takes effect the next time the program starts.");
    EXPECT_EQ(f.read(OptionTable::languageSection.toString(), OptionTable::languageKey.toString()),
              "ru");
}

} // namespace
