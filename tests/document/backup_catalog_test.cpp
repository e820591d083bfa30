#include "document/backup_catalog.h"
#include "document/book_diff.h"
#include "document/data_file.h"
#include "unit_test.h"

#include <sys/stat.h>

namespace {

const QDateTime kMarch(QDate(2026, 3, 12), QTime(18, 4));

// A copy written `daysAgo` days before kMarch.
void writeCopy(const QString& path, const QByteArray& bytes, int daysAgo)
{
    ASSERT_TRUE(writeAll(path, bytes));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(kMarch.addDays(-daysAgo), QFileDevice::FileModificationTime));
}

// Every regular file of a folder with its bytes and time, to show nothing was touched.
QStringList snapshot(const QString& folder)
{
    QStringList out;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        out << info.fileName() + u' ' + QString::number(info.size()) + u' ' +
                   info.lastModified().toString(Qt::ISODateWithMs) + u' ' +
                   QString::fromLatin1(readAll(info.filePath()).toHex());
    }
    return out;
}

} // namespace

// The 36 names of the history folder and the books kept before a restore
// beside the data file; nothing else, and nothing that is not a file.
TEST(BackupCatalog, ListsBackupsNewestFirstReadsWholeOnesAndRefusesDamagedOnesUntouched)
{
    QTemporaryDir dir;
    const QString history = dir.filePath("History") + u'/';
    const QString data = dir.filePath("data") + u'/';
    const QByteArray two =
        DataFile::serialize(std::vector<PageRecord>{{"A", "x", 0}, {"B", "y", 1}});
    writeCopy(history + "velkaro.8", two, 5);
    writeCopy(history + "velkaro.36", "not a count\r\n", 90);
    writeCopy(history + "velkaro.1",
              "\xEF\xBB\xBF"
              "1\r\n\"A\",\"\"\r\n",
              60);
    writeCopy(history + "velkaro.37", two, 1);
    writeCopy(history + "velkaro.08", two, 1);
    writeCopy(history + "other.5", two, 1);
    writeCopy(data + "velkaro.dat.before-restore-2026-03-11_100000", two, 2);
    writeCopy(data + "velkaro.dat.ours-2026-03-11_100000", two, 1);
    writeCopy(data + "velkaro.dat", two, 0);
    ASSERT_TRUE(QDir().mkpath(history + "velkaro.2"));
    ASSERT_EQ(mkfifo(QFile::encodeName(history + "velkaro.3").constData(), 0600), 0);

    // Each entry as its path, kind (1: a kept book), period, page count (-1:
    // none), size and days before kMarch.
    QStringList entries;
    for (const auto& e : BackupCatalog::list(history, "velkaro", data + "velkaro.dat"))
        entries << QStringLiteral("%1 %2 %3 %4 %5 %6")
                       .arg(e.path.mid(dir.path().size() + 1))
                       .arg(int(e.kind))
                       .arg(e.period)
                       .arg(e.pageCount.value_or(-1))
                       .arg(e.size)
                       .arg(e.modified.daysTo(kMarch));
    const QString size = QString::number(two.size());
    EXPECT_EQ(entries,
              QStringList({"data/velkaro.dat.before-restore-2026-03-11_100000 1 0 2 " + size + " 2",
                           "History/velkaro.8 0 8 2 " + size + " 5",
                           "History/velkaro.1 0 1 1 14 60", "History/velkaro.36 0 36 -1 13 90"}));
    EXPECT_EQ(BackupCatalog::list(history, "velkaro", {}).size(), 3u);
    EXPECT_TRUE(BackupCatalog::list(dir.filePath("none/"), "velkaro", {}).empty());
    // The count line is read as the loader reads it.
    for (const DataCase& c : readCases("document/count_lines.cases")) {
        const std::optional<int> count = DataFile::pageCountOf(c.parts.value(0));
        EXPECT_EQ(count ? QString::number(*count) : u"none"_qs, c.text(1)) << c.name;
    }
    // Whole copies are read, damaged ones refused without being touched.
    QTemporaryDir copies;
    const QString good = copies.filePath("velkaro.1");
    // A run of tabs an older version left: cleaned up as the loader does.
    writeCopy(good,
              DataFile::serialize(
                  std::vector<PageRecord>{{"A", "Иванов\t\t\t555", 0}, {"B", "a\t\tb", 1}}),
              1);
    const BackupCatalog::Contents contents = BackupCatalog::read(good);
    ASSERT_TRUE(contents.ok());
    ASSERT_EQ(contents.pages.size(), 2u);
    EXPECT_EQ(contents.pages[0].title, "A");
    EXPECT_FALSE(contents.pages[0].text.text().contains("\t\t\t"));
    EXPECT_EQ(contents.pages[1], (PageRecord{"B", "a\t\tb", PageRecord::TextPage}));

    writeCopy(copies.filePath("velkaro.2"), "3\r\n\"A\",\"one\r\ntwo\"\r\n\"B\",\"\"\r\n", 1);
    writeCopy(copies.filePath("velkaro.3"), "1\r\n\"A\",\"x\"\r\n\"B\",\"y\"\r\n", 1);
    ASSERT_EQ(mkfifo(QFile::encodeName(copies.filePath("velkaro.4")).constData(), 0600), 0);
    const QStringList before = snapshot(copies.path());

    // Each copy as the line and number of its damage, its pages, and whether
    // it says why it could not be read.
    QStringList read;
    for (const char* name : {"velkaro.2", "velkaro.3", "velkaro.4", "none"}) {
        const BackupCatalog::Contents c = BackupCatalog::read(copies.filePath(name));
        read << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(c.damage ? c.damage->line : 0)
                    .arg(c.damage ? c.damage->error.number : 0)
                    .arg(c.pages.size())
                    .arg(c.fileError.isEmpty())
                    .arg(c.ok());
    }
    EXPECT_EQ(read, QStringList({"5 62 0 1 0", "3 62 0 1 0", "0 0 0 0 0", "0 0 0 0 0"}));
    EXPECT_EQ(snapshot(copies.path()), before);
    EXPECT_EQ(QDir(copies.path()).entryList(QDir::Files | QDir::System).size(), 4);
}

