#include "crypto/book_cipher.h"
#include "crypto/book_key.h"
#include "document/backup_catalog.h"
#include "document/book_storage.h"
#include "document/history_backup.h"
#include "unit_test.h"

#include <sodium.h>

namespace {

using Problem = BookCipher::Problem;

const QString kPassword = QStringLiteral("Пароль 1");
const QByteArray kBody = QByteArrayLiteral("1\r\n\"АБ\",\"Tel 555-0199\"\r\n");

std::shared_ptr<const BookKey> makeKey(const QString& password = kPassword)
{
    return BookKey::create(password, BookKey::Limits::fastest());
}

TEST(BookCipherTest, RoundTripWithKeyAndPasswordAndRefusesWrongOnesAndAnyFlippedBitOrCut)
{
    const auto key = makeKey();
    ASSERT_TRUE(key);
    for (const QByteArray& body : {kBody, QByteArray()}) {
        const QByteArray sealed = BookCipher::seal(body, *key);
        EXPECT_EQ(std::tuple(BookCipher::isSealed(sealed), sealed.contains("555-0199"),
                             BookCipher::open(sealed, *key).plain,
                             BookCipher::open(sealed, kPassword).plain,
                             BookCipher::open(sealed, u"пароль 1"_qs).problem,
                             BookCipher::open(sealed, *makeKey()).problem),
                  std::tuple(true, false, body, body, Problem::WrongPassword, Problem::OtherKey));
    }
    // Every file gets a nonce of its own.
    EXPECT_NE(BookCipher::seal(kBody, *key), BookCipher::seal(kBody, *key));
    EXPECT_EQ(BookCipher::open(kBody, *key).problem, Problem::NotSealed);
    // Any flipped bit or cut is refused whole.
    const QByteArray sealed = BookCipher::seal(kBody, *key);
    const int body = BookCipher::HeaderBytes;
    // magic, version, limits, salt, check value, nonce, header hash, body, tag
    for (const int at : {2, 8, 13, 25, 40, 80, 100, body + 3, int(sealed.size()) - 1}) {
        const Problem problem = at == 2 ? Problem::NotSealed : Problem::Damaged;
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray changed = sealed;
            changed[at] = char(changed[at] ^ (1 << bit));
            const BookCipher::Opened opened = BookCipher::open(changed, *key);
            // A version raised by the flip cannot be told from damage.
            const bool raised = at == 8 && std::uint8_t(changed[at]) > BookCipher::Version;
            EXPECT_EQ(opened.problem, raised ? Problem::DamagedOrLater : problem)
                << at << ' ' << bit;
        }
    }
    for (qsizetype size = 0; size < sealed.size(); ++size)
        EXPECT_FALSE(BookCipher::open(sealed.first(size), *key).ok()) << size;
    // A later version whose header hash holds is one.
    QByteArray later = sealed;
    later[8] = char(BookCipher::Version + 1);
    crypto_generichash(reinterpret_cast<unsigned char*>(later.data()) + 92, 16,
                       reinterpret_cast<const unsigned char*>(later.constData()), 92, nullptr, 0);
    EXPECT_EQ(BookCipher::open(later, *key).problem, Problem::LaterVersion);
    EXPECT_EQ(BookCipher::reasonText(Problem::LaterVersion), TextId::SealedLaterVersion);
}

// No file the storage writes for an encrypted book shows its text: not the
// book, a backup, the rescue copy, a copy kept beside it, nor an export.
TEST(BookCipherTest, EncryptedStorageWritesNoPlainTextAnywhere)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/data/";
    QDir().mkpath(data);
    writeAll(data + "velkaro.dat", kBody);
    Book book;
    BookStorage storage(book);
    storage.setFilePath(data);
    storage.setSettingsFolder(dir.path() + "/settings/");
    storage.setKey(makeKey());
    ASSERT_FALSE(storage.loadBook());
    book.markUnsaved();
    ASSERT_TRUE(storage.saveBook().dataSaved());
    EXPECT_FALSE(HistoryBackup::makeHistoryBackup(storage, dir.path() + "/settings/History/",
                                                  QDate(2026, 3, 11)));
    QString kept;
    EXPECT_FALSE(storage.saveCopyBeside(kept));
    EXPECT_FALSE(storage.writeRescueCopy());
    QStringList files;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files << path.mid(dir.path().size());
        EXPECT_FALSE(readAll(path).contains("555-0199")) << path.toStdString();
    }
    EXPECT_EQ(files.size(), 4) << files.join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(storage.exportPath()));
    // The backups window opens the copies with the key, and only with it.
    const auto backups = BackupCatalog::list(dir.path() + "/settings/History/", "velkaro", {});
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(backups[0].encrypted &&
                BackupCatalog::read(backups[0].path, storage.key().get()).pages.size() == 1u);
    EXPECT_EQ(BackupCatalog::read(backups[0].path).damage->error.text, TextId::SealedOtherPassword);

    // Read back with the key; a second backup of the same book is left alone.
    Book again;
    BookStorage reader(again);
    reader.setFilePath(data);
    reader.setKey(storage.key());
    ASSERT_FALSE(reader.loadBook());
    EXPECT_EQ(again.page(1).text + reader.loadReport().keptAside, u"Tel 555-0199"_qs);
}

TEST(BookCipherTest, DamagedOrForeignBookIsKeptAsideAndReplaced)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/";
    const auto key = makeKey();
    QByteArray damaged = BookCipher::seal(kBody, *key);
    damaged[damaged.size() - 20] ^= 1;
    const std::vector<std::pair<QByteArray, std::shared_ptr<const BookKey>>> cases = {
        {damaged, key},
        {BookCipher::seal(kBody, *key), makeKey()},
        {BookCipher::seal(kBody, *key), nullptr}};
    for (const auto& [bytes, readerKey] : cases) {
        writeAll(data + "velkaro.dat", bytes);
        Book book;
        BookStorage storage(book);
        storage.setFilePath(data);
        storage.setKey(readerKey);
        ASSERT_FALSE(storage.loadBook());
        const BookStorage::LoadReport& report = storage.loadReport();
        EXPECT_EQ(std::tuple(book.pageCount(), readAll(report.keptAside),
                             report.parseError ? report.parseError->error.number : 0),
                  std::tuple(14, bytes, 20002));
        QFile::remove(report.keptAside);
    }
}

} // namespace
