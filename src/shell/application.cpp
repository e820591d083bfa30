#include "shell/application.h"

#include "app/backup_commands.h"
#include "app/carddav_commands.h"
#include "app/command_handlers.h"
#include "app/contact_commands.h"
#include "app/missing_book.h"
#include "app/options_command.h"
#include "app/page_commands.h"
#include "app/sealed_book_start.h"
#include "app/termination_signals.h"
#include "core/app_info.h"
#include "core/option_table.h"
#include "core/safe_file.h"
#include "dialogs/password_dialog.h"
#include "document/history_backup.h"
#include "rules/window_ticks.h"
#include "shell/notebook_commands.h"
#include "ui/form_localizer.h"
#include "ui/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPalette>
#include <QWindow>

namespace {

const QString kSubs = QStringLiteral("Subs");
constexpr int kLogMode = 2;

// The language chosen in the options. At the very first start, before any
// choice, the language of the user's locale when the program has it.
QString languageChoice(SettingsStore& settings, const LanguageCatalog& languages)
{
    const QString section = OptionTable::languageSection.toString();
    const QString key = OptionTable::languageKey.toString();
    if (!settings.isEmpty())
        return settings.read(section, key, QString());
    const QString code = QLocale().name().section(u'_', 0, 0);
    for (const LanguageCatalog::Language& language : languages.languages()) {
        if (code != LanguageCatalog::russian && language.choice == code) {
            settings.write(section, key, code);
            return code;
        }
    }
    return {};
}

} // namespace

Application::Application(Environment environment, std::unique_ptr<SettingsStore> settings,
                         MessageService& messages, QObject* parent)
    : QObject(parent), m_env(std::move(environment)), m_settings(std::move(settings)),
      m_messages(messages), m_languages(Folders::userSettingsFolder(), m_env.programFolder),
      m_localization(m_languages.folders(languageChoice(*m_settings, m_languages)), m_log),
      m_qtTexts(*QCoreApplication::instance()), m_notices(messages, m_localization),
      m_login(*m_settings, m_notices), m_session(m_options, *m_settings, m_notices),
      m_tips(m_localization),
      m_encryption(m_session, m_login, m_notices, m_localization, *m_settings, m_env.keyLimits)
{
    m_session.storage().setPreload(std::move(m_env.preload));
    m_login.setCheck([this](const QString& typed) { return m_encryption.tryPassword(typed); });
    connect(&m_session, &BookSession::pagesChanged, this, [this] {
        if (m_notebookCommands)
            m_notebookCommands->pageListChanged();
    });
    m_loginPrompt = [](Application& app) {
        return app.m_login.ask(app.mainWindow(), app.m_localization);
    };
    m_newPasswordPrompt = [](Application& app) -> std::optional<QString> {
        PasswordDialog dialog(
            PasswordDialog::Mode::NewPassword, QString(), app.m_messages,
            app.m_notices.textLookup(),
            [&app](QWidget* form) { FormLocalizer::localize(form, app.m_localization); },
            app.mainWindow());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.password();
    };
    m_folderPrompt = [](Application& app) {
        const QString folder = QFileDialog::getExistingDirectory(
            nullptr, app.localizedText(TextId::MissingBookFolder), QDir::homePath());
        if (folder.isEmpty())
            return false;
        app.m_settings->write(OptionTable::key(OptionId::FilePath).section.toString(),
                              OptionTable::key(OptionId::FilePath).key.toString(),
                              QDir::toNativeSeparators(folder + u'/'));
        return true;
    };
    m_bookQuestion = [this](const BookQuestion& question) {
        QStringList captions;
        for (const BookQuestion::Choice choice : question.offered)
            captions << m_notices.text(BookQuestion::caption(choice));
        const int chosen = m_messages.choose(question.text, captions);
        if (chosen < 0 || chosen >= captions.size() || m_notices.nobodyThere())
            return BookQuestion::Choice::Quit;
        return question.offered[std::size_t(chosen)];
    };
}

Application::~Application() = default;

