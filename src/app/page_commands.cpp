#include "app/page_commands.h"

#include "app/command_handlers.h"

#include "app/book_session.h"
#include "app/file_dialogs.h"
#include "app/notices.h"
#include "core/code_page.h"
#include "core/sequential_file_reader.h"
#include "dialogs/input_box.h"
#include "document/data_file.h"
#include "document/page_import_file.h"
#include "document/page_sort.h"

#include <QDir>
#include <QFileDialog>

namespace {

// Only spaces, as version 3.0 trimmed titles: a tab stays part of the name.
QString trimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

void PageCommands::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::AddPage, [this] { add(); });
    handlers.bind(Command::RenamePage, [this] { rename(); });
    handlers.bind(Command::DeletePage, [this] { remove(); });
    handlers.bind(Command::MovePageUp, [this] { move(-1); });
    handlers.bind(Command::MovePageDown, [this] { move(1); });
    handlers.bind(Command::SortPage, [this] { sort(); });
    handlers.bind(Command::ConvertToAddress, [this] { convert(PageRecord::AddressPage); });
    handlers.bind(Command::ConvertToText, [this] { convert(PageRecord::TextPage); });
    handlers.bind(Command::ImportNotes, [this] { import(); });
}

void PageCommands::warn(const QString& text)
{
    m_notices.warn(text);
}

std::optional<QString> PageCommands::askTitle(TextId prompt, TextId title, const QString& preset)
{
    const auto text = [this](TextId id) { return m_notices.text(id); };
    const QString answer =
        trimSpaces(askText(text(prompt), text(title), preset, m_window.dialogParent(), text));
    if (answer.isEmpty())
        return std::nullopt;
    const std::optional<DataFile::TitleProblem> problem = DataFile::titleProblem(answer);
    if (!problem)
        return answer;
    switch (*problem) {
    case DataFile::TitleProblem::LeadingTilde:
        warn(text(TextId::TitleLeadingTilde).arg(answer));
        break;
    case DataFile::TitleProblem::Apostrophes:
        warn(text(TextId::TitleApostrophes).arg(answer));
        break;
    case DataFile::TitleProblem::NoCodePageChar:
        warn(text(TextId::TitleNoCodePage).arg(answer, CodePage::encode(answer).unmappable));
        break;
    }
    return std::nullopt;
}

void PageCommands::add()
{
    Book& book = m_session.book();
    if (book.isFull()) {
        warn(m_notices.text(TextId::BookFull).arg(Book::MaxPages));
        return;
    }
    const std::optional<QString> title =
        askTitle(TextId::NewPage, TextId::NewPageTitle, m_notices.text(TextId::NewPageDef));
    if (!title)
        return;
    m_session.flushOpenPage();
    if (!book.insertPage(*title, book.recentPage()))
        return;
    m_session.rebuildTabs();
}

void PageCommands::rename()
{
    Book& book = m_session.book();
    const std::optional<QString> title = askTitle(TextId::RenamePagePrompt, TextId::CommonRename,
                                                  book.page(book.recentPage()).title);
    if (!title)
        return;
    m_session.flushOpenPage();
    book.setPageTitle(book.recentPage(), *title);
    m_session.rebuildTabs();
}

void PageCommands::remove()
{
    if (!m_notices.messages().ask(m_notices.text(TextId::DeletePageConfirm)))
        return;
    Book& book = m_session.book();
    // The open page's edits belong to the page being deleted, not to the one
    // that takes its place.
    m_session.flushOpenPage();
    const int deleted = book.recentPage();
    if (deleted == book.pageCount())
        book.setRecentPage(deleted - 1);
    book.deletePage(deleted);
    m_session.rebuildTabs();
}

void PageCommands::move(int by)
{
    Book& book = m_session.book();
    m_session.flushOpenPage();
    const int current = book.recentPage();
    book.setRecentPage(current + by);
    if (by < 0)
        book.swapPages(current);
    else
        book.movePageDown(current);
    m_session.rebuildTabs();
}

// The sorted page is plain text. Its formatting is gone, so the user is asked
// first when it has any; the sort is one edit that Ctrl+Z takes back whole.
void PageCommands::sort()
{
    Book& book = m_session.book();
    m_session.flushOpenPage();
    const PageRecord& page = book.page(book.recentPage());
    if (PageSort::losesFormatting(page.text, m_window.pageFont()) &&
        !m_notices.messages().ask(m_notices.text(TextId::SortLosesFormatting)))
        return;
    m_window.replacePageText(PageSort::sortedText(m_window.pageText()));
}

void PageCommands::convert(qint32 kind)
{
    Book& book = m_session.book();
    m_session.flushOpenPage();
    book.setPageKind(book.recentPage(), kind);
    m_session.rebuildTabs();
}

void PageCommands::import()
{
    QFileDialog dialog(m_window.dialogParent(), m_notices.text(TextId::ImportTitle));
    dialog.setObjectName(QStringLiteral("cdgImport"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogs::nameFilters(m_notices.text(TextId::ImportFilter)));
    dialog.setDirectory(m_session.storage().filePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    BoundedFile::Result failure;
    const std::optional<QStringList> fields =
        SequentialFileReader::readFields(path, PageImportFile::MaxFileBytes, &failure);
    if (!fields) {
        const auto text = [this](TextId id) { return m_notices.text(id); };
        warn(
            m_notices.text(TextId::ImportUnreadable)
                .arg(QDir::toNativeSeparators(path), FileDialogs::unreadableReason(failure, text)));
        return;
    }
    m_session.flushOpenPage();
    PageImportFile::apply(m_session.book(), *fields);
    m_session.rebuildTabs();
}
