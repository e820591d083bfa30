// The options dialog over the real notebook: the three ways to it, OK making
// the options take effect, and the book moving to another folder with every
// answer of the replace question, never lost when a step fails.

#include "app_fixture.h"
#include "core/code_page.h"
#include "document/obscured_password.h"
#include "file_size_cap.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "ui/status_bar.h"
#include "window_driver.h"

#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class OptionsInApp : public ::testing::Test
{
protected:
    void start(const QString& firstPage = u"наша книга"_qs)
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages[0].Text = firstPage;
        writeAll(f.dataFile(), DataFile::serialize(pages));
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
        m_saved = readAll(f.dataFile());
    }
    MainWindow* window() const { return app->mainWindow(); }
    QString fileName() const { return QFileInfo(f.dataFile()).fileName(); }
    QString folder(const QString& name) const
    {
        const QString path = f.dir.filePath(name) + u'/';
        QDir().mkpath(path);
        return path;
    }

    // Runs `act` on frmOptions, opened by `open` (the popup's item unless
    // given); whatever `act` leaves open is cancelled.
    void withOptions(const std::function<void(QWidget*)>& act,
                     const std::function<void()>& open = {})
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->objectName(), "frmOptions");
            shown = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        if (open)
            open();
        else
            window()->menus()->item("mnuMainOptons")->trigger();
        EXPECT_TRUE(shown);
    }
    // Puts `path` into the folder field and presses OK; `replace` answers
    // frmReplace should it come.
    static void moveTo(QWidget* dialog, const QString& path,
                       const std::function<void(QWidget*)>& replace = {})
    {
        dialog->findChild<QLineEdit*>("txtFilePath")->setText(path);
        if (replace)
            QTimer::singleShot(0, [replace] {
                QWidget* question = QApplication::activeModalWidget();
                ASSERT_EQ(question->objectName(), "frmReplace");
                replace(question);
            });
        dialog->findChild<QPushButton*>("cmdOK")->click();
    }
    static std::function<void(QWidget*)> answer(const char* button)
    {
        return [button](QWidget* question) { question->findChild<QPushButton*>(button)->click(); };
    }
    QString messages() const { return f.messages.texts().join("\n---\n"); }

    AppFixture f;
    std::unique_ptr<Application> app;
    QByteArray m_saved;
};

} // namespace