bool Application::startUp()
{
    // The log goes with the user's files: the program folder of an installed
    // copy is not to be written.
    const QString logFolder = Folders::userSettingsFolder();
    const QString exeBase = Folders::exeBaseNameOf(QCoreApplication::applicationFilePath());
    m_log.openLog(logFolder + exeBase + QStringLiteral(".log"), kLogMode);
    m_log.setSwitch(m_env.keepLogOn);
    if (m_env.keepLogOn)
        QDir().mkpath(logFolder);
    m_log.writeLog(AppInfo::title() + QStringLiteral(" v") + AppInfo::versionText() +
                       QStringLiteral(" has been launched. No conflicting processes ") +
                       QStringLiteral("found. Now performing initialization..."),
                   EventLog::Information);
    // Qt's own buttons and dialogs speak the language of "language.ini" from
    // the first box on, the password prompt's included.
    m_qtTexts.installLanguage(localizedText(TextId::QtLanguage));

    makeWindow();
    makeCommands();
    // Only one copy runs per user: no save of ours is in progress.
    m_settings->removeStaleLock();
    if (!m_login.readPassword())
        return false;
    const auto locate = [this] {
        return Folders::locate(
            m_settings->read(OptionTable::key(OptionId::FilePath).section.toString(),
                             OptionTable::key(OptionId::FilePath).key.toString(), QString()));
    };
    MissingBook missing(*m_settings, m_notices,
                        {m_bookQuestion, [this] { return m_folderPrompt(*this); }});
    if (!missing.resolve(locate, m_env.today()))
        return false;
    // An encrypted book is its own password check: its folder is needed now.
    SealedBookStart sealedStart(m_encryption, m_notices,
                                {[this] { return m_loginPrompt(*this); },
                                 [this] { return m_newPasswordPrompt(*this); }, m_bookQuestion});
    const bool go = sealedStart.run(locate(), !m_login.password().isEmpty());
    if (!go || m_notices.nobodyThere())
        return false;

    init();
    sealedStart.finish();
    missing.remember(m_session.storage().fullDataPath());
    buildSizeAndColorMenus();
    m_hilite = HighlightColors::setHighlightColors(
        QApplication::palette().color(QPalette::Highlight).rgb());
    localizeMainWindow();
    // After the captions: the tip label's own caption is only a placeholder,
    // which a translation would otherwise put in the tip's place.
    showTipOfTheDay();
    m_started = true;
    // A termination that came while start-up ran is carried out now that
    // there is a book to save, whether or not a start-up box took it up.
    if (m_notices.nobodyThere() || TerminationSignals::pending()) {
        m_mainWindow->closeForShutdown();
        return false;
    }
    return true;
}

void Application::makeWindow()
{
    m_mainWindow = std::make_unique<MainWindow>(*this);
    m_session.setWindow(m_mainWindow.get(), [this] { return display(); });
    connect(&m_session.book(), &Book::changedStateChanged, m_mainWindow.get(),
            [this](bool changed) { m_mainWindow->setSavedState(!changed); });
    // The splitter and the marker move the window's own values; every later
    // rebuild keeps them. The page record takes the marker's new stops now.
    connect(m_mainWindow.get(), &MainWindow::layoutDragged, this,
            [this](double buttonWidth, double tabStop) {
                m_options.buttonWidth = static_cast<float>(buttonWidth);
                m_options.tabStop = static_cast<float>(tabStop);
                m_session.flushOpenPage();
            });
    m_ticks = std::make_unique<WindowTicks>(m_options);
    connect(m_ticks.get(), &WindowTicks::tipEnded, m_mainWindow.get(), &MainWindow::endTip);
    connect(m_ticks.get(), &WindowTicks::autosaveDue, this, &Application::autosave);
    connect(m_ticks.get(), &WindowTicks::repaintDue, m_mainWindow.get(),
            &MainWindow::repaintEditor);
    WindowPlacement::loadFormPosition(m_mainWindow.get(), *m_settings,
                                      m_mainWindow->firstPlacement());
}

void Application::makeCommands()
{
    MainWindow& window = *m_mainWindow;
    m_pageCommands = std::make_unique<PageCommands>(m_session, window, m_notices);
    m_contactCommands = std::make_unique<ContactCommands>(m_session, window, m_notices);
    m_backupCommands =
        std::make_unique<BackupCommands>(m_session, window, m_notices, m_localization);
    m_cardDavCommands =
        std::make_unique<CardDavCommands>(m_session, window, m_notices, *m_settings);
    OptionsCommand::Parts parts{
        m_options,    m_styles,    m_login,    m_localization, [this] { return helpSetup(); },
        m_encryption, m_languages, *m_settings};
    m_optionsCommand = std::make_unique<OptionsCommand>(m_session, window, m_notices, parts);
    m_notebookCommands = std::make_unique<NotebookCommands>(NotebookCommands::Parts{
        m_session, window, m_notices, m_messages, m_localization, m_log, m_options, m_styles,
        [this] { return helpSetup(); }});
    m_pageCommands->bind(m_handlers);
    m_contactCommands->bind(m_handlers);
    m_backupCommands->bind(m_handlers);
    m_cardDavCommands->bind(m_handlers);
    m_optionsCommand->bind(m_handlers);
    m_notebookCommands->bind(m_handlers);
}

HelpWindow* Application::helpWindow() const
{
    return m_notebookCommands ? m_notebookCommands->helpWindow() : nullptr;
}

