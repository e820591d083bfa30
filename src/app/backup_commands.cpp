#include "app/backup_commands.h"

#include "app/command_handlers.h"

#include "app/book_session.h"
#include "app/notices.h"
#include "dialogs/backups_dialog.h"
#include "document/backup_catalog.h"
#include "document/data_file.h"
#include "ui/form_localizer.h"

#include <algorithm>

namespace {

// An address page's tab stops as the notebook sets them: 300 twips, and the
// marker's position less 75.
constexpr int kFirstTabStop = 300;
constexpr int kMarkerToTabStop = 75;

} // namespace

QString BackupCommands::text(TextId id)
{
    return m_notices.text(id);
}

// As the book keeps it, so it reads back the same under any locale.
QString BackupCommands::dateText(const QDateTime& made)
{
    return made.toString(text(TextId::DateInBook));
}

void BackupCommands::showWindow()
{
    BackupsDialog::Setup setup;
    setup.historyFolder = m_session.folders().historyFolder;
    setup.exeBaseName = m_session.folders().exeBaseName;
    setup.dataFilePath = m_session.storage().fullDataPath();
    setup.key = m_session.storage().key();
    setup.addressTabStops = {kFirstTabStop,
                             static_cast<int>(m_window.tabStopTwips()) - kMarkerToTabStop};
    setup.text = [this](TextId id) { return text(id); };
    setup.localize = [this](QWidget* form) { FormLocalizer::localize(form, m_localization); };
    BackupsDialog dialog(*this, m_notices.messages(), std::move(setup), m_window.dialogParent());
    dialog.exec();
}

QString BackupCommands::restoredTitle(const QString& pattern, const QString& title,
                                      const QString& madeOn)
{
    // Placed by hand rather than by arg(): a translation may name the date
    // alone, and a title may itself hold "%1".
    const QString titled = QString(pattern)
                               .replace(QLatin1String("%2"), madeOn)
                               .replace(QLatin1String("%1"), title)
                               .trimmed();
    if (titled.isEmpty() || DataFile::titleProblem(titled))
        return madeOn;
    return titled;
}

RestoreTarget::Outcome BackupCommands::insertPage(const PageRecord& page, const QDateTime& made)
{
    Book& book = m_session.book();
    if (book.isFull()) {
        m_notices.warn(text(TextId::BookFull).arg(Book::MaxPages));
        return {};
    }
    m_session.flushOpenPage();
    // Where Add puts a new page: after the open page, and so never in front
    // of a built-in page.
    const int after = std::min(std::max(book.recentPage(), book.lastIntPage()), book.pageCount());
    const QString title =
        restoredTitle(text(TextId::RestoredPageTitle), page.title, dateText(made));
    if (!book.insertPage(title, after))
        return {};
    book.setPageText(after + 1, page.text);
    book.setPageKind(after + 1, page.kind);
    m_session.rebuildTabs();
    return {true, {}, title};
}

RestoreTarget::Outcome BackupCommands::replaceCurrentPage(const PageRecord& page,
                                                          const QDateTime& made)
{
    Book& book = m_session.book();
    const auto currentTitle = [&book] { return book.page(book.recentPage()).title; };
    if (!m_notices.messages().ask(
            text(TextId::RestoreReplaceConfirm).arg(currentTitle(), page.title, dateText(made))))
        return {};
    m_session.flushOpenPage();
    const std::optional<QString> kept = keepBook();
    if (!kept)
        return {};
    const int current = book.recentPage();
    book.setPageText(current, page.text);
    // A built-in page keeps its kind, which nothing may convert; a user page
    // takes the kind the restored page had.
    if (current > book.lastIntPage())
        book.setPageKind(current, page.kind);
    m_session.rebuildTabs();
    return {true, *kept, currentTitle()};
}

RestoreTarget::Outcome BackupCommands::replaceBook(const std::vector<PageRecord>& pages,
                                                   const QDateTime& made)
{
    if (!m_notices.messages().ask(
            text(TextId::RestoreBookConfirm).arg(dateText(made), QString::number(pages.size()))))
        return {};
    m_session.flushOpenPage();
    const std::optional<QString> kept = keepBook();
    if (!kept)
        return {};
    Book& book = m_session.book();
    book.replacePages(pages);
    m_session.rebuildTabs();
    return {true, *kept, {}};
}

std::optional<QString> BackupCommands::keepBook()
{
    QString keptAs;
    const std::optional<AppError> error =
        m_session.storage().saveCopyBeside(keptAs, BackupCatalog::keptBookReason());
    if (!error)
        return keptAs;
    m_notices.warn(text(TextId::RestoreKeepFailed)
                       .arg(QStringLiteral("%1 (%2)").arg(m_notices.describe(*error),
                                                          QString::number(error->number))));
    return std::nullopt;
}

void BackupCommands::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::Backups, [this] { showWindow(); });
}
