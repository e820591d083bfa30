#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The address book's password in the desktop's secret store (the Secret
// Service, KWallet, the macOS keychain, the Windows credential store), never
// in the settings file. Where no store runs, nothing is kept and the user is
// asked each time.
class PasswordStore
{
public:
    // Whether the program was built with a secret store at all.
    static bool available();
    // The password kept for the user at this address book; nullopt when none
    // is kept or no store answers.
    static std::optional<QString> read(const QUrl& book, const QString& user);
    // False when no store took it.
    static bool write(const QUrl& book, const QString& user, const QString& password);

private:
    static QString keyFor(const QUrl& book, const QString& user);
};
