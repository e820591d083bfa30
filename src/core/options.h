#pragma once

#include "core/option_table.h"

#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

class Localization;
class SettingsStore;

// The option variables, read once at start-up and written once at shutdown;
// the options dialog changes only these in between. Each starts at its key's
// default, and a stored text that does not convert also gives the default
// (not 0 or false, which would turn the page black or autosave off).
class Options
{
public:
    // A stored value that did not convert, for the user to be told which.
    struct Rejected
    {
        OptionId id;
        QString value;
    };
    struct LastIntPage
    {
        qint16 value;
        std::optional<QString> rejected;
    };

    Options();

    std::vector<Rejected> load(const SettingsStore& store,
                               const QLocale& locale = QLocale::system());
    void save(SettingsStore& store, const QString& encipheredPassword) const;

    // The number of built-in pages, from the localization file; 14 unless it
    // holds a whole number from 1 to 32767.
    static LastIntPage readLastIntPage(Localization& localization);

    float buttonWidth = 0;
    bool status = false;
    bool useRtf = false;
    qint16 tipsDuration = 0;
    qint16 autosaveDuration = 0;
    qint16 recentPage = 0;
    bool enableSort = false;
    bool moveToEnd = false;
    qint32 pageColor = 0;
    float tabStop = 0; // twips
    QString filePath;  // as stored; empty means the default folder

private:
    bool assign(OptionId id, const QString& text, const QLocale& locale);
    QString text(OptionId id) const;
};
