// frmOptions over the real notebook: the ways to it, OK taking effect, and the
// book moving to another folder, never lost when a step fails.

#include "app_fixture.h"
#include "core/code_page.h"
#include "document/obscured_password.h"
#include "file_size_cap.h"

namespace {

class OptionsInApp : public WindowTest
{
protected:
    void SetUp() override { start(); }
    void start(const QString& firstPage = u"наша книга"_qs)
    {
        app.reset();
        writeBook({}, firstPage);
        WindowTest::start();
        m_saved = readAll(f.dataFile());
    }
    QString fileName() const { return QFileInfo(f.dataFile()).fileName(); }
    QString folder(const QString& name) const
    {
        const QString path = f.dir.filePath(name) + u'/';
        QDir().mkpath(path);
        return path;
    }
    void withOptions(const std::function<void(QDialog*)>& act) const
    {
        withItem("mnuMainOptons", act);
    }
    // Puts `path` into the folder field and presses OK; `replace` answers
    // frmReplace should it come.
    static void moveTo(QWidget* dialog, const QString& path,
                       const std::function<void(QDialog*)>& replace = {})
    {
        dialog->findChild<QLineEdit*>("txtFilePath")->setText(path);
        if (replace)
            whenModal("frmReplace", replace);
        clickChild(dialog, "cmdOK");
    }
    static std::function<void(QDialog*)> answer(const char* button)
    {
        return [button](QDialog* question) { clickChild(question, button); };
    }
    static void check(QWidget* dialog, const char* box, bool checked)
    {
        dialog->findChild<QCheckBox*>(box)->setChecked(checked);
    }
    // Moves the book to `path` from the dialog, which then closes.
    void moveTo(const QString& path, const std::function<void(QDialog*)>& replace = {})
    {
        withOptions([&](QDialog* dialog) {
            moveTo(dialog, path, replace);
            EXPECT_FALSE(dialog->isVisible()) << told();
        });
    }
    void expectUnmoved() const
    {
        EXPECT_EQ(readAll(f.dataFile()), m_saved);
        EXPECT_EQ(app->storage().filePath(), f.dataFolder);
    }

    QByteArray m_saved;
};

} // namespace

// A double click on a child of the window is the child's, not the background's.
TEST_F(OptionsInApp, TheMenuCtrlOAndADoubleClickOnTheBackgroundOpenIt)
{
    QStringList opened;
    const auto name = [&opened](QDialog* dialog) { opened << dialog->objectName(); };
    withOptions(name);
    withModal([this] { key(Qt::Key_O, Qt::ControlModifier); }, name);
    withModal([this] { QTest::mouseDClick(window(), Qt::LeftButton, {}, QPoint(1, 1)); }, name);
    withModal(
        [this] {
            QTest::mouseDClick(window()->statusBar(), Qt::LeftButton);
            QCoreApplication::processEvents();
        },
        name);
    EXPECT_EQ(opened, QStringList(3, "frmOptions"));
}

