#include "cli/cli_book.h"

#include "document/data_file.h"
#include "document/page_import.h"

#include <QFile>
#include <QFileInfo>

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
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.problem = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return result;
    }
    DataFile::ParseResult parsed = DataFile::parse(bytes);
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
