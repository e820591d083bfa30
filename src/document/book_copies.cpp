#include "document/book_copies.h"

#include "core/bounded_file.h"
#include "core/safe_file.h"
#include "document/book_cipher.h"
#include "document/book_storage.h"
#include "document/data_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int kPeriods = 36;

// Every name beside `path` that starts with its file name and a full stop.
QStringList namesAfter(const QString& path)
{
    const QFileInfo file(path);
    QStringList found;
    for (const QFileInfo& entry :
         file.dir().entryInfoList({file.fileName() + QStringLiteral(".*")}, QDir::Files))
        found << entry.filePath();
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
        if (SafeFile::writeWhole(path, bytes, QFileInfo(path).permissions())) {
            result.failed << path;
            if (!sealed)
                result.plainLeft << path;
        }
    }
    return result;
}
