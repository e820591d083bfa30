#pragma once

#include <QDate>
#include <QString>

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
    // Creates the history folder (and its parent) and writes the book there
    // through the same writer as the data file; a failure gives that
    // writer's one message and nothing else.
    static bool MakeHistoryBackup(BookStorage& storage, const QString& historyFolder,
                                  QDate today = QDate::currentDate());
};
