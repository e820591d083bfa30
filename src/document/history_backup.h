#pragma once

#include "core/app_error.h"

#include <QDate>
#include <QString>
#include <optional>

class BookStorage;

// A ring of 36 copies of the book, one per ten days of the year, each
// replaced by the last shutdown of its period.
class HistoryBackup
{
public:
    // 1 for 1-10 January ... 36 for 22-31 December.
    static int periodOf(QDate date);
    // historyFolder + exeBaseName + "." + period.
    static QString backupPath(const QString& historyFolder, const QString& exeBaseName, QDate date);
    // Whether any period's backup of the book is there.
    static bool anyBackup(const QString& historyFolder, const QString& exeBaseName);
    // Removes what backups cut short (a program killed) left in the folder.
    static void clearLitter(const QString& historyFolder, const QString& exeBaseName);
    // Creates the history folder (and its parent) and writes the book there
    // (never into a folder that is a link another account owns):
    // the bytes of the last save when the book is unchanged since, otherwise
    // through the same writer as the data file, reporting what it reports.
    static std::optional<LocatedError> makeHistoryBackup(BookStorage& storage,
                                                         const QString& historyFolder,
                                                         QDate today = QDate::currentDate());
};
