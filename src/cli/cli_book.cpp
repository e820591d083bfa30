#include "cli/cli_book.h"

#include "core/bounded_file.h"
#include "document/data_file.h"
#include "document/page_import.h"

CliBook::Loaded CliBook::read(const QString& path, bool cleanUp)
{
    Loaded result;
    const BoundedFile::Result file = BoundedFile::read(path, DataFile::MaxFileBytes);
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
