#include "cli/cli_book.h"

#include "core/bounded_file.h"
#include "document/data_file.h"
#include "document/page_import.h"

#include <QFile>
#include <cstdio>

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;

// A pipe has no size to look at first: the ceiling holds while it is read.
BoundedFile::Result readStandardInput()
{
    BoundedFile::Result result;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        result.problem = BoundedFile::Problem::CannotRead;
        result.error = in.errorString();
        return result;
    }
    QByteArray bytes;
    while (bytes.size() <= DataFile::MaxFileBytes) {
        const QByteArray chunk = in.read(kChunkBytes);
        if (in.error() != QFileDevice::NoError) {
            result.problem = BoundedFile::Problem::CannotRead;
            result.error = in.errorString();
            return result;
        }
        if (chunk.isEmpty()) {
            result.bytes = std::move(bytes);
            return result;
        }
        bytes += chunk;
    }
    result.problem = BoundedFile::Problem::TooLarge;
    result.error = QStringLiteral("File too large (over %1 bytes)").arg(DataFile::MaxFileBytes);
    return result;
}

} // namespace

CliBook::Loaded CliBook::read(const QString& path, bool cleanUp)
{
    Loaded result;
    const BoundedFile::Result file = path == QLatin1String("-")
                                         ? readStandardInput()
                                         : BoundedFile::read(path, DataFile::MaxFileBytes);
    if (!file.bytes) {
        const QString what = file.problem == BoundedFile::Problem::CannotRead
                                 ? QStringLiteral("cannot read")
                                 : QStringLiteral("not a book file");
        result.problem = QStringLiteral("%1: %2: %3").arg(path, what, file.error);
        return result;
    }
    DataFile::ParseResult parsed = DataFile::parse(*file.bytes);
    if (!parsed.ok()) {
        result.problem = QStringLiteral("%1: %2").arg(path, parsed.error->text());
        return result;
    }
    result.pages = std::move(parsed.pages);
    result.trailingLine = parsed.trailingLine;
    if (!cleanUp)
        return result;
    for (PageRecord& page : result.pages) {
        if (page.Kind == PageRecord::AddressPage)
            page.Text = PageImport::Import(page.Text);
    }
    return result;
}