TEST(BookDiff, PagesMatchByTitleThenByTheirOrderAmongEqualTitles)
{
    const std::vector<PageRecord> before = {{"АБ", "", 0},    {"Дача", "x", 0},
                                            {"Дача", "y", 0}, {"Врачи", "z", 0},
                                            {"Дача", "w", 0}, {"Работа", "r", 0}};
    const std::vector<PageRecord> after = {{"АБ", "", 0},    {"Работа", "r", 0}, {"Дача", "x", 0},
                                           {"Новая", "", 0}, {"Дача", "y2", 0},  {"Врачи", "z", 1}};
    using C = BookDiff::Change;
    const std::vector<BookDiff::Entry> expected = {
        {C::Changed, 3, 5, "Дача"},  // the second "Дача" of each book
        {C::Changed, 4, 6, "Врачи"}, // a kind is a change
        {C::Removed, 5, 0, "Дача"},  // the third has no counterpart
        {C::Added, 0, 4, "Новая"}};
    EXPECT_EQ(BookDiff::compare(before, after), expected);

    // Reverse the roles, and a book against itself or against its pages in
    // another order: only what is really different.
    EXPECT_EQ(BookDiff::compare(after, before).size(), 4u);
    EXPECT_TRUE(BookDiff::compare(before, before).empty());
    std::vector<PageRecord> reordered(before.rbegin(), before.rend());
    std::swap(reordered[1], reordered[4]); // the three "Дача" keep their order
    EXPECT_TRUE(BookDiff::compare(before, reordered).empty());
}
