#include "app/application.h"

#include "core/app_info.h"
#include "core/message_service.h"
#include "core/option_table.h"
#include "core/safe_file.h"
#include "dialogs/password_dialog.h"
#include "document/encryption.h"
#include "document/history_backup.h"
#include "document/page_import.h"
#include "mainwindow/main_window.h"
#include "ui/form_localizer.h"
#include "ui/rich_text_edit.h"
#include "ui/window_placement.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>

namespace {

const QString kPrivacy = OptionTable::key(OptionId::Password).section.toString();
const QString kPassword = OptionTable::key(OptionId::Password).key.toString();
const QString kLegacySection = OptionTable::legacyPasswordSection.toString();
const QString kLegacyKey = OptionTable::legacyPasswordKey.toString();
constexpr int kLogMode = 2;
constexpr int kMillisecondsPerSecond = 1000;

} // namespace

Application::Application(Environment environment, std::unique_ptr<SettingsStore> settings,
                         MessageService& messages, QObject* parent)
    : QObject(parent), m_env(std::move(environment)), m_settings(std::move(settings)),
      m_messages(messages), m_localization(m_env.programFolder, m_log),
      m_storage(m_book, m_messages), m_tips(m_localization)
{
    m_storage.setPageCleanup(&PageImport::Import);
    connect(&m_storage, &BookStorage::fallbackBookUsed, this, &Application::onFallbackBookUsed);
    m_loginPrompt = [](Application& app) { return app.showLogin(); };
}

Application::~Application() = default;

bool Application::StartUp()
{
    const QString exeBase = Folders::exeBaseName(QCoreApplication::applicationFilePath());
    m_log.OpenLog(m_env.programFolder + exeBase + QStringLiteral(".log"), kLogMode);
    m_log.setSwitch(m_env.keepLogOn);
    m_log.WriteLog(AppInfo::title() + QStringLiteral(" v") + AppInfo::versionText() +
                       QStringLiteral(" has been launched. No conflicting processes ") +
                       QStringLiteral("found. Now performing initialization..."),
                   EventLog::Information);

    m_mainWindow = std::make_unique<MainWindow>(*this);
    connect(&m_book, &Book::changedStateChanged, m_mainWindow.get(),
            [this](bool changed) { m_mainWindow->setSavedState(!changed); });
    WindowPlacement::LoadFormPosition(m_mainWindow.get(), *m_settings);

    migratePassword();
    if (!readPassword())
        return false;
    if (!m_currentPassword.isEmpty() && !m_loginPrompt(*this))
        return false;

    Init();
    showTipOfTheDay();
    localizeMainWindow();
    return true;
}

void Application::migratePassword()
{
    const QString oldPassword = m_settings->Read(kLegacySection, kLegacyKey, QString());
    if (oldPassword.isEmpty())
        return;
    // A password that the stored form cannot hold stays where it is rather
    // than being dropped; it is still read as the plain-text password below.
    const std::optional<QString> stored = Encryption::Encrypt(oldPassword);
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
    const std::optional<QString> plain = Encryption::Decrypt(stored);
    if (plain) {
        m_currentPassword = *plain;
        return true;
    }
    // Opening a protected book without its password is never an option, and
    // no typed password could be checked against a damaged entry: say so and end.
    m_messages.show(
        QStringLiteral("Сохраненный пароль адресной книги поврежден, поэтому проверить пароль "
                       "невозможно. Книга не будет открыта.\r\n\r\nЗащищенный пароль хранится в "
                       "настройках программы (раздел \"%1\", параметр \"%2\"). Чтобы снять "
                       "защиту, удалите этот параметр и запустите программу снова.")
            .arg(kPrivacy, kPassword),
        MessageService::Icon::Critical);
    return false;
}

bool Application::showLogin()
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Login, m_currentPassword, m_messages,
        [this](const QString& key, const QString& def) {
            return m_localization.GetLocalizedText(QStringLiteral("frmPassword"), key, def);
        },
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
    m_options.load(*m_settings, m_messages);
    m_book.LastIntPage = Options::readLastIntPage(m_localization, m_messages);
    m_folders = Folders::locate(m_options.FilePath);
    m_storage.setFilePath(m_folders.FilePath);
    m_storage.setExeBaseName(m_folders.ExeBaseName);
    m_storage.setSettingsFolder(m_folders.SettingsFolder);
    m_storage.setUseRtf(m_options.UseRtf);
    m_book.RecentPage = m_options.RecentPage;
    if (const std::optional<AppError> error = m_storage.LoadBook())
        m_messages.showError(*error, QStringLiteral("Subs"), QStringLiteral("Init"));
    m_folders.FilePath = m_storage.FilePath();
    m_folders.FullDataPath = m_storage.FullDataPath();
    m_mainWindow->statusLabel()->setText(m_folders.FullDataPath);
    reportRecoveredFiles();
    openCurrentPage();
    m_book.markSaved();
}

