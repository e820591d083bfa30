#include "app/page_commands.h"

#include "app/application.h"
#include "app/file_dialogs.h"
#include "core/code_page.h"
#include "core/sequential_file_reader.h"
#include "dialogs/input_box.h"
#include "document/data_file.h"
#include "document/page_import_file.h"
#include "document/page_sort.h"
#include "rules/page_menu_rules.h"

#include <QDir>
#include <QFileDialog>

namespace {

using PageCommand = MainWindowHost::PageCommand;

// The popup item a command belongs to; the popup's rules say when it is offered.
QString itemOf(PageCommand command)
{
    switch (command) {
    case PageCommand::Add:
        return QStringLiteral("mnuMainAdd");
    case PageCommand::Rename:
        return QStringLiteral("mnuMainRename");
    case PageCommand::Delete:
        return QStringLiteral("mnuMainDelete");
    case PageCommand::MoveUp:
        return QStringLiteral("mnuMainUp");
    case PageCommand::MoveDown:
        return QStringLiteral("mnuMainDown");
    case PageCommand::Sort:
        return QStringLiteral("mnuMainSort");
    case PageCommand::ConvertToAddress:
        return QStringLiteral("mnuMainConvertAddress");
    case PageCommand::ConvertToText:
        return QStringLiteral("mnuMainConvertText");
    case PageCommand::Import:
        return QStringLiteral("mnuMainImport");
    }
    return {};
}

// Only spaces, as the earlier program trimmed: a tab stays part of the name.
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

bool PageCommands::allowed(PageCommand command) const
{
    if (command == PageCommand::Import)
        return true;
    const Book& book = m_app.book();
    const int current = book.RecentPage;
    if (current < 1 || current > book.PageCount())
        return false;
    const PageMenuRules::State rules = PageMenuRules::forPage(
        current, book.PageCount(), book.LastIntPage,
        book.Pages[static_cast<std::size_t>(current)].Kind, m_app.options().EnableSort);
    const auto on = [](const QHash<QString, bool>& table, const QString& item) {
        return table.value(item, true);
    };
    const QString item = itemOf(command);
    if (command == PageCommand::ConvertToAddress || command == PageCommand::ConvertToText)
        return on(rules.visible, QStringLiteral("mnuMainConvert")) && on(rules.enabled, item);
    return on(rules.visible, item);
}

void PageCommands::run(PageCommand command)
{
    if (!allowed(command))
        return;
    switch (command) {
    case PageCommand::Add:
        add();
        break;
    case PageCommand::Rename:
        rename();
        break;
    case PageCommand::Delete:
        remove();
        break;
    case PageCommand::MoveUp:
        move(-1);
        break;
    case PageCommand::MoveDown:
        move(1);
        break;
    case PageCommand::Sort:
        sort();
        break;
    case PageCommand::ConvertToAddress:
        convert(PageRecord::AddressPage);
        break;
    case PageCommand::ConvertToText:
        convert(PageRecord::TextPage);
        break;
    case PageCommand::Import:
        import();
        break;
    }
}

void PageCommands::warn(const QString& text)
{
    m_app.messages().show(text, MessageService::Icon::Exclamation);
}

std::optional<QString> PageCommands::askTitle(TextId prompt, TextId title, const QString& preset)
{
    const auto text = [this](TextId id) { return m_app.localizedText(id); };
    const QString answer =
        trimSpaces(InputBoxEx(text(prompt), text(title), preset, m_app.mainWindow(), text));
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
    Book& book = m_app.book();
    if (book.isFull()) {
        warn(m_app.localizedText(TextId::BookFull).arg(Book::MaxPages));
        return;
    }
    const std::optional<QString> title =
        askTitle(TextId::NewPage, TextId::NewPageTitle, m_app.localizedText(TextId::NewPageDef));
    // An autosave may have reloaded the book while the box was open.
    if (!title || !allowed(PageCommand::Add))
        return;
    m_app.flushOpenPage();
    if (!book.InsertPage(*title, book.RecentPage))
        return;
    m_app.RebuildTabs();
}

void PageCommands::rename()
{
    Book& book = m_app.book();
    const std::optional<QString> title =
        askTitle(TextId::RenamePagePrompt, TextId::CommonRename,
                 book.Pages[static_cast<std::size_t>(book.RecentPage)].Title);
    if (!title || !allowed(PageCommand::Rename))
        return;
    m_app.flushOpenPage();
    book.Pages[static_cast<std::size_t>(book.RecentPage)].Title = *title;
    book.MarkBookChanged();
    m_app.RebuildTabs();
}

void PageCommands::remove()
{
    if (!m_app.messages().ask(m_app.localizedText(TextId::DeletePageConfirm)) ||
        !allowed(PageCommand::Delete))
        return;
    Book& book = m_app.book();
    // The open page's edits belong to the page being deleted, not to the one
    // that takes its place.
    m_app.flushOpenPage();
    const int deleted = book.RecentPage;
    if (deleted == book.PageCount())
        book.RecentPage = static_cast<qint16>(deleted - 1);
    book.DeletePage(deleted);
    m_app.RebuildTabs();
}

void PageCommands::move(int by)
{
    Book& book = m_app.book();
    m_app.flushOpenPage();
    const int current = book.RecentPage;
    book.RecentPage = static_cast<qint16>(current + by);
    if (by < 0)
        book.SwapPages(current);
    else
        book.MovePageDown(current);
    m_app.RebuildTabs();
}

// The sorted page is plain text. Its formatting is gone, so the user is asked
// first when it has any; the sort is one edit that Ctrl+Z takes back whole.
void PageCommands::sort()
{
    Book& book = m_app.book();
    m_app.flushOpenPage();
    const PageRecord& page = book.Pages[static_cast<std::size_t>(book.RecentPage)];
    if (PageSort::losesFormatting(page.Text, m_app.mainWindow()->pageFont()) &&
        !m_app.messages().ask(m_app.localizedText(TextId::SortLosesFormatting)))
        return;
    MainWindow* window = m_app.mainWindow();
    window->replacePageText(PageSort::sortedText(window->pageText()));
}

void PageCommands::convert(qint32 kind)
{
    Book& book = m_app.book();
    m_app.flushOpenPage();
    book.Pages[static_cast<std::size_t>(book.RecentPage)].Kind = kind;
    book.MarkBookChanged();
    m_app.RebuildTabs();
}

void PageCommands::import()
{
    QFileDialog dialog(m_app.mainWindow(), m_app.localizedText(TextId::ImportTitle));
    dialog.setObjectName(QStringLiteral("cdgImport"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogs::nameFilters(m_app.localizedText(TextId::ImportFilter)));
    dialog.setDirectory(m_app.storage().FilePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    BoundedFile::Result failure;
    const std::optional<QStringList> fields =
        SequentialFileReader::readFields(path, PageImportFile::MaxFileBytes, &failure);
    if (!fields) {
        const auto text = [this](TextId id) { return m_app.localizedText(id); };
        warn(
            m_app.localizedText(TextId::ImportUnreadable)
                .arg(QDir::toNativeSeparators(path), FileDialogs::unreadableReason(failure, text)));
        return;
    }
    m_app.flushOpenPage();
    if (PageImportFile::apply(m_app.book(), *fields) > 0)
        m_app.book().MarkBookChanged();
    m_app.RebuildTabs();
}
