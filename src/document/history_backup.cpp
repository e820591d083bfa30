#include "document/history_backup.h"

#include "core/safe_file.h"
#include "document/book_storage.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kPeriods = 36;

} // namespace

int HistoryBackup::periodOf(QDate date)
{
    const int day = date.day();
    const int third = day <= 10 ? 1 : (day <= 21 ? 2 : 3);
    return (date.month() - 1) * 3 + third;
}

QString HistoryBackup::backupPath(const QString& historyFolder, const QString& exeBaseName,
                                  QDate date)
{
    return historyFolder + exeBaseName + u'.' + QString::number(periodOf(date));
}

void HistoryBackup::clearLitter(const QString& historyFolder, const QString& exeBaseName)
{
    QStringList backups;
    for (int period = 1; period <= kPeriods; ++period)
        backups << exeBaseName + u'.' + QString::number(period);
    SafeFile::removeStaleTemporaries(historyFolder, backups);
}

bool HistoryBackup::anyBackup(const QString& historyFolder, const QString& exeBaseName)
{
    for (int period = 1; period <= kPeriods; ++period) {
        if (QFileInfo::exists(historyFolder + exeBaseName + u'.' + QString::number(period)))
            return true;
    }
    return false;
}

std::optional<LocatedError>
HistoryBackup::makeHistoryBackup(BookStorage& storage, const QString& historyFolder, QDate today)
{
    // A history folder that is a link another account made would take the
    // book wherever it leads.
    if (SafeFile::isForeignLink(QDir::cleanPath(historyFolder))) {
        return LocatedError{{AppError::PermissionDenied,
                             QStringLiteral("Permission denied"),
                             TextId::ForeignLinkNotFollowed,
                             {QDir::toNativeSeparators(QDir::cleanPath(historyFolder))}},
                            QStringLiteral("Subs"),
                            QStringLiteral("SaveDataEx")};
    }
    QDir().mkpath(historyFolder);
    return storage.saveBackup(backupPath(historyFolder, storage.exeBaseName(), today));
}
