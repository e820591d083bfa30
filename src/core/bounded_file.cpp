#include "core/bounded_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;

} // namespace

BoundedFile::Result BoundedFile::read(const QString& path, qint64 maxBytes)
{
    Result result;
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("Is a folder");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (!file.isSequential() && file.size() > maxBytes) {
        result.tooLarge = true;
        result.error = QStringLiteral("File too large");
        return result;
    }
    QByteArray bytes;
    while (true) {
        const QByteArray chunk = file.read(std::min(kChunkBytes, maxBytes + 1 - bytes.size()));
        if (file.error() != QFileDevice::NoError) {
            result.error = file.errorString();
            return result;
        }
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > maxBytes) {
            result.tooLarge = true;
            result.error = QStringLiteral("File too large");
            return result;
        }
    }
    result.bytes = std::move(bytes);
    return result;
}