void Application::terminate()
{
    m_notices.nobodyIsThere();
    NotebookCommands::closeOtherWindows(m_mainWindow.get());
    // Saved as the window's closing saves it; the window is not hidden
    // first, as the end of the process takes it off the screen anyway.
    if (m_started && !m_unloaded)
        mainWindowClosing(CloseReason::SystemShutdown);
    if (m_unloaded)
        QCoreApplication::exit(0);
}

void Application::init()
{
    reportRejectedOptions(m_options.load(*m_settings));
    const Options::LastIntPage lastIntPage = Options::readLastIntPage(m_localization);
    m_session.book().setLastIntPage(lastIntPage.value);
    if (lastIntPage.rejected) {
        m_notices.presentError(
            {{AppError::TypeMismatch, {}, TextId::BadLastIntPage, {*lastIntPage.rejected}},
             kSubs,
             QStringLiteral("Init")});
    }
    readAlphabets();
    m_session.open();
    m_mainWindow->showStatusText(m_session.folders().fullDataPath);
    m_session.reportLoad();
    m_session.reportRescueCopy();
    SafeFile::removeStaleTemporaries(
        m_session.folders().settingsFolder,
        {QFileInfo(noticesPath()).fileName(), QFileInfo(stylesPath()).fileName()});
    m_notices.showKept(noticesPath());
    loadStyles();
    m_session.rebuildTabs();
    m_session.book().markSaved();
}

// A backup that fails is no failed save: the book is on disk, and the
// message says which copy is missing.
void Application::makeHistoryBackup()
{
    const Folders& folders = m_session.folders();
    const std::optional<LocatedError> error =
        HistoryBackup::makeHistoryBackup(m_session.storage(), folders.historyFolder, m_env.today());
    if (!error)
        return;
    const QString backup =
        HistoryBackup::backupPath(folders.historyFolder, folders.exeBaseName, m_env.today());
    m_notices.warn(m_notices.text(TextId::BackupNotSaved)
                       .arg(QDir::toNativeSeparators(backup), m_notices.describe(error->error)));
}

QString Application::stylesPath() const
{
    return m_session.folders().settingsFolder + QStringLiteral("Styles.dat");
}

void Application::loadStyles()
{
    if (m_styles.load(stylesPath())) {
        if (m_styles.droppedLines() > 0 && !m_styles.keptAside().isEmpty()) {
            m_notices.warn(localizedText(TextId::StylesLinesKept)
                               .arg(QString::number(m_styles.droppedLines()),
                                    QString::number(m_styles.firstDroppedLine()),
                                    QDir::toNativeSeparators(m_styles.keptAside())));
        }
        return;
    }
    m_notices.warn(localizedText(TextId::StylesUnreadableKept)
                       .arg(m_notices.describeReason(m_styles.errorString()),
                            QDir::toNativeSeparators(m_styles.keptAside())));
}

void Application::saveStyles()
{
    QDir().mkpath(m_session.folders().settingsFolder);
    if (const std::optional<AppError> error = m_styles.save(stylesPath()))
        m_notices.presentError({*error, kSubs, QStringLiteral("Unloading")});
}

void Application::reportRejectedOptions(const std::vector<Options::Rejected>& rejected)
{
    for (const Options::Rejected& bad : rejected) {
        const OptionKey& key = OptionTable::key(bad.id);
        m_notices.presentError(
            {{AppError::TypeMismatch,
              {},
              TextId::BadSetting,
              {key.section.toString(), key.key.toString(), bad.value, key.defaultText.toString()}},
             kSubs,
             QStringLiteral("Init")});
    }
}

QString Application::noticesPath() const
{
    const Folders& folders = m_session.folders();
    return folders.settingsFolder + folders.exeBaseName + QStringLiteral(".notices.txt");
}

QString Application::localizedText(TextId id)
{
    return m_localization.text(id);
}

MainWindow::Display Application::display() const
{
    MainWindow::Display display;
    display.buttonWidth = m_options.buttonWidth;
    display.status = m_options.status;
    display.pageColor = static_cast<quint32>(m_options.pageColor);
    display.enableSort = m_options.enableSort;
    display.moveToEnd = m_options.moveToEnd;
    display.tabStop = m_options.tabStop;
    display.lastIntPage = m_session.book().lastIntPage();
    display.shortcuts = m_session.shortcuts();
    display.codePageOnly = !m_session.storage().useRtf();
    for (const Style& style : m_styles)
        display.styleNames << style.name();
    return display;
}

void Application::readAlphabets()
{
    LetterPages::Known known =
        LetterPages::known(m_localization, m_session.book().lastIntPage(), m_languages.languages());
    if (known.rejected) {
        m_notices.presentError(
            {{AppError::TypeMismatch, {}, TextId::BadPageTitles, {*known.rejected}},
             kSubs,
             QStringLiteral("Init")});
    }
    m_session.setAlphabets(std::move(known.alphabets));
}

