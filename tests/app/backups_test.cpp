// The backups window over the real notebook: each restore path from the main
// popup, what is kept before anything is overwritten, the undo of a restore
// by the copy kept, and a damaged backup refused and left as it was.

#include "app/backup_commands.h"
#include "app_fixture.h"
#include "dialogs/backups_dialog.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "ui/tab_column.h"
#include "window_driver.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

constexpr int kLetters = 14;
const QDateTime kMade(QDate(2026, 3, 1), QTime(9, 30));

struct PageView
{
    QString title;
    QString text; // plain
    qint32 kind = 0;
    friend bool operator==(const PageView&, const PageView&) = default;
    friend std::ostream& operator<<(std::ostream& out, const PageView& page)
    {
        return out << page.title.toStdString() << '|' << page.text.toStdString() << '|'
                   << page.kind;
    }
};

std::vector<PageView> view(std::span<const PageRecord> pages)
{
    std::vector<PageView> out;
    for (const PageRecord& page : pages)
        out.push_back({page.Title, RtfPlainText::extract(page.Text), page.Kind});
    return out;
}

class BackupsTest : public ::testing::Test
{
protected:
    // The fourteen letter pages, then user pages "Работа" and "Дача".
    void start(int page)
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages[0].Text = u"Иванов\t555-12-34"_qs;
        pages.push_back({u"Работа"_qs, u"офис"_qs, 0});
        pages.push_back({u"Дача"_qs, u"новая дача"_qs, 1});
        writeAll(f.dataFile(), DataFile::serialize(pages));
        f.write("Options", "RecentPage", QString::number(page));
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    MainWindow* window() const { return app->mainWindow(); }
    Book& book() const { return app->book(); }
    QString exeBase() const
    {
        return Folders::exeBaseName(QCoreApplication::applicationFilePath());
    }
    QString backupPath(int period) const
    {
        return app->folders().HistoryFolder + exeBase() + u'.' + QString::number(period);
    }
    // The backup of period 5: the letters, "Дача" as an address page with
    // its old text, and a page the book no longer has.
    QString writeBackup(const QByteArray& bytes = {})
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages.push_back({u"Дача"_qs, u"старая дача"_qs, 0});
        pages.push_back({u"Врачи"_qs, u"Петров, терапевт"_qs, 0});
        const QString path = backupPath(5);
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
    QStringList userTitles() const
    {
        QStringList out;
        for (const PageRecord& page : book().pages())
            out << page.Title;
        return out.mid(kLetters);
    }

    // Opens the window from the main popup, runs `drive` on it while it is
    // up, then closes it.
    void withWindow(const std::function<void(BackupsDialog&)>& drive)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<BackupsDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            drive(*dialog);
            dialog->reject();
        });
        window()->menus()->item("mnuMainBackups")->trigger();
        EXPECT_TRUE(shown);
    }
    static void chooseCopy(BackupsDialog& dialog, const QString& path)
    {
        auto* list = dialog.findChild<QTreeWidget*>("lstBackups");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            if (list->topLevelItem(row)->toolTip(3) == QDir::toNativeSeparators(path))
                list->setCurrentItem(list->topLevelItem(row));
        }
        ASSERT_TRUE(list->currentItem()) << path.toStdString();
    }
    static void choosePage(BackupsDialog& dialog, const QString& title)
    {
        auto* pages = dialog.findChild<QListWidget*>("lstPages");
        const QList<QListWidgetItem*> found = pages->findItems(title, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << title.toStdString();
        pages->setCurrentItem(found.constFirst());
    }
    static void click(BackupsDialog& dialog, const char* name)
    {
        dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

} // namespace

TEST_F(BackupsTest, APageIsAddedWhereAddWouldPutItTitledWithTheCopysDate)
{
    start(15);
    typeOver(*app, u"офис, этаж 3"_qs);
    const QString backup = writeBackup();
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        choosePage(dialog, u"Дача"_qs);
        click(dialog, "cmdRestorePage");
    });
    EXPECT_EQ(userTitles(), (QStringList{u"Работа"_qs, u"Дача (01.03.2026)"_qs, u"Дача"_qs}));
    EXPECT_EQ(view(book().pages())[15], (PageView{u"Дача (01.03.2026)"_qs, u"старая дача"_qs, 0}));
    // The open page stays open with what was typed into it; nothing was overwritten.
    EXPECT_EQ(book().RecentPage, 15);
    EXPECT_EQ(window()->pageText(), u"офис, этаж 3"_qs);
    EXPECT_EQ(window()->tabColumn()->pageCount(), 17);
    EXPECT_TRUE(book().isChanged());
    EXPECT_TRUE(keptBooks().isEmpty());

    // From a built-in page it goes after the last built-in page.
    app->SelectPage(3);
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        choosePage(dialog, u"Врачи"_qs);
        click(dialog, "cmdRestorePage");
    });
    EXPECT_EQ(userTitles().constFirst(), u"Врачи (01.03.2026)"_qs);
    EXPECT_EQ(book().RecentPage, 3);
}

