// The backups window over the real notebook: each restore, what is kept
// before anything is overwritten, and a damaged backup left as it was.

#include "app/backup_commands.h"
#include "app_fixture.h"
#include "dialogs/backups_dialog.h"

namespace {

const QDateTime kMade(QDate(2026, 3, 1), QTime(9, 30));

// Each page as "title|plain text|kind".
QStringList view(std::span<const PageRecord> pages)
{
    QStringList out;
    for (const PageRecord& page : pages)
        out << page.Title + u'|' + RtfPlainText::extract(page.Text) + u'|' +
                   QString::number(page.Kind);
    return out;
}

class BackupsTest : public WindowTest
{
protected:
    // The letter pages, then user pages "Работа" and "Дача".
    void start(int page)
    {
        writeBook({{u"Работа"_qs, u"офис"_qs, 0}, {u"Дача"_qs, u"новая дача"_qs, 1}},
                  u"Иванов\t555-12-34"_qs);
        WindowTest::start(page);
    }
    // The backup of period 5: the letters, "Дача" as an address page with
    // its old text, and a page the book no longer has.
    QString writeBackup(const QByteArray& bytes = {})
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages.push_back({u"Дача"_qs, u"старая дача"_qs, 0});
        pages.push_back({u"Врачи"_qs, u"Петров, терапевт"_qs, 0});
        const QString path = app->folders().HistoryFolder +
                             Folders::exeBaseName(QCoreApplication::applicationFilePath()) + ".5";
        EXPECT_TRUE(writeAll(path, bytes.isEmpty() ? DataFile::serialize(pages) : bytes));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(kMade, QFileDevice::FileModificationTime));
        return path;
    }
    QStringList keptBooks() const
    {
        return QDir(f.dataFolder).entryList({QFileInfo(f.dataFile()).fileName() + ".before-*"});
    }
    // Opens the window from the main popup, chooses the copy at `path` and
    // its page `title` (none: the whole book), runs `drive` and closes it.
    void restore(const QString& path, const QString& title,
                 const std::function<void(QDialog&)>& drive)
    {
        EXPECT_TRUE(withModal(
            [this] { item("mnuMainBackups")->trigger(); },
            [&](QDialog* dialog) {
                auto* list = dialog->findChild<QTreeWidget*>("lstBackups");
                for (int row = 0; row < list->topLevelItemCount(); ++row) {
                    if (list->topLevelItem(row)->toolTip(3) == QDir::toNativeSeparators(path))
                        list->setCurrentItem(list->topLevelItem(row));
                }
                ASSERT_TRUE(list->currentItem()) << path;
                auto* pages = dialog->findChild<QListWidget*>("lstPages");
                if (!title.isEmpty())
                    pages->setCurrentItem(pages->findItems(title, Qt::MatchExactly).value(0));
                drive(*dialog);
            }));
    }
    void restore(const QString& path, const QString& title, const char* button)
    {
        restore(path, title, [button](QDialog& dialog) { clickChild(&dialog, button); });
    }
};

} // namespace

TEST_F(BackupsTest, APageIsAddedWhereAddWouldPutItTitledWithTheCopysDate)
{
    start(15);
    type(u"офис, этаж 3"_qs);
    const QString backup = writeBackup();
    restore(backup, u"Дача"_qs, "cmdRestorePage");
    EXPECT_EQ(userTitles(), (QStringList{u"Работа"_qs, u"Дача (01.03.2026)"_qs, u"Дача"_qs}));
    EXPECT_EQ(view(book().pages())[15], u"Дача (01.03.2026)|старая дача|0"_qs);
    // The open page stays open with what was typed into it; nothing was overwritten.
    EXPECT_EQ(fields(state(), tabs()->pageCount(), keptBooks().size(), window()->pageText()),
              u"15 15 1 0 17 0 офис, этаж 3"_qs);

    // From a built-in page it goes after the last built-in page.
    open(3);
    restore(backup, u"Врачи"_qs, "cmdRestorePage");
    EXPECT_EQ(userTitles().constFirst(), u"Врачи (01.03.2026)"_qs);
    EXPECT_EQ(book().RecentPage, 3);
}

TEST_F(BackupsTest, RestoredTitlesReadBackAsWritten)
{
    const QString pattern = BuiltInTexts::text(TextId::RestoredPageTitle);
    // A title that would read back otherwise (a text page's marker, quotes
    // that turn into apostrophes) gives way to the date alone.
    for (const auto& [with, title, expected] :
         {std::tuple{pattern, u"Дача"_qs, u"Дача (01.03.2026)"_qs},
          {pattern, u"~Заметки"_qs, u"01.03.2026"_qs},
          {pattern, u"a'\"b"_qs, u"01.03.2026"_qs},
          {QString(), u"Дача"_qs, u"01.03.2026"_qs},
          {u"%2: %1"_qs, u"100%2"_qs, u"01.03.2026: 100%2"_qs}})
        EXPECT_EQ(BackupCommands::restoredTitle(with, title, kMade), expected) << title;
}

