#pragma once

#include "carddav/card_merge.h"
#include "core/app_error.h"
#include "crypto/book_key.h"

#include <QString>
#include <map>
#include <optional>

// What the program remembers of an address book between publishes, kept in
// a file of its own beside the book: every card path seen on the server with
// the ETag it had, and for the cards bound to entries of the book the
// entry's UID, the ETag the book last agreed with and a hash of the card the
// book last made of the entry; and, as the base of the next merge, the card
// as the server held it when they last agreed and what the entry said then.
struct SyncCard
{
    enum class Origin
    {
        Foreign,   // another program's card, not bound to an entry
        Published, // created by this program
        Fetched,   // another program's card that became an entry
    };

    QString uid;        // the entry's, empty for a foreign card
    QString etag;       // the version the book agrees with
    QString serverEtag; // the version the last listing showed
    QString hash;       // of the card last made of the entry
    Origin origin = Origin::Foreign;
    QString cardUid = {};        // a fetched card's own UID, which it keeps when updated
    QByteArray base = {};        // the card last agreed on; empty where not known yet
    CardMerge::Owned owned = {}; // what the entry said then; empty where not known yet
    // Bound, and deleted on the server since: kept until the user says what
    // becomes of its entry.
    bool gone = false;

    friend bool operator==(const SyncCard&, const SyncCard&) = default;
};

struct SyncState
{
    QString addressBook; // the URL the cards belong to
    QString syncToken;
    std::map<QString, SyncCard> cards; // by path on the server
    // The words the window put in front of what fetched cards hold
    // (CardMerge::listOf), so that every program reads those entries alike.
    QStringList labels = {};
    // Entries whose card was deleted on the server and that the user keeps
    // in the book without one: no send makes their card again.
    QStringList unbound = {};
    // False when there was a file that could not be read: the next publish
    // compares every card instead of trusting what is remembered.
    bool trusted = true;

    friend bool operator==(const SyncState&, const SyncState&) = default;

    // "<book>.carddav" beside the book.
    static QString pathFor(const QString& bookPath);
    // An empty, trusted state where there is no file yet; an empty,
    // untrusted one where the file cannot be read or makes no sense. The
    // state of an encrypted book is sealed with the book's key, since its
    // card identifiers tell which names the book holds: read with `key`.
    static SyncState load(const QString& path, const BookKey* key = nullptr);
    // Atomically, readable by the owner only; sealed with `key` when given.
    std::optional<AppError> save(const QString& path, const BookKey* key = nullptr) const;

    // The state as the file holds it, and back; a state of an earlier
    // version reads with its cards' bases and entries not known yet. Bytes
    // that make no sense give an empty, untrusted state.
    QByteArray toBytes() const;
    static SyncState fromBytes(const QByteArray& bytes);

    std::optional<QString> pathOfUid(const QString& uid) const;
};
