#include "app/application.h"

#include "core/app_info.h"
#include "core/bounded_file.h"
#include "core/option_table.h"
#include "core/safe_file.h"
#include "core/system_reason.h"
#include "dialogs/about_dialog.h"
#include "dialogs/find_dialog.h"
#include "dialogs/password_dialog.h"
#include "document/history_backup.h"
#include "document/obscured_password.h"
#include "document/tab_cleanup.h"
#include "mainwindow/main_window.h"
#include "rules/window_ticks.h"
#include "ui/form_localizer.h"
#include "ui/rich_text_edit.h"
#include "ui/window_placement.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <QTimer>

namespace {

const QString kPrivacy = OptionTable::key(OptionId::Password).section.toString();
const QString kPassword = OptionTable::key(OptionId::Password).key.toString();
const QString kLegacySection = OptionTable::legacyPasswordSection.toString();
const QString kLegacyKey = OptionTable::legacyPasswordKey.toString();
const QString kSubs = QStringLiteral("Subs");
constexpr int kLogMode = 2;
constexpr qint64 kLargestNotices = 1 << 20;

} // namespace

Application::Application(Environment environment, std::unique_ptr<SettingsStore> settings,
                         MessageService& messages, QObject* parent)
    : QObject(parent), m_env(std::move(environment)), m_settings(std::move(settings)),
      m_messages(messages),
      m_localization({Folders::userSettingsFolder(), m_env.programFolder}, m_log),
      m_qtTexts(*QCoreApplication::instance()), m_storage(m_book), m_tips(m_localization)
{
    m_storage.setPageCleanup(&TabCleanup::clean);
    connect(&m_storage, &BookStorage::fallbackBookUsed, this, &Application::onFallbackBookUsed);
    m_loginPrompt = [](Application& app) { return app.showLogin(); };
}

Application::~Application() = default;

bool Application::StartUp()
{
    // The log goes with the user's files: the program folder of an installed
    // copy is not to be written.
    const QString logFolder = Folders::userSettingsFolder();
    const QString exeBase = Folders::exeBaseName(QCoreApplication::applicationFilePath());
    m_log.OpenLog(logFolder + exeBase + QStringLiteral(".log"), kLogMode);
    m_log.setSwitch(m_env.keepLogOn);
    if (m_env.keepLogOn)
        QDir().mkpath(logFolder);
    m_log.WriteLog(AppInfo::title() + QStringLiteral(" v") + AppInfo::versionText() +
                       QStringLiteral(" has been launched. No conflicting processes ") +
                       QStringLiteral("found. Now performing initialization..."),
                   EventLog::Information);
    // Qt's own buttons and dialogs speak the language of "language.ini" from
    // the first box on, the password prompt's included.
    m_qtTexts.installLanguage(localizedText(TextId::QtLanguage));

    m_mainWindow = std::make_unique<MainWindow>(*this);
    connect(&m_book, &Book::changedStateChanged, m_mainWindow.get(),
            [this](bool changed) { m_mainWindow->setSavedState(!changed); });
    // The splitter and the marker move the window's own values; every later
    // rebuild keeps them. The page record takes the marker's new stops now.
    connect(m_mainWindow.get(), &MainWindow::layoutDragged, this,
            [this](double buttonWidth, double tabStop) {
                m_options.ButtonWidth = static_cast<float>(buttonWidth);
                m_options.TabStop = static_cast<float>(tabStop);
                flushOpenPage();
            });
    m_ticks = std::make_unique<WindowTicks>(m_options);
    connect(m_ticks.get(), &WindowTicks::tipEnded, m_mainWindow.get(), &MainWindow::endTip);
    // An autosave is no choice of the user's: it claims no book for him.
    connect(m_ticks.get(), &WindowTicks::autosaveDue, this, [this] {
        if (!m_unloaded)
            saveBook();
    });
    connect(m_ticks.get(), &WindowTicks::repaintDue, m_mainWindow.get(),
            &MainWindow::repaintEditor);
    WindowPlacement::LoadFormPosition(m_mainWindow.get(), *m_settings);

    // Only one copy runs per user: no save of ours is in progress.
    m_settings->removeStaleLock();
    migratePassword();
    if (!readPassword())
        return false;
    if (!m_currentPassword.isEmpty() && !m_loginPrompt(*this))
        return false;
    if (m_nobodyThere)
        return false;

    Init();
    buildSizeAndColorMenus();
    showTipOfTheDay();
    m_hilite = HighlightColors::SetHighlightColors(
        QApplication::palette().color(QPalette::Highlight).rgb());
    localizeMainWindow();
    m_started = true;
    // A termination that came while start-up ran is carried out now that
    // there is a book to save.
    if (m_nobodyThere) {
        m_mainWindow->closeForShutdown();
        return false;
    }
    return true;
}

