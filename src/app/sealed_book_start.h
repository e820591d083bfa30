#pragma once

#include "app/book_question.h"
#include "core/folders.h"

#include <QString>
#include <functional>
#include <optional>

class BookEncryption;
class Notices;

// Start-up's way to an encrypted book, before the book is read. A book whose
// header is whole asks its password. Once the settings remember the book as
// encrypted (or its file says it is), a book that is missing, empty or
// damaged is never replaced by a plain one: the person is told which file and
// why, and chooses the newest encrypted backup (its password asked), a new
// empty encrypted book (a new password typed twice) or to quit. A readable
// plain book in its place (encryption switched off elsewhere, over a synced
// folder) is sealed again or kept plain, as the person chooses.
class SealedBookStart
{
public:
    struct Prompts
    {
        std::function<bool()> login; // the log-in window; checks through BookEncryption
        std::function<std::optional<QString>()> newPassword; // typed twice; none: cancelled
        BookQuestion::Ask question;
    };

    SealedBookStart(BookEncryption& encryption, Notices& notices, Prompts prompts)
        : m_encryption(encryption), m_notices(notices), m_prompts(std::move(prompts))
    {}

    // False when the program must end: nothing has been loaded or written.
    bool run(const Folders& folders, bool passwordStored);
    // After the book is loaded: a plain book is sealed, when that was chosen.
    void finish();

    // The newest backup in `historyFolder` whose encrypted header is whole.
    static QString newestSealedBackup(const QString& historyFolder, const QString& exeBaseName);

private:
    bool unopenable(const Folders& folders, const QString& why);
    bool plainWhileRemembered(const Folders& folders, bool passwordStored);
    bool restore(const QString& backup, const QString& book);
    bool newBook();
    // What is wrong with the book at `path`; empty for a readable plain book.
    QString problemOf(const QString& path) const;

    BookEncryption& m_encryption;
    Notices& m_notices;
    Prompts m_prompts;
    bool m_sealAfterLoad = false;
};
