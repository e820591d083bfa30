#include "cli/cli_book.h"

#include "core/bounded_file.h"
#include "document/page_import.h"

CliBook::CliBook(const QString& path)
{
    BoundedFile::Result file = BoundedFile::read(path, DataFile::MaxFileBytes);
    if (!file.bytes) {
        const QString what = file.problem == BoundedFile::Problem::CannotRead
                                 ? QStringLiteral("cannot read")
                                 : QStringLiteral("not a book file");
        m_problem = QStringLiteral("%1: %2: %3").arg(path, what, file.error);
        return;
    }
    m_bytes = std::move(*file.bytes);
    m_index = DataFile::index(m_bytes);
    if (!m_index.ok())
        m_problem = QStringLiteral("%1: %2").arg(path, m_index.error->text());
}

PageRecord CliBook::page(size_t number, bool cleanUp) const
{
    PageRecord page = m_index.page(number - 1);
    if (cleanUp && page.Kind == PageRecord::AddressPage)
        page.Text = PageImport::Import(page.Text);
    return page;
}

std::vector<PageRecord> CliBook::pages(bool cleanUp) const
{
    std::vector<PageRecord> pages;
    pages.reserve(pageCount());
    for (size_t number = 1; number <= pageCount(); ++number)
        pages.push_back(page(number, cleanUp));
    return pages;
}
