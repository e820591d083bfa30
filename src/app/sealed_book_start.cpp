#include "app/sealed_book_start.h"

#include "app/book_encryption.h"
#include "app/notices.h"
#include "core/bounded_file.h"
#include "core/date_text.h"
#include "core/safe_file.h"
#include "document/backup_catalog.h"
#include "document/book_storage.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Choice = BookQuestion::Choice;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

bool SealedBookStart::run(const Folders& folders, bool passwordStored)
{
    const QString& path = folders.fullDataPath;
    m_encryption.findSealedBook(path);
    if (m_encryption.headerWhole()) {
        if (!m_prompts.login())
            return false;
        m_encryption.remember();
        return true;
    }
    if (!m_encryption.bookSealed() && !m_encryption.remembered())
        return !passwordStored || m_prompts.login();
    const QString why = problemOf(path);
    if (why.isEmpty())
        return plainWhileRemembered(folders, passwordStored);
    return unopenable(folders, why);
}

void SealedBookStart::finish()
{
    if (m_sealAfterLoad)
        m_encryption.sealLoadedBook();
    m_sealAfterLoad = false;
}

QString SealedBookStart::problemOf(const QString& path) const
{
    const QFileInfo file(path);
    if (!file.exists())
        return m_notices.text(TextId::SealedBookMissing);
    if (file.isFile() && file.size() == 0)
        return m_notices.text(TextId::SealedBookEmpty);
    if (m_encryption.bookSealed())
        return m_notices.text(BookCipher::reasonText(m_encryption.sealed()->problem));
    const std::optional<BookStorage::Unreadable> why = BookStorage::whyUnreadable(path);
    if (!why)
        return {};
    return m_notices.unreadableReason(why->fileError, why->parseError);
}

bool SealedBookStart::unopenable(const Folders& folders, const QString& why)
{
    const QString backup = newestSealedBackup(folders.historyFolder, folders.exeBaseName);
    const QString backupLine =
        backup.isEmpty()
            ? m_notices.text(TextId::SealedBackupNone)
            : m_notices.text(TextId::SealedBackupNewest)
                  .arg(native(backup), DateText::shown(QFileInfo(backup).lastModified(),
                                                       m_notices.text(TextId::DateShown)));
    BookQuestion question{m_notices.text(TextId::SealedBookProblem)
                              .arg(native(folders.fullDataPath), why, backupLine),
                          {Choice::NewBook, Choice::Quit}};
    if (!backup.isEmpty())
        question.offered.insert(question.offered.begin(), Choice::RestoreBackup);
    switch (m_prompts.question(question)) {
    case Choice::RestoreBackup:
        return restore(backup, folders.fullDataPath);
    case Choice::NewBook:
        return newBook();
    default:
        return false;
    }
}

bool SealedBookStart::plainWhileRemembered(const Folders& folders, bool passwordStored)
{
    const BookQuestion question{
        m_notices.text(TextId::PlainWhileEncrypted).arg(native(folders.fullDataPath)),
        {Choice::SealAgain, Choice::StopEncrypting, Choice::Quit}};
    switch (m_prompts.question(question)) {
    case Choice::SealAgain:
        m_sealAfterLoad = newBook();
        return m_sealAfterLoad;
    case Choice::StopEncrypting:
        m_encryption.forget();
        return !passwordStored || m_prompts.login();
    default:
        return false;
    }
}

// The backup is put in the book's place as it is, still sealed: its
// password gives the key the book is opened with.
bool SealedBookStart::restore(const QString& backup, const QString& book)
{
    m_encryption.findSealedBook(backup);
    if (!m_prompts.login())
        return false;
    const BoundedFile::Result bytes = BoundedFile::read(
        backup, DataFile::MaxFileBytes + BookCipher::HeaderBytes + BookCipher::TagBytes);
    QString keptAs;
    const bool clear = !QFileInfo(book).exists() ||
                       SafeFile::keepAside(book, QStringLiteral("unreadable"), keptAs);
    std::optional<AppError> error;
    if (!bytes.bytes)
        error = AppError{AppError::PathFileAccessError, bytes.error};
    else if (!clear)
        error = AppError{AppError::PermissionDenied, QStringLiteral("Permission denied")};
    else
        error = SafeFile::writeWhole(book, *bytes.bytes, std::nullopt,
                                     SafeFile::isForeignLink(book) ? SafeFile::Links::Replace
                                                                   : SafeFile::Links::Follow);
    if (error) {
        m_notices.presentError({*error, QStringLiteral("Subs"), QStringLiteral("Init")});
        return false;
    }
    m_encryption.remember();
    return true;
}

bool SealedBookStart::newBook()
{
    const std::optional<QString> password = m_prompts.newPassword();
    if (!password || !m_encryption.useNewPassword(*password))
        return false;
    m_encryption.remember();
    return true;
}

QString SealedBookStart::newestSealedBackup(const QString& historyFolder,
                                            const QString& exeBaseName)
{
    for (const BackupCatalog::Entry& entry :
         BackupCatalog::list(historyFolder, exeBaseName, QString())) {
        if (!entry.encrypted || QFileInfo(entry.path).isSymLink())
            continue;
        const BoundedFile::Result head =
            BoundedFile::readHead(entry.path, BookCipher::HeaderBytes + BookCipher::TagBytes);
        if (head.bytes && BookCipher::readHeader(*head.bytes).header)
            return entry.path;
    }
    return {};
}
