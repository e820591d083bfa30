#include "cli/cli_book.h"

#include "document/data_file.h"
#include "document/page_import.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A regular file's size is known and read at once. A device or pipe given by
// mistake (/dev/zero) might never end: it is read up to a bound far beyond any
// real book.
constexpr qint64 kMaxStreamBytes = qint64(256) << 20;
constexpr qint64 kChunkBytes = qint64(1) << 20;

// nullopt when a stream does not end within kMaxStreamBytes.
std::optional<QByteArray> readBounded(QFile& file)
{
    if (!file.isSequential())
        return file.readAll();
    QByteArray bytes;
    while (bytes.size() <= kMaxStreamBytes) {
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty())
            return bytes;
        bytes += chunk;
    }
    return std::nullopt;
}

} // namespace

CliBook::Loaded CliBook::read(const QString& path, bool cleanUp)
{
    Loaded result;
    if (QFileInfo(path).isDir()) {
        result.problem = QStringLiteral("%1: is a folder, not a book file").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = QStringLiteral("%1: cannot open: %2").arg(path, file.errorString());
        return result;
    }
    const std::optional<QByteArray> bytes = readBounded(file);
    if (file.error() != QFileDevice::NoError) {
        result.problem = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return result;
    }
    if (!bytes) {
        result.problem =
            QStringLiteral("%1: does not end within 256 MB, not a book file").arg(path);
        return result;
    }
    DataFile::ParseResult parsed = DataFile::parse(*bytes);
    if (!parsed.ok()) {
        result.problem = QStringLiteral("%1: %2").arg(path, parsed.error->text());
        return result;
    }
    result.pages = std::move(parsed.pages);
    if (!cleanUp)
        return result;
    for (PageRecord& page : result.pages) {
        if (page.Kind == PageRecord::AddressPage)
            page.Text = PageImport::Import(page.Text);
    }
    return result;
}