void Application::terminate()
{
    m_nobodyThere = true;
    closeOtherWindows();
    if (m_started && !m_unloaded)
        m_mainWindow->closeForShutdown();
    if (m_unloaded)
        QCoreApplication::exit(0);
}

void Application::closeOtherWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != m_mainWindow.get() && window->isVisible())
            window->close();
    }
}

void Application::migratePassword()
{
    const QString oldPassword = m_settings->Read(kLegacySection, kLegacyKey, QString());
    if (oldPassword.isEmpty())
        return;
    // A password that the stored form cannot hold stays where it is rather
    // than being dropped; it is still read as the plain-text password below.
    const std::optional<QString> stored = ObscuredPassword::obscure(oldPassword);
    if (!stored)
        return;
    m_settings->Write(kPrivacy, kPassword, *stored);
    m_settings->Delete(kLegacySection, kLegacyKey);
}

bool Application::readPassword()
{
    const QString legacy = m_settings->Read(kLegacySection, kLegacyKey, QString());
    const QString stored = m_settings->Read(kPrivacy, kPassword, QString());
    if (!legacy.isEmpty()) {
        m_currentPassword = legacy;
        return true;
    }
    const std::optional<QString> plain = ObscuredPassword::reveal(stored);
    if (plain) {
        m_currentPassword = *plain;
        return true;
    }
    // Opening a protected book without its password is never an option, and
    // no typed password could be checked against a damaged entry: say so and end.
    present(localizedText(TextId::DamagedPassword).arg(kPrivacy, kPassword),
            MessageService::Icon::Critical);
    return false;
}

bool Application::showLogin()
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Login, m_currentPassword, m_messages,
        [this](TextId id) { return localizedText(id); },
        [this](QWidget* form) {
            FormLocalizer::localize(form, m_localization, QStringLiteral("Login"));
        },
        m_mainWindow.get());
    dialog.exec();
    return dialog.loginAccepted();
}

void Application::Init()
{
    m_book.PrevPage = 0;
    reportRejectedOptions(m_options.load(*m_settings));
    const Options::LastIntPage lastIntPage = Options::readLastIntPage(m_localization);
    m_book.LastIntPage = lastIntPage.value;
    if (lastIntPage.rejected) {
        presentError({{AppError::TypeMismatch, {}, TextId::BadLastIntPage, {*lastIntPage.rejected}},
                      kSubs,
                      QStringLiteral("Init")});
    }
    m_shortcuts = m_localization.GetLocalizedText(QStringLiteral("Velkaro"),
                                                  QStringLiteral("Shortcuts"), QString());
    m_filePathAsStored = m_options.FilePath;
    m_folders = Folders::locate(m_options.FilePath);
    m_storage.setFilePath(m_folders.FilePath);
    m_storage.setExeBaseName(m_folders.ExeBaseName);
    m_storage.setSettingsFolder(m_folders.SettingsFolder);
    m_storage.setUseRtf(m_options.UseRtf);
    m_book.RecentPage = m_options.RecentPage;
    for (const QString& kept : m_storage.clearSaveLitter()) {
        present(localizedText(TextId::UnsavedTemporaryKept).arg(QDir::toNativeSeparators(kept)),
                MessageService::Icon::Exclamation);
    }
    if (const std::optional<AppError> error = m_storage.LoadBook())
        presentError({*error, kSubs, QStringLiteral("Init")});
    if (!HistoryBackup::anyBackup(m_folders.HistoryFolder, m_folders.ExeBaseName))
        m_storage.adoptFirstBook();
    m_folders.FilePath = m_storage.FilePath();
    m_folders.FullDataPath = m_storage.FullDataPath();
    m_mainWindow->showStatusText(m_folders.FullDataPath);
    reportLoad();
    reportRescueCopy();
    reportShutdownNotices();
    loadStyles();
    RebuildTabs();
    m_book.markSaved();
}