// Plain-text mode waits for the next save: the save of OK keeps the old form.
TEST_F(OptionsInApp, OkSetsTheOptionsTheWindowTheNextSaveAndTheNextStartUse)
{
    start(u"{\\rtf1\\ansi\\ansicpg1251 {\\b жирный} текст\\par}"_qs);
    withOptions([](QDialog* dialog) {
        check(dialog, "chkStatus", false);
        check(dialog, "chkEnableSort", true);
        dialog->findChild<QLineEdit*>("txtWidth")->setText("1000");
        check(dialog, "chkAutosave", false);
        check(dialog, "chkUseRtf", false);
        clickChild(dialog, "cmdOK");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(fields(window()->statusBar()->isVisible(), window()->buttonWidthTwips(),
                     item("mnuMainSort")->isVisible(), window()->statusBar()->isSaved(),
                     readAll(f.dataFile()).contains("{\\rtf1")),
              "false 1000 true true true");
    type(u"новый текст"_qs);
    item("mnuMainSave")->trigger();
    const QByteArray saved = readAll(f.dataFile());
    EXPECT_TRUE(!saved.contains("{\\rtf") &&
                saved.contains(CodePage::encodeLossy(u"новый текст"_qs)))
        << saved;
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(QStringList({f.read(u"Общие"_qs, "Status"), f.read(u"Общие"_qs, "EnableSort"),
                           f.read(u"Общие"_qs, "ButtonWidth"),
                           f.read(u"Адресная книга"_qs, "AutosaveDuration"),
                           f.read(u"Адресная книга"_qs, "UseRtf")}),
              QStringList({"False", "True", "1000", "0", "False"}));
}

// The password and the styles are set at once, Cancel or Escape or not; the
// password is stored enciphered, and the style menu never offers a deleted style.
TEST_F(OptionsInApp, PasswordAndStylesChangeAtOnceHoweverTheDialogCloses)
{
    const auto styleMenu = [this] {
        QStringList names;
        for (QAction* action :
             window()->menus()->mnuText()->findChildren<QAction*>("mnuTextStyles"))
            if (action->isVisible())
                names << action->text();
        return names;
    };
    withOptions([](QDialog* dialog) {
        dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(4);
        whenModal({}, [](QDialog* password) {
            password->findChild<QLineEdit*>("txtPassword")->setText(u"тайна"_qs);
            clickChild(password, "cmdOK");
        });
        clickChild(dialog, "cmdEditPw");
        whenModal({}, [](QDialog* box) {
            box->findChild<QLineEdit*>("txtText")->setText(u"Важное"_qs);
            clickChild(box, "cmdOK");
        });
        clickChild(dialog, "cmdNewStyle");
        clickChild(dialog, "cmdCancel");
    });
    EXPECT_EQ(fields(app->currentPassword(), app->appStyles().count(), styleMenu()),
              u"тайна 1 Важное"_qs);

    f.messages.queueAnswer(true);
    withOptions([](QDialog* dialog) {
        dialog->findChild<QListWidget*>("lstStyles")->setCurrentRow(0);
        clickChild(dialog, "cmdDeleteStyle");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(fields(app->appStyles().count(), styleMenu()), u"0 (пусто)"_qs);
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(ObscuredPassword::reveal(f.read("Privacy", "Password")), u"тайна"_qs);
}

// The move itself, and the changed-on-disk check following it, are
// FolderChangeTest's (tests/document). No readable copy of the book stays
// behind in a folder the user left; an export that is not this book's is the
// user's file, and he is told.
TEST_F(OptionsInApp, TheBookAndItsExportMoveUnlessTheExportIsNotTheBooks)
{
    const QString exportName = app->storage().exeBaseName();
    const QString moved = folder("moved");
    moveTo(moved);
    EXPECT_FALSE(QFile::exists(f.dataFile()) || QFile::exists(f.dataFolder + exportName));
    EXPECT_EQ(window()->statusBar()->statusText() + told(),
              QDir::toNativeSeparators(moved + fileName()));

    writeAll(moved + exportName, "my own notes");
    moveTo(f.dataFolder);
    EXPECT_EQ(readAll(f.dataFolder + exportName), app->storage().exportBytes());
    EXPECT_EQ(readAll(moved + exportName), "my own notes");
    EXPECT_TRUE(f.messages.only().contains(QDir::toNativeSeparators(moved + exportName)) &&
                told().contains(u"не совпадает с книгой"_qs))
        << told();
    moveTo(moved);
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(f.read(u"Адресная книга"_qs, "FilePath"), moved);
}

// Which spellings name one folder: StorageFolder.TextsNamingOneFolderAreTheSameFolder.
TEST_F(OptionsInApp, AFolderNotThereIsMadeOnRequestAndTheSameFolderWrittenOtherwiseIsNoChange)
{
    moveTo(f.dir.filePath("data/../data"));
    expectUnmoved();
    EXPECT_EQ(told(), QString());

    const QString made = f.dir.filePath("new/books/");
    f.messages.queueAnswer(false);
    withOptions([&](QDialog* dialog) {
        moveTo(dialog, made);
        EXPECT_TRUE(dialog->isVisible() && !QDir(made).exists());
        f.messages.queueAnswer(true);
        clickChild(dialog, "cmdOK");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_TRUE(f.messages.texts().first().contains(QDir::toNativeSeparators(made)));
    EXPECT_EQ(readAll(made + fileName()), m_saved);
}

// Cancel and the frame keep the dialog open with the old folder; Yes keeps
// the other book as .bak, No loads it, unless it cannot be read.
TEST_F(OptionsInApp, ReplaceCancelYesAndNoDoWhatTheySay)
{
    const QString other = folder("other");
    const QByteArray theirs = CodePage::encodeLossy(u"1\r\n\"A\",\"их книга\"\r\n");
    writeAll(other + fileName(), theirs);
    withOptions([&](QDialog* dialog) {
        for (const auto& close :
             {answer("cmdCancel"), std::function<void(QDialog*)>(&QDialog::close)}) {
            moveTo(dialog, other, close);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->findChild<QLineEdit*>("txtFilePath")->text(), f.dataFolder);
        }
    });
    expectUnmoved();
    EXPECT_TRUE(window()->statusBar()->isSaved());

    moveTo(other, answer("cmdYes"));
    EXPECT_EQ(readAll(other + QFileInfo(f.dataFile()).completeBaseName() + ".bak"), theirs);
    EXPECT_TRUE(readAll(other + fileName()) == m_saved && !QFile::exists(f.dataFile()));

    // Back to where the book was: its folder now holds their copy.
    writeAll(f.dataFile(), theirs);
    moveTo(f.dataFolder, answer("cmdNo"));
    const auto where = [this] {
        return fields(book().pageCount(), app->storage().filePath(), window()->pageText());
    };
    EXPECT_EQ(where(), "1 " + f.dataFolder + u" их книга"_qs);
    EXPECT_EQ(readAll(other + fileName()), m_saved) << "ours stays where it was";

    const QByteArray junk = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/truncated.dat"));
    writeAll(other + fileName(), junk);
    withOptions([&](QDialog* dialog) {
        moveTo(dialog, other, answer("cmdNo"));
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_TRUE(told().contains(u"не удалось прочитать"_qs)) << told();
    EXPECT_EQ(where(), "1 " + f.dataFolder + u" их книга"_qs);
    EXPECT_EQ(readAll(other + fileName()), junk);
}

// A failing write keeps the book and the dialog; OK sets nothing when its
// own save fails.
TEST_F(OptionsInApp, AFailingWriteInTheNewFolderKeepsTheBookTheDialogAndTheOptions)
{
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed);
        start(typed ? u"наша книга"_qs : QString(20000, u'ж'));
        item("mnuMainSave")->trigger(); // the export is written now
        m_saved = readAll(f.dataFile());
        if (typed)
            type(QString(20000, u'ж'));
        const QString moved = folder(typed ? "moved2" : "moved");
        f.messages.clear();
        withOptions([&](QDialog* dialog) {
            check(dialog, "chkStatus", false);
            const FileSizeCap cap(4096);
            ASSERT_TRUE(cap.isSet());
            moveTo(dialog, moved);
            EXPECT_TRUE(dialog->isVisible());
        });
        EXPECT_TRUE(typed || told().contains(u"Книгу не удалось записать в папку"_qs)) << told();
        EXPECT_NE(told(), QString());
        EXPECT_TRUE(window()->statusBar()->isVisible()) << "nothing set";
        expectUnmoved();
        EXPECT_TRUE(QDir(moved).isEmpty());
    }
}
