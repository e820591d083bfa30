#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The per-user store of options, window placements and the enciphered
// password: text values addressed by section and key. Callers never see
// QSettings types, only text, so the registry, an INI file and the tests'
// temporary files all behave the same.
class SettingsStore
{
public:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);

    // The user's own store: the registry on Windows (where the earlier
    // program kept its values), the platform's configuration file elsewhere.
    static std::unique_ptr<QSettings> userSettings();

    QString read(const QString& section, const QString& key, const QString& defaultValue) const;
    void write(const QString& section, const QString& key, const QString& value);
    void remove(const QString& section, const QString& key);
    void sync();
    // Nothing stored yet: the program has never run for this user.
    bool isEmpty() const;
    // A write cut short (the program killed) leaves the store's lock file
    // ("<file>.lock") behind; it goes when no running program holds it.
    void removeStaleLock();

private:
    static QString path(const QString& section, const QString& key);

    std::unique_ptr<QSettings> m_settings;
};
