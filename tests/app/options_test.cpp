// frmOptions moving the book to a folder where writing fails; the ways to the
// dialog, OK and the other moves are in tests/data/app/options.cases.

#include "app_fixture.h"
#include "file_size_cap.h"

using OptionsInApp = WindowTest;

// A failing write keeps the book and the dialog; OK sets nothing when its
// own save fails.
TEST_F(OptionsInApp, AFailingWriteInTheNewFolderKeepsTheBookTheDialogAndTheOptions)
{
    if (!FileSizeCap(4096).isSet())
        GTEST_SKIP() << "no limit on file sizes here";
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed);
        app.reset();
        writeBook({}, typed ? u"наша книга"_qs : QString(20000, u'ж'));
        start();
        item("mnuMainSave")->trigger(); // the export is written now
        const QByteArray saved = readAll(f.dataFile());
        if (typed)
            type(QString(20000, u'ж'));
        const QString moved = f.dir.filePath(typed ? "moved2/" : "moved/");
        QDir().mkpath(moved);
        f.messages.clear();
        withItem("mnuMainOptons", [&](QDialog* dialog) {
            dialog->findChild<QCheckBox*>("chkStatus")->setChecked(false);
            dialog->findChild<QLineEdit*>("txtFilePath")->setText(moved);
            const FileSizeCap cap(4096);
            clickChild(dialog, "cmdOK");
            EXPECT_TRUE(dialog->isVisible());
        });
        EXPECT_TRUE(typed || told().contains(u"Книгу не удалось записать в папку"_qs)) << told();
        EXPECT_NE(told(), QString());
        EXPECT_TRUE(window()->statusBar()->isVisible()) << "nothing set";
        EXPECT_EQ(fields(readAll(f.dataFile()) == saved, app->storage().filePath()),
                  fields(true, f.dataFolder));
        EXPECT_TRUE(QDir(moved).isEmpty());
    }
}
