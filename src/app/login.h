#pragma once

#include "dialogs/password_dialog.h"

#include <QString>

class Localization;
class Notices;
class QWidget;
class SettingsStore;

// The start-up password: read from the settings (a password kept under the
// old key moves to the stored form first), asked for in the log-in window,
// changed by the options dialog and written back at shutdown.
class Login
{
public:
    Login(SettingsStore& settings, Notices& notices);

    // False when the stored entry is damaged: the user has been told, and the
    // book must not open.
    bool readPassword();
    // The log-in window over `owner`; true when the user gave the password.
    bool ask(QWidget* owner, Localization& localization);

    const QString& password() const { return m_password; }
    void setPassword(const QString& password) { m_password = password; }
    // How the log-in window checks a typed password; by default against the
    // stored one.
    void setCheck(PasswordDialog::Check check) { m_check = std::move(check); }
    // What the settings keep: the password's stored form. A password the
    // stored form cannot hold never gets past the password window; should
    // one arrive anyway, the stored one stays rather than the book silently
    // losing its protection.
    QString storedForm() const;
    // Every form of the password the settings keep goes, on disk at once:
    // an encrypted book's password lives in nobody's memory but its owner's.
    void removeStoredForms();

private:
    void migrate();

    SettingsStore& m_settings;
    Notices& m_notices;
    QString m_password;
    PasswordDialog::Check m_check;
};
