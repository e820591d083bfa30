#include "document/book_copies.h"

#include "core/bounded_file.h"
#include "core/safe_file.h"
#include "crypto/book_cipher.h"
#include "document/book_storage.h"
#include "document/data_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int kPeriods = 36;

// The copies the program itself kept beside `path`, by their exact names:
// "<file>.<reason>-<date>_<time>" with one of the program's reasons, and
// never a link. A file of the user's that merely starts with the same name
// ("velkaro.dat.my-notes.txt") is none of them.
QStringList namesAfter(const QString& path)
{
    const QFileInfo file(path);
    static const QRegularExpression dated(
        QStringLiteral("^\\.(unreadable|replaced|kept|original|ours|before-restore)-"
                       "\\d{4}-\\d{2}-\\d{2}_\\d{6}(-\\d{1,2})?$"));
    QStringList found;
    for (const QFileInfo& entry :
         file.dir().entryInfoList({file.fileName() + QStringLiteral(".*")},
                                  QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (dated.match(entry.fileName().mid(file.fileName().size())).hasMatch())
            found << entry.filePath();
    }
    return found;
}

bool exists(const QString& path)
{
    return QFileInfo(path).isFile() && !QFileInfo(path).isSymLink();
}

} // namespace

BookCopies::BookCopies(const BookStorage& storage, QString historyFolder)
    : m_storage(storage), m_historyFolder(std::move(historyFolder))
{}

QStringList BookCopies::copies() const
{
    QStringList found;
    for (int period = 1; period <= kPeriods; ++period) {
        const QString backup =
            m_historyFolder + m_storage.exeBaseName() + u'.' + QString::number(period);
        if (exists(backup))
            found << backup;
    }
    found << namesAfter(m_storage.fullDataPath());
    const QString bak = m_storage.filePath() + m_storage.exeBaseName() + QStringLiteral(".bak");
    if (exists(bak))
        found << bak;
    if (exists(m_storage.rescuePath()))
        found << m_storage.rescuePath();
    found << namesAfter(m_storage.rescuePath());
    return found;
}

QStringList BookCopies::exportFiles() const
{
    QStringList found;
    for (const QString& path : {m_storage.exportPath(), m_storage.exportRecordPath()}) {
        if (exists(path))
            found << path;
    }
    return found;
}

BookCopies::Result BookCopies::rewrite(const BookKey* from, const BookKey* to) const
{
    Result result;
    // Every copy as private as the book itself, whatever it was before.
    const QFileInfo book(m_storage.fullDataPath());
    const QFileDevice::Permissions permissions =
        book.isFile() ? book.permissions() : QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    for (const QString& path : copies()) {
        const BoundedFile::Result file = BoundedFile::read(path, DataFile::MaxFileBytes + 1024);
        if (!file.bytes) {
            result.failed << path;
            continue;
        }
        const bool sealed = BookCipher::isSealed(*file.bytes);
        std::optional<QByteArray> plain;
        if (!sealed && !from)
            plain = *file.bytes;
        else if (sealed && from)
            plain = BookCipher::open(*file.bytes, *from).plain;
        if (!plain) {
            if (!sealed)
                result.plainLeft << path;
            continue;
        }
        const QByteArray bytes = to ? BookCipher::seal(*plain, *to) : *plain;
        if (SafeFile::writeWhole(path, bytes, permissions)) {
            result.failed << path;
            if (!sealed)
                result.plainLeft << path;
        }
    }
    return result;
}