QString Application::stylesPath() const
{
    return m_folders.SettingsFolder + QStringLiteral("Styles.dat");
}

void Application::loadStyles()
{
    if (m_styles.Load(stylesPath())) {
        if (m_styles.droppedLines() > 0 && !m_styles.keptAside().isEmpty()) {
            present(localizedText(TextId::StylesLinesKept)
                        .arg(m_styles.droppedLines())
                        .arg(m_styles.firstDroppedLine())
                        .arg(QDir::toNativeSeparators(m_styles.keptAside())),
                    MessageService::Icon::Exclamation);
        }
        return;
    }
    present(localizedText(TextId::StylesUnreadableKept)
                .arg(describeReason(m_styles.errorString()),
                     QDir::toNativeSeparators(m_styles.keptAside())),
            MessageService::Icon::Exclamation);
}

void Application::saveStyles()
{
    QDir().mkpath(m_folders.SettingsFolder);
    if (const std::optional<AppError> error = m_styles.Save(stylesPath()))
        presentError({*error, kSubs, QStringLiteral("Unloading")});
}

void Application::reportRejectedOptions(const std::vector<Options::Rejected>& rejected)
{
    for (const Options::Rejected& bad : rejected) {
        const OptionKey& key = OptionTable::key(bad.id);
        presentError(
            {{AppError::TypeMismatch,
              {},
              TextId::BadSetting,
              {key.section.toString(), key.key.toString(), bad.value, key.defaultText.toString()}},
             kSubs,
             QStringLiteral("Init")});
    }
}

void Application::reportLoad()
{
    const BookStorage::LoadReport& report = m_storage.loadReport();
    if (!report.foreignLink.isEmpty()) {
        present(localizedText(TextId::BookLinkNotFollowed)
                    .arg(QDir::toNativeSeparators(report.foreignLink),
                         QDir::toNativeSeparators(m_storage.FullDataPath())),
                MessageService::Icon::Exclamation);
    }
    if (!report.keptAside.isEmpty()) {
        present(localizedText(TextId::UnreadableBookKept)
                    .arg(unreadableReason(report.fileError, report.parseError),
                         QDir::toNativeSeparators(report.keptAside),
                         QDir::toNativeSeparators(m_storage.FullDataPath())),
                MessageService::Icon::Exclamation);
    }
    if (report.trailingLine > 0) {
        present(localizedText(TextId::TrailingDataKept)
                    .arg(report.trailingLine)
                    .arg(QDir::toNativeSeparators(report.trailingKeptAs)),
                MessageService::Icon::Exclamation);
    }
}

QString Application::describeReason(const QString& systemText)
{
    const std::optional<TextId> reason = SystemReason::of(systemText);
    return reason ? localizedText(*reason) : systemText;
}

QString Application::unreadableReason(const QString& fileError,
                                      const std::optional<DataFile::Error>& parseError)
{
    if (!parseError)
        return describeReason(fileError);
    return localizedText(TextId::UnreadableReason)
        .arg(parseError->line)
        .arg(describe(parseError->error))
        .arg(parseError->error.number);
}

void Application::reportRescueCopy()
{
    if (!m_storage.hasRescue())
        return;
    // Renamed with its date so the notice comes once and a later rescue
    // never overwrites this one.
    QString kept;
    const QString shown = SafeFile::keepAside(m_storage.rescuePath(), QStringLiteral("kept"), kept)
                              ? kept
                              : m_storage.rescuePath();
    present(localizedText(TextId::RescueCopyKept)
                .arg(QDir::toNativeSeparators(m_storage.FullDataPath()),
                     QDir::toNativeSeparators(shown)),
            MessageService::Icon::Exclamation);
}

QString Application::noticesPath() const
{
    return m_folders.SettingsFolder + m_folders.ExeBaseName + QStringLiteral(".notices.txt");
}

