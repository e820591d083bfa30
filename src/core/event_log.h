#pragma once

#include <QString>
#include <QStringList>

class QFile;

// A plain-text support log in the user's settings folder (an installed
// program folder is not to be written). Start-up opens it and switches it off
// again at once, so in normal runs every write is a no-op; the "--log" switch
// on the command line leaves it on.
class EventLog
{
public:
    enum Level
    {
        Error = 1,
        Warning = 2,
        Information = 4
    };

    // The mode is accepted for the callers' sake and has no effect.
    void openLog(const QString& path, int mode);
    void writeLog(const QString& message, int level);

    void setSwitch(bool on) { m_on = on; }
    bool isOn() const { return m_on; }
    const QString& path() const { return m_path; }

    static bool keepOnRequested(const QStringList& arguments);
    // Header and message of one entry, with the separating blank line first.
    static QString formatEntry(const QString& message, int level, const QString& timestamp);

private:
    static QString levelWord(int level);
    bool openForAppending(QFile& file) const;

    QString m_path;
    bool m_on = false;
};
