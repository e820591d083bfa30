#include "app/book_session.h"

#include "app/notices.h"
#include "core/app_info.h"
#include "core/option_table.h"
#include "core/options.h"
#include "core/safe_file.h"
#include "core/settings_store.h"
#include "document/book_preload.h"
#include "document/history_backup.h"
#include "document/tab_cleanup.h"

#include <QDir>
#include <QThread>
#include <algorithm>

namespace {

const QString kSubs = QStringLiteral("Subs");

} // namespace

BookSession::BookSession(Options& options, SettingsStore& settings, Notices& notices,
                         QObject* parent)
    : QObject(parent), m_options(options), m_settings(settings), m_notices(notices),
      m_storage(m_book)
{
    m_storage.setPageCleanup(&TabCleanup::clean, &TabCleanup::mayNeedCollapseStored);
    connect(&m_storage, &BookStorage::fallbackBookUsed, this, &BookSession::onFallbackBookUsed);
}

std::unique_ptr<BookPreload> BookSession::preloadBook(const QString& programPath)
{
    // On a single processor the reading would only take turns with the
    // window's building, and cost more for it.
    if (QThread::idealThreadCount() < 2)
        return nullptr;
    const SettingsStore settings(SettingsStore::userSettings());
    const auto& key = OptionTable::key(OptionId::FilePath);
    const QString stored = settings.read(key.section.toString(), key.key.toString(), QString());
    return std::make_unique<BookPreload>(Folders::dataFilePath(stored, programPath),
                                         &TabCleanup::mayNeedCollapseStored);
}

void BookSession::setWindow(BookView* window, std::function<BookView::Display()> display)
{
    m_window = window;
    m_display = std::move(display);
}

void BookSession::open()
{
    m_filePathAsStored = m_options.filePath;
    m_folders = Folders::locate(m_options.filePath);
    m_storage.setFilePath(m_folders.filePath);
    m_storage.setExeBaseName(m_folders.exeBaseName);
    m_storage.setSettingsFolder(m_folders.settingsFolder);
    m_storage.setUseRtf(m_options.useRtf);
    m_book.setRecentPage(m_options.recentPage);
    for (const QString& kept : m_storage.clearSaveLitter()) {
        m_notices.present(
            m_notices.text(TextId::UnsavedTemporaryKept).arg(QDir::toNativeSeparators(kept)),
            MessageService::Icon::Exclamation);
    }
    HistoryBackup::clearLitter(m_folders.historyFolder, m_folders.exeBaseName);
    if (const std::optional<AppError> error = m_storage.loadBook())
        m_notices.presentError({*error, kSubs, QStringLiteral("Init")});
    if (!HistoryBackup::anyBackup(m_folders.historyFolder, m_folders.exeBaseName))
        m_storage.adoptFirstBook();
    m_folders.filePath = m_storage.filePath();
    m_folders.fullDataPath = m_storage.fullDataPath();
}

void BookSession::reportLoad()
{
    const BookStorage::LoadReport& report = m_storage.loadReport();
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
    if (!report.foreignLink.isEmpty()) {
        m_notices.warn(m_notices
                           .text(report.foreignFolder ? TextId::BookFolderLinkNotFollowed
                                                      : TextId::BookLinkNotFollowed)
                           .arg(native(report.foreignLink), native(m_storage.fullDataPath())));
    }
    if (!report.keptAside.isEmpty()) {
        m_notices.warn(m_notices.text(TextId::UnreadableBookKept)
                           .arg(m_notices.unreadableReason(report.fileError, report.parseError),
                                native(report.keptAside), native(m_storage.fullDataPath())));
    }
    if (report.trailingLine > 0) {
        m_notices.warn(m_notices.text(TextId::TrailingDataKept)
                           .arg(QString::number(report.trailingLine),
                                native(report.trailingKeptAs)));
    }
}

void BookSession::reportRescueCopy()
{
    if (!m_storage.hasRescue())
        return;
    // Renamed with its date so the notice comes once and a later rescue
    // never overwrites this one.
    QString kept;
    const QString shown = SafeFile::keepAside(m_storage.rescuePath(), QStringLiteral("kept"), kept)
                              ? kept
                              : m_storage.rescuePath();
    m_notices.warn(m_notices.text(TextId::RescueCopyKept)
                       .arg(QDir::toNativeSeparators(m_storage.fullDataPath()),
                            QDir::toNativeSeparators(shown)));
}

void BookSession::flushOpenPage()
{
    QString text;
    const int page = m_window ? m_window->currentPage() : 0;
    if (!m_book.hasPage(page) || !m_window->takePageEdits(text))
        return;
    m_book.setPageText(page, text);
}

void BookSession::setAlphabets(std::vector<LetterPages::Alphabet> alphabets)
{
    m_alphabets = std::move(alphabets);
    m_storage.setDefaultTitles(m_alphabets.front().titles);
}

bool BookSession::holdsOnlyEmptyLetterPages()
{
    flushOpenPage();
    const LetterPages::Alphabet& letters = LetterPages::forBook(m_book.pages(), m_alphabets);
    const std::span<const PageRecord> pages = m_book.pages();
    return std::ssize(pages) == letters.pages && std::ranges::all_of(pages, [](const PageRecord& page) {
               return page.plainText().trimmed().isEmpty();
           });
}

