#include "app/missing_book.h"

#include "app/notices.h"
#include "core/date_text.h"
#include "core/option_table.h"
#include "core/safe_file.h"
#include "core/settings_store.h"
#include "document/backup_catalog.h"
#include "document/book_storage.h"
#include "document/history_backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

using Choice = BookQuestion::Choice;

const QString kSection = OptionTable::lastBookSection.toString();
const QString kKey = OptionTable::lastBookKey.toString();

} // namespace

bool MissingBook::resolve(const std::function<Folders()>& locate, QDate today)
{
    for (;;) {
        const Folders folders = locate();
        const QString seen = remembered();
        // A dangling link does not exist either. A rescue copy takes the
        // book's place, and the encrypted book's own start asks about a
        // missing encrypted book.
        if (seen.isEmpty() || QFileInfo::exists(folders.fullDataPath) ||
            QFileInfo::exists(
                BookStorage::rescuePathIn(folders.settingsFolder, folders.exeBaseName)) ||
            m_settings.read(OptionTable::encryptedSection.toString(),
                            OptionTable::encryptedKey.toString(), QString()) == u"True")
            return true;
        const QDateTime time = QDateTime::fromString(seen.section(u';', 1), Qt::ISODate);
        const BookQuestion question{
            m_notices.text(TextId::MissingBook)
                .arg(QDir::toNativeSeparators(folders.fullDataPath),
                     QLocale().toString(seen.section(u';', 0, 0).toLongLong()),
                     DateText::shown(time, m_notices.text(TextId::DateShown))),
            {Choice::LookAgain, Choice::ChooseFolder, Choice::PlainNewBook, Choice::Quit}};
        switch (m_prompts.question(question)) {
        case Choice::LookAgain:
            continue;
        case Choice::ChooseFolder:
            m_prompts.chooseFolder();
            continue;
        case Choice::PlainNewBook:
            keepPeriodBackup(folders, today);
            m_settings.remove(kSection, kKey);
            return true;
        default:
            return false;
        }
    }
}

void MissingBook::remember(const QString& path)
{
    const QFileInfo book(path);
    if (!book.isFile())
        return;
    m_settings.write(kSection, kKey,
                     QString::number(book.size()) + u';' +
                         book.lastModified().toString(Qt::ISODate));
}

QString MissingBook::remembered() const
{
    return m_settings.read(kSection, kKey, QString());
}

// The new book's backup takes this period's name at its first close: the
// earlier book's backup goes beside the book first.
void MissingBook::keepPeriodBackup(const Folders& folders, QDate today)
{
    const QString backup =
        HistoryBackup::backupPath(folders.historyFolder, folders.exeBaseName, today);
    if (!QFileInfo(backup).isFile())
        return;
    const QString kept =
        SafeFile::freeDatedName(folders.fullDataPath, BackupCatalog::keptBackupReason());
    if (!kept.isEmpty() && !QFile::rename(backup, kept))
        QFile::copy(backup, kept);
}
