#include "app/login.h"

#include "app/notices.h"
#include "core/option_table.h"
#include "core/settings_store.h"
#include "crypto/obscured_password.h"
#include "dialogs/password_dialog.h"
#include "ui/form_localizer.h"

namespace {

const QString kPrivacy = OptionTable::key(OptionId::Password).section.toString();
const QString kPassword = OptionTable::key(OptionId::Password).key.toString();
const QString kLegacySection = OptionTable::legacyPasswordSection.toString();
const QString kLegacyKey = OptionTable::legacyPasswordKey.toString();

} // namespace

Login::Login(SettingsStore& settings, Notices& notices) : m_settings(settings), m_notices(notices)
{}

void Login::migrate()
{
    const QString oldPassword = m_settings.read(kLegacySection, kLegacyKey, QString());
    if (oldPassword.isEmpty())
        return;
    // A password that the stored form cannot hold stays where it is rather
    // than being dropped; it is still read as the plain-text password below.
    const std::optional<QString> stored = ObscuredPassword::obscure(oldPassword);
    if (!stored)
        return;
    m_settings.write(kPrivacy, kPassword, *stored);
    m_settings.remove(kLegacySection, kLegacyKey);
}

bool Login::readPassword()
{
    migrate();
    const QString legacy = m_settings.read(kLegacySection, kLegacyKey, QString());
    const QString stored = m_settings.read(kPrivacy, kPassword, QString());
    if (!legacy.isEmpty()) {
        m_password = legacy;
        return true;
    }
    const std::optional<QString> plain = ObscuredPassword::reveal(stored);
    if (plain) {
        m_password = *plain;
        return true;
    }
    // Opening a protected book without its password is never an option, and
    // no typed password could be checked against a damaged entry: say so and end.
    m_notices.present(m_notices.text(TextId::DamagedPassword).arg(kPrivacy, kPassword),
                      MessageService::Icon::Critical);
    return false;
}

bool Login::ask(QWidget* owner, Localization& localization)
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Login, m_password, m_notices.messages(), m_notices.textLookup(),
        [&localization](QWidget* form) {
            FormLocalizer::localize(form, localization, QStringLiteral("Login"));
        },
        owner);
    if (m_check)
        dialog.setCheck(m_check);
    dialog.exec();
    return dialog.loginAccepted();
}

QString Login::storedForm() const
{
    const std::optional<QString> password = ObscuredPassword::obscure(m_password);
    return password.value_or(m_settings.read(kPrivacy, kPassword, QString()));
}

void Login::removeStoredForms()
{
    m_settings.remove(kPrivacy, kPassword);
    m_settings.remove(kLegacySection, kLegacyKey);
    m_settings.sync();
}
