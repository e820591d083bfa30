#pragma once

#include "core/built_in_text.h"

#include <QString>
#include <QStringList>

class EventLog;

// Every text the user sees has a built-in Russian default that an optional
// "language.ini" can replace: the user's own, in the settings folder, or else
// the one beside the program, so a user switches language without writing to
// the program folder. Which file is used is settled by the first lookup; each
// lookup then reads that file afresh, so a translator sees an edit without
// restarting, and nothing is cached.
class Localization
{
public:
    // folders: where "language.ini" is looked for, first match wins.
    Localization(const QStringList& folders, EventLog& log);

    QString localizedEntry(const QString& section, const QString& key,
                             const QString& defaultText);
    // A text of the built-in table, translated when "language.ini" has it.
    QString text(TextId id);
    // The "language.ini" in use; empty when the texts are the built-in ones.
    QString filePath();
    // The caption of a colour menu item, index -1 (automatic) to 15.
    QString colorCaption(int index);
    // Backslash-"n" pairs become CR LF; the length of the text is unchanged.
    static QString expandNewlines(QString text);

private:
    void locateFile();

    QStringList m_candidates;
    QString m_path;
    EventLog& m_log;
    bool m_initialized = false;
    bool m_fileFound = false;
};