TEST_F(BackupsTest, NoPageIsAddedToAFullBook)
{
    std::vector<PageRecord> pages(DataFile::MaxPages, PageRecord{u"Стр"_qs, {}, 0});
    writeAll(f.dataFile(), DataFile::serialize(pages));
    app = f.started();
    restore(writeBackup(), u"Дача"_qs, "cmdRestorePage");
    EXPECT_EQ(fields(book().pageCount(), book().isChanged()), "32767 false");
    EXPECT_TRUE(f.messages.texts().value(0).contains(u"32767"_qs)) << told();
}

TEST_F(BackupsTest, OverTheCurrentPageOnlyOnceAgreedAndWithTheBookKeptFirst)
{
    start(16);
    type(u"новая дача, забор"_qs);
    const QString backup = writeBackup();
    QStringList listed;
    restore(backup, u"Дача"_qs, [&](QDialog& dialog) {
        f.messages.queueAnswer(false);
        clickChild(&dialog, "cmdReplacePage");
        EXPECT_EQ(keptBooks().join(' ') + window()->pageText(), u"новая дача, забор"_qs)
            << "No changes nothing and keeps nothing";
        f.messages.queueAnswer(true);
        clickChild(&dialog, "cmdReplacePage");
        listed << dialog.findChild<QTreeWidget*>("lstBackups")->topLevelItem(0)->toolTip(3);
    });
    EXPECT_TRUE(f.messages.texts().value(0).startsWith(
        u"Заменить текст страницы «Дача» текстом страницы «Дача» из копии от 01.03.2026?"_qs))
        << told();
    // The page keeps its place and title and takes the old text and kind.
    EXPECT_EQ(view(book().pages())[15] + u'|' + window()->pageText() + u'|' + state(),
              u"Дача|старая дача|0|старая дача|16 16 1 0"_qs);
    // The book as it was, typing included, lies beside the data file and is
    // the newest copy the window lists.
    ASSERT_EQ(keptBooks().size(), 1);
    const QString kept = f.dataFolder + keptBooks().constFirst();
    EXPECT_EQ(listed, QStringList{QDir::toNativeSeparators(kept)});
    EXPECT_EQ(pageText(readAll(kept), 16), u"новая дача, забор"_qs);
}

TEST_F(BackupsTest, TheWholeBookIsRestoredSavedAsUsualAndUndoneByItsKeptCopy)
{
    start(16);
    type(u"новая дача, забор"_qs);
    app->flushOpenPage();
    const QStringList original = view(book().pages());
    f.messages.queueAnswer(true);
    restore(writeBackup(), {}, "cmdRestoreBook");
    const QStringList restored = view(book().pages());
    EXPECT_EQ(userTitles(), (QStringList{u"Дача"_qs, u"Врачи"_qs}));
    EXPECT_EQ(fields(state(), tabs()->pageCount(), keptBooks().size(), window()->pageText()),
              u"16 16 1 0 16 1 Петров, терапевт"_qs);

    // The restore is the user's edit: the next save writes it without taking
    // the data file for another program's.
    f.messages.clear();
    app->saveCommand();
    EXPECT_EQ(told() + state(), "16 16 0 1");
    EXPECT_EQ(view(DataFile::parse(readAll(f.dataFile())).pages), restored);

    // Undone by restoring the copy kept, which keeps the restored book in turn.
    f.messages.queueAnswer(true);
    restore(f.dataFolder + keptBooks().constFirst(), {}, "cmdRestoreBook");
    EXPECT_EQ(view(book().pages()), original);
    EXPECT_EQ(keptBooks().size(), 2);
    app->saveCommand();
    EXPECT_EQ(view(DataFile::parse(readAll(f.dataFile())).pages), original);
}

// The copy itself is left untouched: BackupCatalog.ReadsWholeCopiesAndRefusesDamagedOnes.
TEST_F(BackupsTest, ADamagedBackupIsRefusedWithItsReason)
{
    start(15);
    const QString backup = writeBackup("3\r\n\"АБ\",\"\"\r\n\"Дача\",\"не закрыта\r\n");
    const QStringList before = view(book().pages());
    f.messages.queueAnswer(true);
    restore(backup, {}, "cmdRestoreBook");
    EXPECT_TRUE(f.messages.only().contains(QDir::toNativeSeparators(backup)) &&
                told().contains(u"она повреждена (строка 3:"_qs))
        << told();
    EXPECT_EQ(view(book().pages()), before);
    EXPECT_EQ(state() + keptBooks().join(' '), "15 15 0 1");
}