TEST_F(BackupsTest, RestoredTitlesReadBackAsWritten)
{
    const QString pattern = BuiltInTexts::text(TextId::RestoredPageTitle);
    EXPECT_EQ(BackupCommands::restoredTitle(pattern, u"Дача"_qs, kMade), u"Дача (01.03.2026)"_qs);
    // A title that would read back otherwise (a text page's marker, quotes
    // that turn into apostrophes) gives way to the date alone.
    EXPECT_EQ(BackupCommands::restoredTitle(pattern, u"~Заметки"_qs, kMade), u"01.03.2026"_qs);
    EXPECT_EQ(BackupCommands::restoredTitle(pattern, u"a'\"b"_qs, kMade), u"01.03.2026"_qs);
    EXPECT_EQ(BackupCommands::restoredTitle(QString(), u"Дача"_qs, kMade), u"01.03.2026"_qs);
    EXPECT_EQ(BackupCommands::restoredTitle(u"%2: %1"_qs, u"100%2"_qs, kMade),
              u"01.03.2026: 100%2"_qs);
}

TEST_F(BackupsTest, NoPageIsAddedToAFullBook)
{
    std::vector<PageRecord> pages(DataFile::MaxPages, PageRecord{u"Стр"_qs, {}, 0});
    writeAll(f.dataFile(), DataFile::serialize(pages));
    app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    const QString backup = writeBackup();
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        choosePage(dialog, u"Дача"_qs);
        click(dialog, "cmdRestorePage");
    });
    EXPECT_EQ(book().PageCount(), DataFile::MaxPages);
    EXPECT_FALSE(book().isChanged());
    EXPECT_TRUE(f.messages.texts().value(0).contains(u"32767"_qs))
        << f.messages.texts().value(0).toStdString();
}

TEST_F(BackupsTest, OverTheCurrentPageOnlyOnceAgreedAndWithTheBookKeptFirst)
{
    start(16);
    typeOver(*app, u"новая дача, забор"_qs);
    const QString backup = writeBackup();
    QStringList listed;
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        choosePage(dialog, u"Дача"_qs);
        f.messages.queueAnswer(false);
        click(dialog, "cmdReplacePage");
        EXPECT_TRUE(keptBooks().isEmpty()) << "No changes nothing and keeps nothing";
        EXPECT_EQ(window()->pageText(), u"новая дача, забор"_qs);
        f.messages.queueAnswer(true);
        click(dialog, "cmdReplacePage");
        listed << dialog.findChild<QTreeWidget*>("lstBackups")->topLevelItem(0)->toolTip(3);
    });
    EXPECT_TRUE(f.messages.texts().value(0).startsWith(
        u"Заменить текст страницы «Дача» текстом страницы «Дача» из копии от 01.03.2026?"_qs))
        << f.messages.texts().value(0).toStdString();
    // The page keeps its place and title and takes the old text and kind.
    EXPECT_EQ(view(book().pages())[15], (PageView{u"Дача"_qs, u"старая дача"_qs, 0}));
    EXPECT_EQ(window()->pageText(), u"старая дача"_qs);
    EXPECT_TRUE(book().isChanged());
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
    typeOver(*app, u"новая дача, забор"_qs);
    app->flushOpenPage();
    const std::vector<PageView> original = view(book().pages());
    const QString backup = writeBackup();
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        f.messages.queueAnswer(true);
        click(dialog, "cmdRestoreBook");
    });
    const std::vector<PageView> restored = view(book().pages());
    EXPECT_EQ(userTitles(), (QStringList{u"Дача"_qs, u"Врачи"_qs}));
    EXPECT_EQ(window()->tabColumn()->pageCount(), 16);
    EXPECT_EQ(book().RecentPage, 16);
    EXPECT_EQ(window()->pageText(), u"Петров, терапевт"_qs);
    EXPECT_TRUE(book().isChanged());
    ASSERT_EQ(keptBooks().size(), 1);

    // The restore is the user's edit: the next save writes it without taking
    // the data file for another program's.
    f.messages.clear();
    app->saveCommand();
    EXPECT_TRUE(f.messages.texts().isEmpty()) << f.messages.texts().join('\n').toStdString();
    EXPECT_EQ(view(DataFile::parse(readAll(f.dataFile())).pages), restored);
    EXPECT_FALSE(book().isChanged());

    // Undone by restoring the copy kept, which keeps the restored book in turn.
    const QString kept = f.dataFolder + keptBooks().constFirst();
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, kept);
        f.messages.queueAnswer(true);
        click(dialog, "cmdRestoreBook");
    });
    EXPECT_EQ(view(book().pages()), original);
    EXPECT_EQ(keptBooks().size(), 2);
    app->saveCommand();
    EXPECT_EQ(view(DataFile::parse(readAll(f.dataFile())).pages), original);
}

TEST_F(BackupsTest, ADamagedBackupIsRefusedWithItsReasonAndLeftAsItIs)
{
    start(15);
    const QByteArray damaged = "3\r\n\"АБ\",\"\"\r\n\"Дача\",\"не закрыта\r\n";
    const QString backup = writeBackup(damaged);
    const QDateTime modified = QFileInfo(backup).lastModified();
    const std::vector<PageView> before = view(book().pages());
    withWindow([&](BackupsDialog& dialog) {
        chooseCopy(dialog, backup);
        f.messages.queueAnswer(true);
        click(dialog, "cmdRestoreBook");
    });
    ASSERT_EQ(f.messages.texts().size(), 1);
    const QString message = f.messages.texts().constFirst();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(backup))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"она повреждена (строка 3:"_qs)) << message.toStdString();
    EXPECT_EQ(readAll(backup), damaged);
    EXPECT_EQ(QFileInfo(backup).lastModified(), modified);
    EXPECT_EQ(QDir(app->folders().HistoryFolder).entryList(QDir::Files),
              QStringList{QFileInfo(backup).fileName()});
    EXPECT_EQ(view(book().pages()), before);
    EXPECT_FALSE(book().isChanged());
    EXPECT_TRUE(keptBooks().isEmpty());
}
