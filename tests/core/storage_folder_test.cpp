#include "core/storage_folder.h"
#include "unit_test.h"

namespace {

const QChar sep = QDir::separator();

TEST(StorageFolder, FolderTextsAreAbsoluteTheBrowseStartHasNoSeparatorAndSpellingsAreCompared)
{
    EXPECT_EQ(StorageFolder::setBrowseStartFolder("d:\\books\\", Qt::CaseInsensitive), "D:\\BOOKS");
    EXPECT_EQ(StorageFolder::setBrowseStartFolder("/", Qt::CaseSensitive), "/");
    EXPECT_EQ(StorageFolder::setBrowseStartFolder("/home/Anna/Книги/", Qt::CaseSensitive),
              "/home/Anna/Книги")
        << "letter case stays where it tells names apart";
    // The folder field takes absolute paths only.
    const QString home = QDir::toNativeSeparators("/home/anna");
    EXPECT_EQ(StorageFolder::absoluteFolder("/srv/books", home),
              QDir::toNativeSeparators("/srv/books") + sep);
    EXPECT_EQ(StorageFolder::absoluteFolder("  /srv/books/ ", home),
              QDir::toNativeSeparators("/srv/books/"));
    EXPECT_EQ(StorageFolder::absoluteFolder("~/Книги", home), home + sep + QString("Книги") + sep);
    for (const char* relative : {"books", "~anna/books", ""})
        EXPECT_FALSE(StorageFolder::absoluteFolder(relative, home)) << relative;
    // Texts naming one folder are the same folder.
    QTemporaryDir dir;
    const QString books = dir.path() + "/books";
    QDir().mkpath(books);
    QDir().mkpath(dir.path() + "/other");
    EXPECT_TRUE(StorageFolder::sameFolder(books + "/", dir.path() + "/other/../books"));
#ifdef Q_OS_UNIX // a link on Windows is a shortcut file, never a folder
    ASSERT_TRUE(QFile::link(books, dir.path() + "/link"));
    EXPECT_TRUE(StorageFolder::sameFolder(books + "/", dir.path() + "/link/"));
#endif
    EXPECT_FALSE(StorageFolder::sameFolder(books, dir.path() + "/other"));
    EXPECT_FALSE(StorageFolder::sameFolder(books, dir.path() + "/missing"));
    // Letter case is judged on the folder that exists, or on its nearest parent.
    const Qt::CaseSensitivity found = StorageFolder::fileNameCase(books);
    EXPECT_EQ(found,
              QDir(dir.path() + "/BOOKS").exists() ? Qt::CaseInsensitive : Qt::CaseSensitive);
    EXPECT_EQ(StorageFolder::fileNameCase(books + "/not/yet/made"), found);
    const bool ignoresCase = found == Qt::CaseInsensitive;
    EXPECT_EQ(StorageFolder::sameFolder(books, dir.path() + "/BOOKS"), ignoresCase);
    EXPECT_EQ(StorageFolder::sameFolder(dir.path() + "/new", dir.path() + "/NEW"), ignoresCase)
        << "two spellings of a folder not made yet";
}

} // namespace
