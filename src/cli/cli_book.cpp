#include "cli/cli_book.h"

#include "core/bounded_file.h"
#include "document/data_file.h"
#include "document/page_import.h"

#include <QFileInfo>

namespace {

// Far beyond any real book; a device given by mistake (/dev/zero) stops here.
constexpr qint64 kMaxBookBytes = qint64(256) << 20;

} // namespace

CliBook::Loaded CliBook::read(const QString& path, bool cleanUp)
{
    Loaded result;
    if (QFileInfo(path).isDir()) {
        result.problem = QStringLiteral("%1: is a folder, not a book file").arg(path);
        return result;
    }
    const BoundedFile::Result file = BoundedFile::read(path, kMaxBookBytes);
    if (file.tooLarge) {
        result.problem = QStringLiteral("%1: larger than 256 MB, not a book file").arg(path);
        return result;
    }
    if (!file.bytes) {
        result.problem = QStringLiteral("%1: cannot read: %2").arg(path, file.error);
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