QString Application::languageResource(const QString& name)
{
    return m_languages.resourceFile(m_localization.filePath(), localizedText(TextId::QtLanguage),
                                    name);
}

HelpWindow::Setup Application::helpSetup()
{
    HelpWindow::Setup setup;
    setup.topicListPath =
        languageResource(m_session.folders().exeBaseName + QStringLiteral(".hlp"));
    setup.highlightColor = QColor::fromRgb(m_hilite.highlightColor);
    setup.highlightShadowColor = QColor::fromRgb(m_hilite.highlightShadowColor);
    setup.text = [this](TextId id) { return localizedText(id); };
    setup.placement = m_settings.get();
    setup.messages = &m_messages;
    return setup;
}

void Application::buildSizeAndColorMenus()
{
    QStringList colors;
    for (int index = -1; index <= 15; ++index)
        colors << m_localization.colorCaption(index);
    m_mainWindow->buildSizeAndColorMenus(colors);
}

void Application::showTipOfTheDay()
{
    const QString tip = m_tips.showTip(languageResource(QStringLiteral("velkar.tip")));
    if (m_options.tipsDuration < 1) {
        m_mainWindow->showStatusText(m_session.folders().fullDataPath);
        return;
    }
    m_mainWindow->showTip(tip);
}

void Application::localizeMainWindow()
{
    FormLocalizer::localize(m_mainWindow.get(), m_localization);
}

void Application::storeSettings()
{
    WindowPlacement::saveFormPosition(m_mainWindow.get(), *m_settings);
    m_options.recentPage = static_cast<qint16>(m_session.book().recentPage());
    m_options.buttonWidth = static_cast<float>(m_mainWindow->buttonWidthTwips());
    m_options.tabStop = static_cast<float>(m_mainWindow->tabStopTwips());
    m_options.filePath = m_session.folderToStore();
    m_options.useRtf = m_session.storage().useRtf();
    // An encrypted book keeps its password nowhere but in its own header.
    m_options.save(*m_settings, m_session.storage().encrypted() ? QString() : m_login.storedForm());
    m_settings->sync();
}

bool Application::unloading(CloseReason reason)
{
    if (m_unloaded)
        return true;
    // Closed first, so its placement is stored with the other settings.
    if (HelpWindow* help = helpWindow())
        help->close();
    storeSettings();
    if (reason == CloseReason::SystemShutdown)
        m_notices.nobodyIsThere();
    const BookSession::SaveOutcome saved = m_session.save(true);
    if (saved != BookSession::SaveOutcome::Saved) {
        if (!m_notices.nobodyThere()) {
            if (saved == BookSession::SaveOutcome::Failed)
                m_notices.warn(m_session.windowKeptText());
            return false;
        }
        if (const std::optional<AppError> error = m_session.storage().writeRescueCopy())
            m_notices.presentError(
                {*error, kSubs, QStringLiteral("Unloading"), m_session.storage().rescuePath()});
    }
    if (m_session.storage().holdsUserBook())
        makeHistoryBackup();
    saveStyles();
    m_notices.keepWaiting(m_session.folders().settingsFolder, noticesPath());
    // Again once everything that writes them is done: the save records there
    // the book it wrote.
    m_settings->sync();
    m_unloaded = true;
    return true;
}

bool Application::mainWindowClosing(CloseReason reason)
{
    // The book is saved only once the server's answer is in and nothing more
    // can change it.
    if (m_cardDavCommands && m_cardDavCommands->busy()) {
        m_cardDavCommands->closeWhenDone([this, reason] {
            if (reason == CloseReason::SystemShutdown)
                m_mainWindow->closeForShutdown();
            else
                m_mainWindow->close();
        });
        return false;
    }
    return unloading(reason);
}

void Application::autosave()
{
    QWidget* box = m_unloaded ? nullptr : QApplication::activeModalWidget();
    m_autosaveHeld = box != nullptr;
    // The box, hidden as it closes, is no longer the modal one: the autosave
    // runs then (or waits on the box below it).
    if (m_autosaveHeld)
        box->installEventFilter(this);
    // An autosave is no choice of the user's: it claims no book for him.
    if (!m_unloaded && !m_autosaveHeld)
        m_session.save();
}

bool Application::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide)
        return false;
    watched->removeEventFilter(this);
    if (m_autosaveHeld)
        autosave();
    return false;
}

void Application::runCommand(Command command, int argument)
{
    // After the book is unloaded no command may touch it.
    if (!m_unloaded)
        m_handlers.run(command, argument);
}

void Application::warn(const QString& text)
{
    m_notices.warn(text);
}

void Application::pageEdited()
{
    m_session.book().markUnsaved();
}
