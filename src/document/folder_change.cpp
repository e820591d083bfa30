#include "document/folder_change.h"

#include "core/bounded_file.h"
#include "core/safe_file.h"
#include "core/storage_folder.h"
#include "crypto/book_cipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

using Outcome = FolderChange::Outcome;
using Report = FolderChange::Report;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString withoutSeparator(const QString& folder)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

Outcome failed(Report report)
{
    return {Outcome::Kind::Failed, std::move(report)};
}

// Whether the folder takes a new file, tried rather than read from the
// permission bits, which say nothing of a read-only mount or an ACL.
std::optional<AppError> refusesFiles(const QString& folder)
{
    QTemporaryFile probe(withoutSeparator(folder) + QStringLiteral("/.velkaro-XXXXXX"));
    if (probe.open())
        return std::nullopt;
    return AppError{AppError::PermissionDenied, probe.errorString()};
}

} // namespace

FolderChange::FolderChange(BookStorage& storage, QString newFolder)
    : m_storage(storage), m_newFolder(std::move(newFolder))
{}

FolderChange::Check FolderChange::check() const
{
    const QString oldFolder = m_storage.filePath();
    if (m_newFolder == oldFolder || StorageFolder::sameFolder(m_newFolder, oldFolder))
        return {Plan::NoChange};
    const QFileInfo folder(withoutSeparator(m_newFolder));
    if (!folder.exists() && !folder.isSymLink())
        return {Plan::CreateFolder};
    if (!folder.isDir())
        return {Plan::Unusable, Report{TextId::FolderNotAFolder, {native(m_newFolder)}}};
    if (std::optional<AppError> cause = refusesFiles(m_newFolder))
        return {Plan::Unusable, Report{TextId::FolderNotWritable, {native(m_newFolder)}, cause}};
    return {QFileInfo(newFile()).isFile() ? Plan::Replace : Plan::Move};
}

std::optional<Report> FolderChange::createFolder() const
{
    if (QDir().mkpath(withoutSeparator(m_newFolder)))
        return std::nullopt;
    return Report{TextId::FolderNotCreated,
                  {native(m_newFolder)},
                  AppError{AppError::PathNotFound, QStringLiteral("Path not found")}};
}

FolderChange::Outcome FolderChange::moveBook()
{
    return writeThere(BookStorage::OnDiskChange::Refuse);
}

FolderChange::Outcome FolderChange::replace(ReplaceResult answer)
{
    switch (answer) {
    case ReplaceResult::Yes:
        if (std::optional<Report> report = keepFoundBook())
            return failed(std::move(*report));
        return writeThere(BookStorage::OnDiskChange::Overwrite);
    case ReplaceResult::No:
        return loadFound();
    case ReplaceResult::Cancel:
    case ReplaceResult::Closed:
        break;
    }
    return {Outcome::Kind::Cancelled};
}

// The book goes into the new folder first; the old file is removed only once
// the new one is whole on disk.
FolderChange::Outcome FolderChange::writeThere(BookStorage::OnDiskChange onDiskChange)
{
    const QString oldFolder = m_storage.filePath();
    const QString oldFile = m_storage.fullDataPath();
    const QString oldExport = m_storage.exportPath();
    m_storage.setFilePath(m_newFolder);
    const BookStorage::SaveResult saved = m_storage.saveBook(onDiskChange);
    if (!saved.dataSaved()) {
        m_storage.setFilePath(oldFolder);
        const AppError cause = saved.dataError ? saved.dataError->error
                                               : AppError{AppError::PathFileAccessError,
                                                          QStringLiteral("File already exists")};
        return failed({TextId::BookNotMoved, {native(m_newFolder), native(oldFile)}, cause});
    }
    // An export that could not be written there is reported as it is; the
    // one left behind then stays, as the only one.
    return {Outcome::Kind::Moved, removeOldFile(oldFile), saved.exportError,
            saved.exportError ? std::nullopt : takeExportAlong(oldExport)};
}

// While the book is encrypted every copy is: a plain book found in the new
// folder is kept sealed, one already sealed as it is.
QByteArray FolderChange::sealedCopy(const QByteArray& bytes) const
{
    return BookCipher::isSealed(bytes) ? bytes : m_storage.fileBytes(bytes);
}

std::optional<Report> FolderChange::keepFoundBook() const
{
    const QString found = newFile();
    const QString backup = backupName(found);
    const QStringList args{native(found), native(backup)};
    const BoundedFile::Result bytes = BoundedFile::read(found, DataFile::MaxFileBytes);
    if (!bytes.bytes)
        return Report{TextId::BackupNotMade, args,
                      AppError{AppError::PathFileAccessError, bytes.error}};
    if (std::optional<AppError> error =
            SafeFile::writeWhole(backup, sealedCopy(*bytes.bytes), QFileInfo(found).permissions()))
        return Report{TextId::BackupNotMade, args, *error};
    return std::nullopt;
}

FolderChange::Outcome FolderChange::loadFound()
{
    if (std::optional<BookStorage::Unreadable> why =
            BookStorage::whyUnreadable(newFile(), m_storage.key().get()))
        return failed({TextId::NewBookUnreadable, {native(m_newFolder)}, std::nullopt, *why});
    const QString oldFolder = m_storage.filePath();
    m_storage.setFilePath(m_newFolder);
    if (std::optional<AppError> error = m_storage.loadBook()) {
        m_storage.setFilePath(oldFolder);
        return failed({TextId::NewBookUnreadable, {native(m_newFolder)}, *error});
    }
    const BookStorage::SaveResult saved = m_storage.saveBook();
    return {Outcome::Kind::Loaded, std::nullopt,
            saved.dataError ? saved.dataError : saved.exportError};
}

std::optional<Report> FolderChange::removeOldFile(const QString& oldFile) const
{
    QFile old(oldFile);
    // Two names of one file (a link the folder test could not see through)
    // must not cost the book it was just written as.
    if (!old.exists() || StorageFolder::sameEntry(oldFile, newFile()) || old.remove())
        return std::nullopt;
    return Report{TextId::OldBookNotRemoved,
                  {native(m_newFolder), native(oldFile)},
                  AppError{AppError::PermissionDenied, old.errorString()}};
}

// A readable copy of the whole book must not stay behind in a folder the user
// left: the old export goes when it is this book's, as written in the new
// folder too. Any other file of its name is the user's, and stays.
std::optional<Report> FolderChange::takeExportAlong(const QString& oldExport) const
{
    const QString newExport = m_storage.exportPath();
    if (!QFileInfo::exists(oldExport) || StorageFolder::sameEntry(oldExport, newExport))
        return std::nullopt;
    const QByteArray current = m_storage.exportBytes();
    const auto holdsTheBook = [&current](const QString& path) {
        const BoundedFile::Result file = BoundedFile::read(path, DataFile::MaxFileBytes);
        return file.bytes && *file.bytes == current;
    };
    if (!holdsTheBook(newExport) || !holdsTheBook(oldExport))
        return Report{TextId::OldExportKept, {native(oldExport)}};
    QFile old(oldExport);
    if (old.remove())
        return std::nullopt;
    return Report{TextId::OldExportNotRemoved,
                  {native(m_newFolder), native(oldExport)},
                  AppError{AppError::PermissionDenied, old.errorString()}};
}

QString FolderChange::backupName(const QString& path)
{
    const qsizetype name = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    return (dot > name ? path.left(dot) : path) + QStringLiteral(".bak");
}
