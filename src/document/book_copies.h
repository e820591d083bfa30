#pragma once

#include "crypto/book_key.h"

#include <QString>
#include <QStringList>

class BookStorage;

// The copies of the book the program has written besides the book itself:
// the dated backups, the copies kept beside the book (unreadable, replaced,
// before a restore, with text after the last page, left by an interrupted
// save), the ".bak" of a folder change and the rescue copies. When the book
// is encrypted, decrypted, or its password changes, every copy is written
// again in the new form, so that no copy keeps the text readable and none
// becomes unreadable for the program; the text export and the note of what
// it was made from cannot be encrypted and are only listed, for the user to
// decide whether they go.
class BookCopies
{
public:
    struct Result
    {
        QStringList plainLeft; // hold the text in the clear and were not rewritten
        QStringList failed;    // could not be rewritten
    };

    explicit BookCopies(const BookStorage& storage, QString historyFolder);

    QStringList copies() const;
    // The export and its note, those of them that exist.
    QStringList exportFiles() const;

    // Each copy sealed under `from` (null: a plain copy) is written again
    // sealed under `to` (null: plain). A copy in any other form is left as
    // it is; a plain copy left so is reported.
    Result rewrite(const BookKey* from, const BookKey* to) const;

private:
    const BookStorage& m_storage;
    QString m_historyFolder;
};
