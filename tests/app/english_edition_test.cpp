// The program for a reader of English: the English translation chosen in the
// options brings English letter pages with their Alt keys, English help and
// tips; Russian stays the program it was, and a book keeps its letter pages
// in either language.

#include "app_fixture.h"
#include "core/option_table.h"
#include "dialogs/help_window.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "window_driver.h"

#include <QComboBox>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

const QString kBuiltFolder = QFileInfo(QStringLiteral(VELKARO_PROGRAM)).path() + u'/';
const QStringList kEnglishTitles{"AB", "CD", "EF", "GH", "IJ", "KL", "MN",
                                 "OP", "QR", "ST", "UV", "WX", "YZ"};

class EnglishEdition : public ::testing::Test
{
protected:
    // The program folder as the build has it, the help named after the
    // running test program as the program's own is named after it.
    EnglishEdition()
    {
        const QString base = Folders::exeBaseName(QCoreApplication::applicationFilePath());
        for (const QString& folder : {QString(), QStringLiteral("translations/en/")}) {
            for (const QString name : {"velkar.tip", "velkaro-help.rtf", "language.ini"}) {
                if (QFileInfo::exists(kBuiltFolder + folder + name))
                    writeAll(f.dir.filePath(folder + name), readAll(kBuiltFolder + folder + name));
            }
            writeAll(f.dir.filePath(folder + base + ".hlp"),
                     readAll(kBuiltFolder + folder + "velkaro.hlp"));
        }
    }
    void choose(const QString& language) const
    {
        f.write(OptionTable::languageSection.toString(), OptionTable::languageKey.toString(),
                language);
    }
    void start()
    {
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    QStringList titles() const
    {
        QStringList found;
        for (const PageRecord& page : app->book().pages())
            found << page.Title;
        return found;
    }
    QWidget* editor() const { return app->mainWindow()->editor(); }
    // The title of the help topic the options dialog's Help button opens on
    // each of its pages, with the page's name in the list.
    std::vector<std::pair<QString, QString>> optionsHelpTopics()
    {
        std::vector<std::pair<QString, QString>> topics;
        QTimer::singleShot(0, [&topics] {
            QWidget* options = QApplication::activeModalWidget();
            auto* pages = options->findChild<QListWidget*>("lstPages");
            for (int row = 0; row < pages->count(); ++row) {
                pages->setCurrentRow(row);
                QTimer::singleShot(0, [&topics, pages] {
                    QWidget* help = QApplication::activeModalWidget();
                    topics.emplace_back(pages->currentItem()->text().trimmed(),
                                        help->findChild<QComboBox*>("cboContents")->currentText());
                    help->close();
                });
                options->findChild<QPushButton*>("cmdHelp")->click();
            }
            options->close();
        });
        app->mainWindow()->menus()->item("mnuMainOptons")->trigger();
        return topics;
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

TEST_F(EnglishEdition, AFirstStartInEnglishHasEnglishLetterPagesKeysTipAndHelp)
{
    choose("en");
    f.write(QStringLiteral("Общие"), QStringLiteral("TipsDuration"), QStringLiteral("10"));
    start();
    EXPECT_EQ(titles(), kEnglishTitles);
    EXPECT_EQ(app->book().LastIntPage, 13);

    const QStringList tips =
        QString::fromLatin1(readAll(f.dir.filePath("translations/en/velkar.tip")))
            .split("\r\n", Qt::SkipEmptyParts);
    const auto* tip = app->mainWindow()->findChild<QLabel*>("lblTip");
    EXPECT_TRUE(tips.contains(tip->toolTip().isEmpty() ? tip->text() : tip->toolTip()))
        << tip->text().toStdString();

    // Alt and either letter of a tab, whatever the layout; Alt+digit the
    // user's pages.
    const std::vector<std::pair<int, int>> keys{
        {Qt::Key_A, 1}, {Qt::Key_B, 1}, {Qt::Key_M, 7}, {Qt::Key_N, 7}, {Qt::Key_Z, 13}};
    for (const auto& [key, page] : keys) {
        press(editor(), key, Qt::AltModifier);
        EXPECT_EQ(app->book().RecentPage, page) << QKeySequence(key).toString().toStdString();
    }
    app->book().InsertPage(QStringLiteral("Work"), 13);
    app->RebuildTabs();
    press(editor(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 14);

    press(editor(), Qt::Key_F1, Qt::NoModifier);
    ASSERT_NE(app->helpWindow(), nullptr);
    EXPECT_EQ(app->helpWindow()->findChild<QComboBox*>("cboContents")->itemText(0),
              "The notebook and its tabs");
}

// Both help files have one topic per topic, and the Help button of every
// options page opens the topic of that page.
TEST_F(EnglishEdition, EveryOptionsPageHasItsHelpTopicInBothLanguages)
{
    std::vector<int> topicCounts;
    for (const QString language : {"ru", "en"}) {
        choose(language);
        start();
        const std::vector<std::pair<QString, QString>> topics = optionsHelpTopics();
        EXPECT_EQ(topics.size(), 5u);
        for (const auto& [page, topic] : topics)
            EXPECT_TRUE(topic.contains(page)) << page.toStdString() << ": " << topic.toStdString();
        app->helpCommand();
        topicCounts.push_back(app->helpWindow()->findChild<QComboBox*>("cboContents")->count());
        app.reset();
    }
    EXPECT_EQ(topicCounts[0], topicCounts[1]);
}

// A Russian book shown in English keeps "АБ" ... "ЮЯ" and their keys; an
// English book shown in Russian keeps its thirteen pages, so its first page
// of the user's stays his.
TEST_F(EnglishEdition, ABookKeepsItsLetterPagesInEitherLanguage)
{
    struct Case
    {
        QString language;
        QStringList letters;
        int key;
    };
    const std::vector<Case> cases{{"en", DataFile::defaultTitles(), Qt::Key_F},
                                  {"ru", kEnglishTitles, Qt::Key_A},
                                  {"", kEnglishTitles, Qt::Key_A}};
    for (const Case& c : cases) {
        std::vector<PageRecord> pages = DataFile::defaultPages(c.letters + QStringList{"Work"});
        writeAll(f.dataFile(), DataFile::serialize(pages));
        choose(c.language);
        start();
        EXPECT_EQ(titles(), c.letters + QStringList{"Work"}) << c.language.toStdString();
        EXPECT_EQ(app->book().LastIntPage, c.letters.size()) << c.language.toStdString();
        press(editor(), Qt::Key_Down, Qt::AltModifier);
        press(editor(), c.key, Qt::AltModifier);
        EXPECT_EQ(app->book().RecentPage, 1) << c.language.toStdString();
        app.reset();
    }
}

// The choice lists what there is, is stored at OK and read at the next start.
TEST_F(EnglishEdition, TheOptionsChooseTheLanguageOfTheNextStart)
{
    writeAll(Folders::userSettingsFolder() + "language.ini",
             "\xEF\xBB\xBF[Velkaro]\r\nLanguageName=Mine\r\n");
    choose("en");
    start();
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        QWidget* options = QApplication::activeModalWidget();
        auto* languages = options->findChild<QComboBox*>("cboLanguage");
        for (int i = 0; i < languages->count(); ++i)
            offered << languages->itemText(i);
        offered << languages->currentText();
        languages->setCurrentIndex(0);
        options->findChild<QPushButton*>("cmdOK")->click();
    });
    app->mainWindow()->menus()->item("mnuMainOptons")->trigger();
    const QString own = QDir::toNativeSeparators(Folders::userSettingsFolder() + "language.ini");
    EXPECT_EQ(offered,
              (QStringList{"Russian (Русский)", "English", "Mine (" + own + ")", "English"}));
    EXPECT_EQ(f.read(OptionTable::languageSection.toString(), OptionTable::languageKey.toString()),
              "ru");
    EXPECT_TRUE(f.messages.texts().contains(
        "The new language takes effect the next time the program starts."));
    EXPECT_EQ(app->mainWindow()->menus()->item("mnuMainSave")->text(), "&Save");
    app.reset();
    start();
    EXPECT_EQ(app->mainWindow()->menus()->item("mnuMainSave")->text(), u"&Сохранить"_qs);
}

} // namespace
