// Whole-program scenarios against empty temporary folders, from one start to
// the next.

#include "app_fixture.h"
#include "core/app_info.h"
#include "core/code_page.h"
#include "document/history_backup.h"
#include "terminated_program.h"

// No window system at all: the answers come before the program would need one.
TEST(Scenario, HelpAndVersionAnswerInTheTerminalWithoutOpeningTheWindow)
{
    QTemporaryDir home;
    // An option it does not know, or a file to open, is refused with the usage.
    for (const auto& [option, code, expected] :
         {std::tuple{"--help", 0, QStringLiteral("--log")},
          {"--version", 0, "velkaro (Velkaro Pro) " + AppInfo::versionText() + "\n"},
          {"--bogus", 2, QStringLiteral("unknown option \"--bogus\"\n\nUsage: velkaro")},
          {"-platform", 2, QStringLiteral("unknown option \"-platform\"")},
          {"book.dat", 2, QStringLiteral("\"book.dat\" is not opened: the book is chosen in")}}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        const ProgramRun run = runProgram(QStringLiteral(VELKARO_PROGRAM), {option}, env);
        EXPECT_EQ(run.exitCode, code) << option;
        // A Windows console ends its lines with CR LF.
        const QString output = QString::fromUtf8(run.output).replace(u"\r\n"_qs, u"\n"_qs);
        EXPECT_TRUE(output.contains(expected)) << option << run.output;
    }
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty())
        << "no book, no settings";
}

// Saved by Ctrl+S and then, with what was typed after it, by closing.
TEST(Scenario, APageAddedAndTypedIsThereAtTheNextStartInTheExportAndInTodaysBackup)
{
    AppFixture f;
    f.write("Options", "RecentPage", "14");
    QString backup;
    {
        std::unique_ptr<Application> app = f.started();
        app->mainWindow()->show();
        RichTextEdit* editor = app->mainWindow()->editor();
        InputBoxAnswer box;
        answerInputBox(box, u"Работа"_qs);
        press(editor, Qt::Key_F5, {});
        press(editor, Qt::Key_Down, Qt::AltModifier);
        ASSERT_EQ(app->book().recentPage(), 15);
        QTest::keyClicks(editor, "Smirnov");
        press(editor, Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(app->book().isChanged());
        QTest::keyClick(editor, Qt::Key_Tab);
        QTest::keyClicks(editor, "555-01-02");
        press(editor, Qt::Key_Escape, {});
        ASSERT_TRUE(app->unloaded());
        backup =
            HistoryBackup::backupPath(app->folders().historyFolder, "app_tests", AppFixture::today);
    }
    EXPECT_EQ(readAll(backup), readAll(f.dataFile()));
    const QString exported = CodePage::decode(readAll(f.dataFolder + "app_tests"));
    EXPECT_TRUE(exported.contains(u"$Работа\r\nSmirnov\t555-01-02"_qs)) << exported;

    std::unique_ptr<Application> app = f.started();
    ASSERT_EQ(app->book().pageCount(), 15);
    // The page left open opens again.
    EXPECT_EQ(fields(app->book().recentPage(), app->book().page(15).title,
                     app->book().page(15).plainText()),
              u"15 Работа Smirnov\t555-01-02"_qs);
    EXPECT_EQ(f.messages.texts(), QStringList());
}
