#pragma once

#include "core/app_error.h"
#include "core/built_in_text.h"
#include "document/book_storage.h"

#include <QString>
#include <QStringList>
#include <optional>

// Moving the book to another storage folder so that it is never lost: the
// new folder must exist and take files before anything is written there, the
// book is written into it before the old file goes, and every failure leaves
// the storage folder, the book in memory and the files on disk as they were.
// Nothing here asks or tells the user: the plan says what to ask, and each
// step reports what to tell.
class FolderChange
{
public:
    // `ReplaceResult`, the answer to the question whether the book found in
    // the new folder is replaced.
    enum class ReplaceResult
    {
        Closed = 0,
        Yes = 1,
        No = 2,
        Cancel = 3
    };

    enum class Plan
    {
        NoChange,     // the same folder, however it is written
        CreateFolder, // the folder is not there; createFolder() makes it
        Unusable,     // not a folder, or it takes no files
        Move,         // no book there: the book moves in
        Replace,      // a book is there: replace() acts on the user's answer
    };

    // What the user is told: the message with its arguments, followed by the
    // cause as the message's last argument when there is one.
    struct Report
    {
        TextId message;
        QStringList args;
        std::optional<AppError> cause = std::nullopt;
        std::optional<BookStorage::Unreadable> unreadable = std::nullopt;
    };

    struct Check
    {
        Plan plan;
        std::optional<Report> report = std::nullopt; // why the folder is unusable
    };

    struct Outcome
    {
        enum class Kind
        {
            Moved,     // the book is written in the new folder
            Loaded,    // the book found there replaced the one in memory
            Cancelled, // nothing changed, as the user chose
            Failed     // nothing changed; the report says why
        };
        Kind kind;
        // Why it failed; after a move, that the old file is still there.
        std::optional<Report> report = std::nullopt;
        // The book is safe in the new folder, but a save there reported this.
        std::optional<LocatedError> saveError = std::nullopt;
        // After a move, that the old folder still holds a text export.
        std::optional<Report> exportReport = std::nullopt;
    };

    // `newFolder` is absolute and ends with a separator.
    FolderChange(BookStorage& storage, QString newFolder);

    Check check() const;
    std::optional<Report> createFolder() const;
    Outcome moveBook();
    Outcome replace(ReplaceResult answer);

    // `NewFile`: the book file found in the new folder. `OldFile`: the book's
    // file now.
    QString newFile() const { return m_newFolder + m_storage.dataFileName(); }
    QString oldFile() const { return m_storage.fullDataPath(); }

    // The copy a replaced book is kept as: its name with ".bak" for its
    // extension.
    static QString backupName(const QString& path);

private:
    Outcome writeThere(BookStorage::OnDiskChange onDiskChange);
    Outcome loadFound();
    std::optional<Report> keepFoundBook() const;
    QByteArray sealedCopy(const QByteArray& bytes) const;
    std::optional<Report> removeOldFile(const QString& oldFile) const;
    std::optional<Report> takeExportAlong(const QString& oldExport) const;

    BookStorage& m_storage;
    QString m_newFolder;
};