void Application::reportShutdownNotices()
{
    const QString path = noticesPath();
    if (!QFileInfo(path).isFile())
        return;
    const BoundedFile::Result file = BoundedFile::read(path, kLargestNotices);
    const QString when = QLocale().toString(QFileInfo(path).lastModified(), QLocale::ShortFormat);
    QFile::remove(path);
    if (!file.bytes || file.bytes->trimmed().isEmpty())
        return;
    present(localizedText(TextId::ShutdownNotices).arg(when) + QStringLiteral("\r\n\r\n") +
                QString::fromUtf8(*file.bytes),
            MessageService::Icon::Exclamation);
}

void Application::present(const QString& text, MessageService::Icon icon)
{
    if (m_nobodyThere) {
        m_waitingNotices << text;
        return;
    }
    m_messages.show(text, icon);
}

void Application::presentError(const LocatedError& error)
{
    AppError shown = error.error;
    shown.description = describe(error.error);
    present(MessageService::formatError(shown, error.module, error.procedure),
            MessageService::Icon::None);
}

QString Application::describe(const AppError& error)
{
    if (!error.text) {
        const std::optional<TextId> reason = SystemReason::of(error);
        return reason ? localizedText(*reason) : error.description;
    }
    QString text = localizedText(*error.text);
    for (const QString& arg : error.args)
        text = text.arg(arg);
    return text;
}

void Application::writeShutdownNotices()
{
    if (m_waitingNotices.isEmpty())
        return;
    QDir().mkpath(m_folders.SettingsFolder);
    // Nothing else can be done with a notice that cannot be kept either.
    SafeFile::writeWhole(noticesPath(), m_waitingNotices.join(QStringLiteral("\r\n\r\n")).toUtf8());
    m_waitingNotices.clear();
}

QString Application::localizedText(TextId id)
{
    return m_localization.text(id);
}

MainWindow::Display Application::display() const
{
    MainWindow::Display display;
    display.ButtonWidth = m_options.ButtonWidth;
    display.Status = m_options.Status;
    display.PageColor = static_cast<quint32>(m_options.PageColor);
    display.EnableSort = m_options.EnableSort;
    display.MoveToEnd = m_options.MoveToEnd;
    display.TabStop = m_options.TabStop;
    display.LastIntPage = m_book.LastIntPage;
    display.shortcuts = m_shortcuts;
    display.codePageOnly = !m_storage.useRtf();
    for (const Style& style : m_styles)
        display.styleNames << style.Name();
    return display;
}

void Application::RebuildTabs()
{
    const int count = m_book.PageCount();
    m_book.RecentPage =
        static_cast<qint16>(std::clamp<int>(m_book.RecentPage, 1, std::max(count, 1)));
    m_book.PrevPage = static_cast<qint16>(std::clamp<int>(m_book.PrevPage, 0, count));
    m_mainWindow->RebuildTabs(m_book, display());
    SelectPage(m_book.RecentPage);
    if (m_find)
        m_find->pageListChanged();
}

void Application::SelectPage(int index)
{
    if (index < 1 || index > m_book.PageCount())
        return;
    flushOpenPage();
    if (index != m_book.RecentPage)
        m_book.PrevPage = m_book.RecentPage;
    m_book.RecentPage = static_cast<qint16>(index);
    const PageRecord& page = m_book.Pages[static_cast<std::size_t>(index)];
    m_settings->Write(OptionTable::captionSection.toString(), OptionTable::captionKey.toString(),
                      AppInfo::title() + QStringLiteral(" - ") + page.Title);
    m_mainWindow->showPage(page, index);
}

void Application::flushOpenPage()
{
    QString text;
    const int page = m_mainWindow ? m_mainWindow->currentPage() : 0;
    if (page < 1 || page > m_book.PageCount() || !m_mainWindow->takePageEdits(text))
        return;
    m_book.Pages[static_cast<std::size_t>(page)].Text = text;
}

void Application::statusBarHidden()
{
    m_options.Status = false;
    RebuildTabs();
}

HelpWindow::Setup Application::helpSetup()
{
    HelpWindow::Setup setup;
    setup.topicListPath = m_env.programFolder + m_folders.ExeBaseName + QStringLiteral(".hlp");
    setup.HiliteColor = QColor::fromRgb(m_hilite.HiliteColor);
    setup.HiliteShadowColor = QColor::fromRgb(m_hilite.HiliteShadowColor);
    setup.text = [this](TextId id) { return localizedText(id); };
    setup.placement = m_settings.get();
    setup.messages = &m_messages;
    return setup;
}