void Application::reportRecoveredFiles()
{
    if (!m_storage.keptAsidePath().isEmpty()) {
        m_messages.show(QStringLiteral("Файл адресной книги не удалось прочитать. Он сохранен "
                                       "без изменений под именем\r\n%1\r\nи заменен новой книгой.")
                            .arg(m_storage.keptAsidePath()),
                        MessageService::Icon::Exclamation);
    }
    if (!m_storage.hasRescue())
        return;
    // Renamed with its date so the notice comes once and a later rescue
    // never overwrites this one.
    QString kept;
    const QString shown = SafeFile::keepAside(m_storage.rescuePath(), QStringLiteral("kept"), kept)
                              ? kept
                              : m_storage.rescuePath();
    m_messages.show(QStringLiteral("При прошлом завершении работы книгу не удалось сохранить "
                                   "в ее папку. Все изменения сохранены в копии\r\n%1\r\n"
                                   "Откройте ее вместо файла книги, чтобы вернуть их.")
                        .arg(QDir::toNativeSeparators(shown)),
                    MessageService::Icon::Exclamation);
}

void Application::openCurrentPage()
{
    const int count = m_book.PageCount();
    if (count < 1)
        return;
    m_book.RecentPage = static_cast<qint16>(std::clamp<int>(m_book.RecentPage, 1, count));
    const PageRecord& page = m_book.Pages[m_book.RecentPage];
    m_mainWindow->openPage(page.Title, page.Text, page.Kind == 0,
                           static_cast<int>(m_options.TabStop), m_options.MoveToEnd);
}

void Application::showTipOfTheDay()
{
    QLabel* tip = m_mainWindow->tipLabel();
    QLabel* status = m_mainWindow->statusLabel();
    tip->setText(m_tips.ShowTip(m_env.programFolder + QStringLiteral("velkar.tip")));
    if (m_options.TipsDuration < 1) {
        status->setText(m_folders.FullDataPath);
        return;
    }
    tip->setVisible(true);
    status->setVisible(false);
    m_tipTimer = new QTimer(this);
    m_tipTimer->setSingleShot(true);
    connect(m_tipTimer, &QTimer::timeout, this, [tip, status] {
        tip->setVisible(false);
        status->setVisible(true);
    });
    m_tipTimer->start(m_options.TipsDuration * kMillisecondsPerSecond);
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
    WindowPlacement::SaveFormPosition(m_mainWindow.get(), *m_settings);
    m_options.RecentPage = m_book.RecentPage;
    m_options.FilePath = m_storage.FilePath();
    m_options.UseRtf = m_storage.useRtf();
    // A password the stored form cannot hold never gets past the password
    // window; should one arrive anyway, the stored one stays rather than the
    // book silently losing its protection.
    const std::optional<QString> password = Encryption::Encrypt(m_currentPassword);
    m_options.save(*m_settings,
                   password.value_or(m_settings->Read(kPrivacy, kPassword, QString())));
    m_settings->sync();

    if (!m_storage.SaveBook()) {
        if (reason == CloseReason::User) {
            m_messages.show(QStringLiteral("Книгу не удалось сохранить, поэтому окно не закрыто. "
                                           "Освободите место на диске или выберите другую папку "
                                           "в параметрах и закройте окно снова."),
                            MessageService::Icon::Exclamation);
            return false;
        }
        m_storage.writeRescueCopy();
    }
    HistoryBackup::MakeHistoryBackup(m_storage, m_folders.HistoryFolder);
    m_unloaded = true;
    return true;
}

bool Application::mainWindowClosing(CloseReason reason)
{
    return Unloading(reason);
}

void Application::saveCommand()
{
    m_storage.SaveBook();
}

void Application::revertCommand()
{
    if (const std::optional<AppError> error = m_storage.LoadBook())
        m_messages.showError(*error, QStringLiteral("frmMain"),
                             QStringLiteral("mnuMainRevert_Click"));
    openCurrentPage();
    m_book.markSaved();
}

void Application::exitCommand()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != m_mainWindow.get() && window->isVisible())
            window->close();
    }
    m_mainWindow->close();
}

void Application::pageEdited(const QString& richText)
{
    const int page = m_book.RecentPage;
    if (page < 1 || page > m_book.PageCount())
        return;
    m_book.Pages[page].Text = richText;
    m_book.MarkBookChanged();
}
