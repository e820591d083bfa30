#pragma once

#include "core/built_in_text.h"

#include <QString>

class EventLog;

// Every text the user sees has a built-in Russian default that an optional
// "language.ini" beside the program can replace. Whether the file exists is
// settled by the first lookup; each lookup then reads the file afresh, so a
// translator sees an edit without restarting, and nothing is cached.
class Localization
{
public:
    Localization(const QString& programFolder, EventLog& log);

    QString GetLocalizedText(const QString& section, const QString& key,
                             const QString& defaultText);
    // A text of the built-in table, translated when "language.ini" has it.
    QString text(TextId id);
    // The caption of a colour menu item, index -1 (automatic) to 15.
    QString ColorCaption(int index);
    // Backslash-"n" pairs become CR LF; the length of the text is unchanged.
    static QString ExpandNewlines(QString text);

    const QString& filePath() const { return m_path; }

private:
    void locateFile();

    QString m_path;
    EventLog& m_log;
    bool m_initialized = false;
    bool m_fileFound = false;
};
