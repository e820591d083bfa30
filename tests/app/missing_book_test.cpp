// A book that was there and is gone is asked about, never silently replaced.

#include "app_fixture.h"
#include "document/backup_catalog.h"
#include "document/history_backup.h"

TEST(MissingBook, IsLookedForAgainFoundElsewhereOrReplacedWithItsBackupKept)
{
    using Choice = BookQuestion::Choice;
    struct Case
    {
        const char* name;
        std::vector<Choice> answers;
        bool started;
        const char* text; // the book's text once started
        int keptBackups;  // backups of the earlier book kept beside the new one
    };
    const Case cases[] = {
        {"looked for again", {Choice::LookAgain, Choice::LookAgain}, true, "Иванов 555", 0},
        {"found elsewhere", {Choice::ChooseFolder}, true, "Иванов 555", 0},
        {"a new book", {Choice::PlainNewBook}, true, "", 1},
        {"quit", {Choice::Quit}, false, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        {
            auto app = f.started();
            typeOver(*app, u"Иванов 555"_qs);
            ASSERT_TRUE(app->mainWindow()->close());
        }
        const QString elsewhere = f.dir.filePath("moved/");
        QDir().mkpath(elsewhere);
        const QString book = f.dataFile();
        ASSERT_TRUE(QFile::rename(book, elsewhere + QFileInfo(book).fileName()));
        auto app = f.makeApp();
        QStringList asked;
        std::size_t answered = 0;
        app->setBookQuestion([&](const BookQuestion& question) {
            asked << question.text;
            // The drive is connected while the second question waits.
            if (answered == 1)
                QFile::rename(elsewhere + QFileInfo(book).fileName(), book);
            return c.answers.at(answered++);
        });
        app->setFolderPrompt([&](Application&) {
            f.write("Адресная книга", "FilePath", elsewhere);
            return true;
        });
        ASSERT_EQ(app->startUp(), c.started);
        EXPECT_EQ(answered, c.answers.size());
        EXPECT_TRUE(asked.value(0).contains(QDir::toNativeSeparators(book))) << asked.value(0);
        if (!c.started) {
            EXPECT_FALSE(QFile::exists(book));
            continue;
        }
        QString text;
        for (const PageRecord& page : app->book().pages())
            text += page.plainText().trimmed();
        EXPECT_EQ(text, QString::fromUtf8(c.text));
        ASSERT_TRUE(app->mainWindow()->close());
        const auto copies =
            BackupCatalog::list(app->folders().historyFolder, app->folders().exeBaseName,
                                app->storage().fullDataPath());
        EXPECT_EQ(std::count_if(copies.begin(), copies.end(),
                                [](const BackupCatalog::Entry& entry) {
                                    return entry.kind == BackupCatalog::Kind::KeptBook;
                                }),
                  c.keptBackups);
    }
}
