// Reading a copy whole cleans its pages up as the book is at load, which
// takes the rich-text document; listing copies (the command-line tool) does
// not, so it lives apart and links no GUI library.
#include "document/backup_catalog.h"
#include "document/book_storage.h"
#include "document/tab_cleanup.h"

BackupCatalog::Contents BackupCatalog::read(const QString& path, const BookKey* key)
{
    Contents contents;
    const BookStorage::Plain file = BookStorage::readPlain(path, key);
    if (!file.bytes) {
        contents.fileError = file.why.fileError;
        contents.damage = file.why.parseError;
        return contents;
    }
    DataFile::ParseResult parsed = DataFile::parseInPlace(*file.bytes);
    if (!parsed.ok()) {
        contents.damage = parsed.error;
        return contents;
    }
    if (parsed.trailingLine > 0) {
        contents.damage = DataFile::Error{
            {AppError::InputPastEndOfFile, QStringLiteral("Text after the last page")},
            parsed.trailingLine};
        return contents;
    }
    for (PageRecord& page : parsed.pages) {
        if (page.kind == PageRecord::AddressPage &&
            TabCleanup::mayNeedCollapseStored(page.text.storedField()))
            page.text = TabCleanup::clean(page.text);
    }
    contents.pages = std::move(parsed.pages);
    return contents;
}