TEST_F(OptionsInApp, TheMenuCtrlOAndADoubleClickOnTheBackgroundOpenIt)
{
    start();
    withOptions([](QWidget*) {});
    withOptions([](QWidget*) {},
                [this] { press(window()->editor(), Qt::Key_O, Qt::ControlModifier); });
    withOptions([](QWidget*) {},
                [this] { QTest::mouseDClick(window(), Qt::LeftButton, {}, QPoint(1, 1)); });

    // A double click on a child of the window is the child's, not the background's.
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    QTest::mouseDClick(window()->statusBar(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}

TEST_F(OptionsInApp, OkSetsTheOptionsTheWindowAndTheNextStartUse)
{
    start();
    window()->menus()->item("mnuMainSave")->trigger();
    withOptions([](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("chkStatus")->setChecked(false);
        dialog->findChild<QCheckBox*>("chkEnableSort")->setChecked(true);
        dialog->findChild<QLineEdit*>("txtWidth")->setText("1000");
        dialog->findChild<QCheckBox*>("chkAutosave")->setChecked(false);
        dialog->findChild<QPushButton*>("cmdOK")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_FALSE(window()->statusBar()->isVisible());
    EXPECT_EQ(window()->buttonWidthTwips(), 1000);
    EXPECT_TRUE(window()->menus()->item("mnuMainSort")->isVisible());
    EXPECT_TRUE(window()->statusBar()->isSaved());
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(f.read(u"Общие"_qs, "Status"), "False");
    EXPECT_EQ(f.read(u"Общие"_qs, "EnableSort"), "True");
    EXPECT_EQ(f.read(u"Общие"_qs, "ButtonWidth"), "1000");
    EXPECT_EQ(f.read(u"Адресная книга"_qs, "AutosaveDuration"), "0");
}

TEST_F(OptionsInApp, PlainTextModeTakesEffectAtTheNextSave)
{
    start(u"{\\rtf1\\ansi\\ansicpg1251 {\\b жирный} текст\\par}"_qs);
    withOptions([](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("chkUseRtf")->setChecked(false);
        dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    EXPECT_TRUE(readAll(f.dataFile()).contains("{\\rtf1")) << "the save of OK kept the old form";
    typeOver(*app, u"новый текст"_qs);
    window()->menus()->item("mnuMainSave")->trigger();
    const QByteArray saved = readAll(f.dataFile());
    EXPECT_FALSE(saved.contains("{\\rtf"));
    EXPECT_TRUE(saved.contains(CodePage::encodeLossy(u"новый текст"_qs)));
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(f.read(u"Адресная книга"_qs, "UseRtf"), "False");
}

TEST_F(OptionsInApp, APasswordSetInTheDialogIsStoredEnciphered)
{
    start();
    withOptions([](QWidget* dialog) {
        dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(4);
        QTimer::singleShot(0, [] {
            QWidget* password = QApplication::activeModalWidget();
            password->findChild<QLineEdit*>("txtPassword")->setText(u"тайна"_qs);
            password->findChild<QPushButton*>("cmdOK")->click();
        });
        dialog->findChild<QPushButton*>("cmdEditPw")->click();
        dialog->findChild<QPushButton*>("cmdCancel")->click();
    });
    EXPECT_EQ(app->CurrentPassword(), u"тайна"_qs) << "set at once, Cancel or not";
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(ObscuredPassword::reveal(f.read("Privacy", "Password")), u"тайна"_qs);
}

TEST_F(OptionsInApp, StyleChangesReachTheStyleMenuHoweverTheDialogCloses)
{
    start();
    const auto styleMenu = [this] {
        QStringList names;
        for (QAction* action :
             window()->menus()->mnuText()->findChildren<QAction*>("mnuTextStyles"))
            if (action->isVisible())
                names << action->text();
        return names;
    };
    withOptions([](QWidget* dialog) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            box->findChild<QLineEdit*>("txtText")->setText(u"Важное"_qs);
            box->findChild<QPushButton*>("cmdOK")->click();
        });
        dialog->findChild<QPushButton*>("cmdNewStyle")->click();
        dialog->findChild<QPushButton*>("cmdCancel")->click();
    });
    EXPECT_EQ(app->AppStyles().Count(), 1) << "kept after Cancel";
    EXPECT_EQ(styleMenu(), QStringList{u"Важное"_qs});

    f.messages.queueAnswer(true);
    withOptions([](QWidget* dialog) {
        dialog->findChild<QListWidget*>("lstStyles")->setCurrentRow(0);
        dialog->findChild<QPushButton*>("cmdDeleteStyle")->click();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(app->AppStyles().Count(), 0);
    EXPECT_EQ(styleMenu(), QStringList{u"(пусто)"_qs}) << "never a deleted style";
}

TEST_F(OptionsInApp, TheBookMovesToAnEmptyFolderAndTheChangedOnDiskCheckFollowsIt)
{
    start();
    const QString moved = folder("moved");
    withOptions([&](QWidget* dialog) {
        moveTo(dialog, moved);
        EXPECT_FALSE(dialog->isVisible()) << messages().toStdString();
    });
    EXPECT_EQ(readAll(moved + fileName()), m_saved);
    EXPECT_FALSE(QFile::exists(f.dataFile()));
    EXPECT_EQ(window()->statusBar()->statusText(), QDir::toNativeSeparators(moved + fileName()));
    EXPECT_EQ(app->storage().FilePath(), moved);

    writeAll(moved + fileName(), DataFile::serialize(DataFile::defaultPages()));
    typeOver(*app, u"ещё"_qs);
    f.messages.queueChoice(-1);
    window()->menus()->item("mnuMainSave")->trigger();
    ASSERT_FALSE(f.messages.entries().empty());
    EXPECT_TRUE(f.messages.texts().constLast().contains(QDir::toNativeSeparators(moved)))
        << "the new file is watched";

    f.messages.queueChoice(2); // replace the other copy
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(f.read(u"Адресная книга"_qs, "FilePath"), moved);
}

// No readable copy of the book stays behind in a folder the user left; an
// export that is not this book's is the user's file, and he is told.
TEST_F(OptionsInApp, TheTextExportGoesAlongUnlessItIsNotTheBooks)
{
    start();
    const QString exportName = app->storage().ExeBaseName();
    const QString moved = folder("moved");
    withOptions([&](QWidget* dialog) { moveTo(dialog, moved); });
    EXPECT_FALSE(QFile::exists(f.dataFolder + exportName));
    EXPECT_EQ(readAll(moved + exportName), app->storage().exportBytes());
    EXPECT_TRUE(f.messages.entries().empty()) << messages().toStdString();

    writeAll(moved + exportName, "my own notes");
    withOptions([&](QWidget* dialog) { moveTo(dialog, f.dataFolder); });
    EXPECT_EQ(readAll(f.dataFolder + exportName), app->storage().exportBytes());
    EXPECT_EQ(readAll(moved + exportName), "my own notes");
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].contains(QDir::toNativeSeparators(moved + exportName)));
    EXPECT_TRUE(f.messages.texts()[0].contains(u"не совпадает с книгой"_qs));
}

TEST_F(OptionsInApp, AFolderNotThereIsMadeOnRequest)
{
    start();
    const QString made = f.dir.filePath("new/books/");
    f.messages.queueAnswer(false);
    withOptions([&](QWidget* dialog) {
        moveTo(dialog, made);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(QDir(made).exists());
        f.messages.queueAnswer(true);
        dialog->findChild<QPushButton*>("cmdOK")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_TRUE(f.messages.texts().first().contains(QDir::toNativeSeparators(made)));
    EXPECT_EQ(readAll(made + fileName()), m_saved);
}

TEST_F(OptionsInApp, TheSameFolderWrittenOtherwiseIsNoChange)
{
    start();
    ASSERT_TRUE(QFile::link(f.dataFolder, f.dir.filePath("link")));
    for (const QString& same :
         {f.dataFolder.chopped(1), f.dir.filePath("link/"), f.dir.filePath("data/../data")}) {
        withOptions([&](QWidget* dialog) {
            moveTo(dialog, same);
            EXPECT_FALSE(dialog->isVisible());
        });
        EXPECT_EQ(readAll(f.dataFile()), m_saved) << same.toStdString();
        EXPECT_EQ(app->storage().FilePath(), f.dataFolder);
    }
    EXPECT_TRUE(f.messages.entries().empty()) << messages().toStdString();
}

TEST_F(OptionsInApp, ReplaceCancelAndTheFrameKeepTheDialogOpenWithTheOldFolder)
{
    start();
    const QString other = folder("other");
    writeAll(other + fileName(), CodePage::encodeLossy(u"1\r\n\"A\",\"их книга\"\r\n"));
    withOptions([&](QWidget* dialog) {
        for (const auto& close :
             {answer("cmdCancel"), std::function<void(QWidget*)>([](QWidget* q) { q->close(); })}) {
            moveTo(dialog, other, close);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->findChild<QLineEdit*>("txtFilePath")->text(), f.dataFolder);
        }
    });
    EXPECT_EQ(readAll(f.dataFile()), m_saved);
    EXPECT_EQ(app->storage().FilePath(), f.dataFolder);
    EXPECT_TRUE(window()->statusBar()->isSaved());
}

TEST_F(OptionsInApp, ReplaceYesKeepsTheOtherBookAsBakAndNoLoadsIt)
{
    start();
    const QString other = folder("other");
    const QByteArray theirs = CodePage::encodeLossy(u"1\r\n\"A\",\"их книга\"\r\n");
    writeAll(other + fileName(), theirs);
    withOptions([&](QWidget* dialog) { moveTo(dialog, other, answer("cmdYes")); });
    const QString bak = other + QFileInfo(f.dataFile()).completeBaseName() + ".bak";
    EXPECT_EQ(readAll(bak), theirs);
    EXPECT_EQ(readAll(other + fileName()), m_saved);
    EXPECT_FALSE(QFile::exists(f.dataFile()));

    // Back to where the book was: its folder now holds their copy.
    writeAll(f.dataFile(), theirs);
    withOptions([&](QWidget* dialog) { moveTo(dialog, f.dataFolder, answer("cmdNo")); });
    EXPECT_EQ(app->book().PageCount(), 1);
    EXPECT_EQ(window()->pageText(), u"их книга"_qs);
    EXPECT_EQ(readAll(other + fileName()), m_saved) << "ours stays where it was";
    EXPECT_EQ(app->storage().FilePath(), f.dataFolder);
}

TEST_F(OptionsInApp, NoWithABookThatCannotBeReadIsRefused)
{
    start();
    const QString other = folder("other");
    const QByteArray junk = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/truncated.dat"));
    writeAll(other + fileName(), junk);
    withOptions([&](QWidget* dialog) {
        moveTo(dialog, other, answer("cmdNo"));
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_TRUE(messages().contains(u"не удалось прочитать"_qs)) << messages().toStdString();
    EXPECT_EQ(window()->pageText(), u"наша книга"_qs);
    EXPECT_EQ(app->storage().FilePath(), f.dataFolder);
    EXPECT_EQ(readAll(other + fileName()), junk);
}

TEST_F(OptionsInApp, AFailingWriteInTheNewFolderKeepsTheBookAndTheDialog)
{
    start(QString(20000, u'ж'));
    window()->menus()->item("mnuMainSave")->trigger(); // the export is written now
    const QString moved = folder("moved");
    withOptions([&](QWidget* dialog) {
        const FileSizeCap cap(4096);
        ASSERT_TRUE(cap.isSet());
        moveTo(dialog, moved);
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_TRUE(messages().contains(u"Книгу не удалось записать в папку"_qs))
        << messages().toStdString();
    EXPECT_EQ(readAll(f.dataFile()), m_saved);
    EXPECT_EQ(app->storage().FilePath(), f.dataFolder);
    EXPECT_TRUE(QFile::exists(f.dataFile()));
    EXPECT_FALSE(QFile::exists(moved + fileName()));
}

TEST_F(OptionsInApp, OkStopsWhenItsSaveFails)
{
    start();
    const QString moved = folder("moved");
    typeOver(*app, QString(20000, u'ж'));
    withOptions([&](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("chkStatus")->setChecked(false);
        const FileSizeCap cap(4096);
        moveTo(dialog, moved);
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_FALSE(f.messages.entries().empty());
    EXPECT_TRUE(window()->statusBar()->isVisible()) << "nothing set";
    EXPECT_EQ(app->storage().FilePath(), f.dataFolder) << "no folder change";
    EXPECT_TRUE(QDir(moved).isEmpty());
    EXPECT_EQ(readAll(f.dataFile()), m_saved);
}