void BookSession::rebuildTabs()
{
    // Every load of a book ends here, so the letter pages follow the book; a
    // book of another language's letters that holds nothing takes the
    // letters of the language in use.
    const LetterPages::Alphabet& inUse = m_alphabets.front();
    if (!inUse.titles.isEmpty() && &LetterPages::forBook(m_book.pages(), m_alphabets) != &inUse &&
        holdsOnlyEmptyLetterPages()) {
        std::vector<PageRecord> pages;
        for (const QString& title : inUse.titles)
            pages.push_back({title, QString(), PageRecord::AddressPage});
        m_book.replacePages(std::move(pages));
    }
    m_book.fitPageNumbersToBook();
    const LetterPages::Alphabet& letters = LetterPages::forBook(m_book.pages(), m_alphabets);
    m_book.setLastIntPage(letters.pages);
    m_shortcuts = letters.shortcuts;
    m_window->rebuildTabs(m_book, m_display());
    selectPage(m_book.recentPage());
    Q_EMIT pagesChanged();
}

void BookSession::selectPage(int index)
{
    if (!m_book.hasPage(index))
        return;
    flushOpenPage();
    m_book.turnToPage(index);
    const PageRecord& page = m_book.page(index);
    // An encrypted book's page titles stay out of the settings.
    m_settings.write(OptionTable::captionSection.toString(), OptionTable::captionKey.toString(),
                     m_storage.encrypted() ? AppInfo::title()
                                           : AppInfo::title() + QStringLiteral(" - ") + page.title);
    m_window->showPage(page, index);
}

void BookSession::onFallbackBookUsed()
{
    m_book.setRecentPage(1);
    const OptionKey& recentPage = OptionTable::key(OptionId::RecentPage);
    m_settings.write(recentPage.section.toString(), recentPage.key.toString(), QStringLiteral("1"));
}

BookSession::SaveOutcome BookSession::save(bool closing)
{
    flushOpenPage();
    const BookStorage::SaveResult result = m_storage.saveBook();
    if (result.changedOnDisk)
        return resolveChangedOnDisk();
    return presentSave(result, closing);
}

void BookSession::claimAndSave()
{
    m_storage.claimBook();
    save();
}

BookSession::SaveOutcome BookSession::presentSave(const BookStorage::SaveResult& result,
                                                  bool closing)
{
    m_saveRefusal.reset();
    if (result.dataError) {
        m_saveRefusal = result.dataError->error;
        // Closing, the characters are named once, where the window says it stays.
        if (!closing || m_notices.nobodyThere() ||
            m_saveRefusal->text != TextId::UnencodableCharacters)
            m_notices.presentError(*result.dataError);
        return SaveOutcome::Failed;
    }
    if (result.exportError)
        m_notices.presentError(*result.exportError);
    return SaveOutcome::Saved;
}

QString BookSession::windowKeptText() const
{
    if (m_saveRefusal && m_saveRefusal->text == TextId::UnencodableCharacters &&
        m_saveRefusal->args.size() == 2) {
        return m_notices.text(TextId::UnencodableWindowKept)
            .arg(m_saveRefusal->args[0], m_saveRefusal->args[1]);
    }
    return m_notices.text(TextId::SaveFailedWindowKept);
}

BookSession::SaveOutcome BookSession::resolveChangedOnDisk()
{
    if (m_notices.nobodyThere())
        return keepBothBooks(false);
    const int choice = m_notices.messages().choose(
        m_notices.text(TextId::BookChangedOnDisk)
            .arg(QDir::toNativeSeparators(m_storage.fullDataPath())),
        {m_notices.text(TextId::BookChangedKeepBoth), m_notices.text(TextId::BookChangedReload),
         m_notices.text(TextId::BookChangedOverwrite)});
    enum
    {
        KeepBoth,
        Reload,
        Overwrite
    };
    switch (choice) {
    case KeepBoth:
        return keepBothBooks(true);
    case Reload:
        revert();
        return SaveOutcome::Saved;
    case Overwrite:
        return presentSave(m_storage.saveBook(BookStorage::OnDiskChange::Overwrite));
    default:
        return SaveOutcome::Cancelled;
    }
}

BookSession::SaveOutcome BookSession::keepBothBooks(bool reload)
{
    QString keptAs;
    if (const std::optional<AppError> error = m_storage.saveCopyBeside(keptAs)) {
        m_notices.presentError({*error, kSubs, QStringLiteral("SaveDataEx"), keptAs});
        return SaveOutcome::Failed;
    }
    m_notices.warn(
        m_notices.text(TextId::BookChangedKeptBoth).arg(QDir::toNativeSeparators(keptAs)));
    if (reload)
        revert();
    return SaveOutcome::Saved;
}

void BookSession::revert()
{
    m_window->dropPageEdits();
    if (const std::optional<AppError> error = m_storage.loadBook())
        m_notices.presentError(
            {*error, QStringLiteral("frmMain"), QStringLiteral("mnuMainRevert_Click")});
    reportLoad();
    rebuildTabs();
    m_book.markSaved();
}

void BookSession::folderChosen()
{
    m_filePathAsStored = m_storage.filePath();
    m_folders.filePath = m_storage.filePath();
    m_folders.fullDataPath = m_storage.fullDataPath();
}

QString BookSession::folderToStore() const
{
    return m_storage.loadReport().fallbackUsed ? m_filePathAsStored : m_storage.filePath();
}
