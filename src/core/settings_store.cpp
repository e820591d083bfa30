#include "core/settings_store.h"

#include "core/app_info.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings))
{}

std::unique_ptr<QSettings> SettingsStore::userSettings()
{
#ifdef Q_OS_WIN
    // Version 3.0 stored its values where the classic SaveSetting
    // puts them; reading the same place keeps every existing user's options.
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
            AppInfo::title(),
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       AppInfo::title());
#endif
}

QString SettingsStore::read(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const QVariant value = m_settings->value(path(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited INI value with commas comes back as a list; the program
    // only ever deals in whole texts.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// A value written as it stands changes nothing, so a close that changed no
// setting leaves the file alone.
void SettingsStore::write(const QString& section, const QString& key, const QString& value)
{
    if (m_settings->contains(path(section, key)) && read(section, key, QString()) == value)
        return;
    m_settings->setValue(path(section, key), value);
}

// Removing what is not there changes nothing: the store is not rewritten.
void SettingsStore::remove(const QString& section, const QString& key)
{
    if (m_settings->contains(path(section, key)))
        m_settings->remove(path(section, key));
}

bool SettingsStore::isEmpty() const
{
    return m_settings->allKeys().isEmpty();
}

void SettingsStore::sync()
{
    m_settings->sync();
}

void SettingsStore::removeStaleLock()
{
    const QString path = m_settings->fileName() + QStringLiteral(".lock");
    if (!QFileInfo(path).isFile())
        return;
    QLockFile lock(path);
    // A lock whose program still runs is left alone; one whose owner is gone
    // is taken over and released, which removes it. A file that names no
    // owner at all was cut short before its owner was written.
    if (lock.tryLock(0)) {
        lock.unlock();
        return;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        QFile::remove(path);
}

QString SettingsStore::path(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}