void Application::helpCommand()
{
    if (m_help) {
        if (m_help->isMinimized())
            m_help->showNormal();
        m_help->raise();
        m_help->activateWindow();
        return;
    }
    m_help = HelpWindow::showModeless(helpSetup(), m_mainWindow.get());
}

void Application::aboutCommand()
{
    AboutDialog::showAbout(
        m_mainWindow.get(), [this](TextId id) { return localizedText(id); },
        [this](QWidget* form) { FormLocalizer::localize(form, m_localization); }, m_messages,
        m_log);
}

void Application::buildSizeAndColorMenus()
{
    QStringList colors;
    for (int index = -1; index <= 15; ++index)
        colors << m_localization.ColorCaption(index);
    m_mainWindow->buildSizeAndColorMenus(colors);
}

void Application::showTipOfTheDay()
{
    const QString tip = m_tips.ShowTip(m_env.programFolder + QStringLiteral("velkar.tip"));
    if (m_options.TipsDuration < 1) {
        m_mainWindow->showStatusText(m_folders.FullDataPath);
        return;
    }
    m_mainWindow->showTip(tip);
}

void Application::localizeMainWindow()
{
    FormLocalizer::localize(m_mainWindow.get(), m_localization);
}

void Application::onFallbackBookUsed()
{
    m_book.RecentPage = 1;
    const OptionKey& recentPage = OptionTable::key(OptionId::RecentPage);
    m_settings->Write(recentPage.section.toString(), recentPage.key.toString(),
                      QStringLiteral("1"));
}

bool Application::Unloading(CloseReason reason)
{
    if (m_unloaded)
        return true;
    // Closed first, so its placement is stored with the other settings.
    if (m_help)
        m_help->close();
    WindowPlacement::SaveFormPosition(m_mainWindow.get(), *m_settings);
    m_options.RecentPage = m_book.RecentPage;
    m_options.ButtonWidth = static_cast<float>(m_mainWindow->buttonWidthTwips());
    m_options.TabStop = static_cast<float>(m_mainWindow->tabStopTwips());
    // The fallback folder serves this run only: the next start looks for the
    // book where the user keeps it again.
    m_options.FilePath =
        m_storage.loadReport().fallbackUsed ? m_filePathAsStored : m_storage.FilePath();
    m_options.UseRtf = m_storage.useRtf();
    // A password the stored form cannot hold never gets past the password
    // window; should one arrive anyway, the stored one stays rather than the
    // book silently losing its protection.
    const std::optional<QString> password = ObscuredPassword::obscure(m_currentPassword);
    m_options.save(*m_settings,
                   password.value_or(m_settings->Read(kPrivacy, kPassword, QString())));
    m_settings->sync();

    if (reason == CloseReason::SystemShutdown)
        m_nobodyThere = true;
    const SaveOutcome saved = saveBook();
    if (saved != SaveOutcome::Saved) {
        if (!m_nobodyThere) {
            if (saved == SaveOutcome::Failed)
                present(windowKeptText(), MessageService::Icon::Exclamation);
            return false;
        }
        if (const std::optional<AppError> error = m_storage.writeRescueCopy())
            presentError({*error, kSubs, QStringLiteral("Unloading")});
    }
    if (m_storage.holdsUserBook()) {
        if (auto error =
                HistoryBackup::MakeHistoryBackup(m_storage, m_folders.HistoryFolder, m_env.today()))
            presentError(*error);
    }
    saveStyles();
    writeShutdownNotices();
    m_unloaded = true;
    return true;
}

// The advice fits the cause: characters the plain-text book cannot hold are
// no matter of disk space.
QString Application::windowKeptText()
{
    if (m_saveRefusal && m_saveRefusal->text == TextId::UnencodableCharacters &&
        m_saveRefusal->args.size() == 2) {
        return localizedText(TextId::UnencodableWindowKept)
            .arg(m_saveRefusal->args[0], m_saveRefusal->args[1]);
    }
    return localizedText(TextId::SaveFailedWindowKept);
}

Application::SaveOutcome Application::saveBook()
{
    flushOpenPage();
    const BookStorage::SaveResult result = m_storage.SaveBook();
    if (result.changedOnDisk)
        return resolveChangedOnDisk();
    return presentSave(result);
}

Application::SaveOutcome Application::presentSave(const BookStorage::SaveResult& result)
{
    m_saveRefusal.reset();
    if (result.dataError) {
        m_saveRefusal = result.dataError->error;
        presentError(*result.dataError);
        return SaveOutcome::Failed;
    }
    if (result.exportError)
        presentError(*result.exportError);
    return SaveOutcome::Saved;
}

Application::SaveOutcome Application::resolveChangedOnDisk()
{
    if (m_nobodyThere)
        return keepBothBooks(false);
    const int choice = m_messages.choose(
        localizedText(TextId::BookChangedOnDisk)
            .arg(QDir::toNativeSeparators(m_storage.FullDataPath())),
        {localizedText(TextId::BookChangedKeepBoth), localizedText(TextId::BookChangedReload),
         localizedText(TextId::BookChangedOverwrite)});
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
        reloadBook();
        return SaveOutcome::Saved;
    case Overwrite:
        return presentSave(m_storage.SaveBook(BookStorage::OnDiskChange::Overwrite));
    default:
        return SaveOutcome::Cancelled;
    }
}

Application::SaveOutcome Application::keepBothBooks(bool reload)
{
    QString keptAs;
    if (const std::optional<AppError> error = m_storage.saveCopyBeside(keptAs)) {
        presentError({*error, kSubs, QStringLiteral("SaveDataEx")});
        return SaveOutcome::Failed;
    }
    present(localizedText(TextId::BookChangedKeptBoth).arg(QDir::toNativeSeparators(keptAs)),
            MessageService::Icon::Exclamation);
    if (reload)
        reloadBook();
    return SaveOutcome::Saved;
}

void Application::reloadBook()
{
    m_mainWindow->dropPageEdits();
    if (const std::optional<AppError> error = m_storage.LoadBook())
        presentError({*error, QStringLiteral("frmMain"), QStringLiteral("mnuMainRevert_Click")});
    reportLoad();
    RebuildTabs();
    m_book.markSaved();
}

bool Application::mainWindowClosing(CloseReason reason)
{
    return Unloading(reason);
}

void Application::saveCommand()
{
    if (m_unloaded)
        return;
    m_storage.claimBook();
    saveBook();
}

void Application::revertCommand()
{
    reloadBook();
}

void Application::exitCommand()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != m_mainWindow.get() && window->isVisible())
            window->close();
    }
    m_mainWindow->close();
}

void Application::runCommand(Command command, int argument)
{
    switch (command) {
    case Command::Save:
        return saveCommand();
    case Command::Revert:
        return revertCommand();
    case Command::Exit:
        return exitCommand();
    case Command::Find:
        return findCommand();
    case Command::Options:
        return m_optionsCommand.run();
    case Command::Backups:
        return m_backupCommands.showWindow();
    case Command::Help:
        return helpCommand();
    case Command::About:
        return aboutCommand();
    case Command::OpenPage:
        return SelectPage(argument);
    case Command::ApplyStyle:
        return applyStyle(argument);
    case Command::HideStatusBar:
        return statusBarHidden();
    case Command::ImportContacts:
    case Command::ExportBookVCard:
    case Command::ExportBookCsv:
    case Command::ExportPageVCard:
    case Command::ExportPageCsv:
        return m_contactCommands.run(command);
    default:
        return m_pageCommands.run(command);
    }
}

void Application::applyStyle(int index)
{
    if (const Style* style = m_styles.Item(index))
        m_mainWindow->applyStyle(*style);
}

void Application::findCommand()
{
    if (!m_find) {
        m_find = new FindDialog(
            *m_mainWindow, m_messages, [this](TextId id) { return localizedText(id); },
            [this](QWidget* form) { FormLocalizer::localize(form, m_localization); },
            m_mainWindow.get());
    }
    m_find->bringForward();
}

void Application::warn(const QString& text)
{
    present(text, MessageService::Icon::Exclamation);
}

void Application::pageEdited()
{
    m_book.MarkBookChanged();
}
