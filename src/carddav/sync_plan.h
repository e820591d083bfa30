#pragma once

#include "carddav/sync_state.h"
#include "contacts/contact.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <span>
#include <vector>

// One card to send, remove or show.
struct CardAction
{
    QString path = {};
    QString uid = {};
    QString name = {};
    QString etag = {};    // If-Match for an update or delete
    QByteArray card = {}; // the vCard to send
    QString hash = {};    // of `card`
    SyncCard::Origin origin = SyncCard::Origin::Published;
    QString cardUid = {};        // the UID a fetched card keeps
    QByteArray base = {};        // the card the server holds once this is done
    CardMerge::Owned owned = {}; // what the entry says

    friend bool operator==(const CardAction&, const CardAction&) = default;
};

// What a publish would do: the book's entries against what is remembered
// and what the server lists. Only cards this program created are deleted,
// and only cards bound to an entry are updated. An update is the card as
// the server holds it with what the entry changed since they last agreed
// (CardMerge); a card changed on the server meanwhile is merged where the
// two changed different properties and is a conflict, never overwritten,
// where both changed the same one. A renamed or moved entry is a new UID:
// its old card follows it where the one entry without a card gives the same
// numbers and addresses; else the old card is deleted and a new one created.
// A bound card deleted on the server is neither made again nor forgotten
// until the user answers; an entry he keeps without a card is not sent.
struct SyncPlan
{
    std::vector<CardAction> creates = {};
    std::vector<CardAction> updates = {};
    std::vector<CardAction> deletes = {};
    std::vector<CardAction> conflicts = {};
    std::vector<CardAction> binds = {};   // the server already holds the entry's card as it is
    std::vector<QString> unbinds = {};    // bound cards whose entry is gone but that stay
    std::vector<QString> fetched = {};    // other programs' cards new or changed since last fetched
    std::vector<CardAction> changed = {}; // bound cards changed on the server alone
    // Bound cards deleted on the server whose entries are still in the book:
    // made again only when the user says so (CardDavSync::Deleted).
    std::vector<CardAction> deleted = {};

    // The server's listing, path -> ETag.
    using Listing = std::map<QString, QString>;
    // The cards on the server, path -> vCard, that the planner compares by
    // content.
    using Contents = std::map<QString, QByteArray>;

    // Which cards have to be read before planning: all of them when nothing
    // trustworthy is remembered; else cards at this program's own paths that
    // the state lacks (a publish interrupted before it was saved), bound
    // cards whose ETag moved (changed elsewhere, or by such a publish) and
    // bound cards whose agreed version is not kept yet.
    static std::vector<QString> contentsNeeded(const SyncState& state, const Listing& listing);

    // `contacts` carry their UIDs (ContactExport); `bookPath` is the address
    // book's path on the server, ending in "/".
    static SyncPlan make(std::span<const Contact> contacts, const SyncState& state,
                         const Listing& listing, const Contents& contents, const QString& bookPath,
                         const CardMerge& merge);

    // The path this program gives the card of a UID; a path of that form is
    // this program's own.
    static QString ownPath(const QString& bookPath, const QString& uid);
    static bool isOwnPath(const QString& path);
    static QString hashOf(const QByteArray& card);
    // The card of an entry; a fetched card keeps the UID it came with.
    static QByteArray cardOf(Contact contact, const QString& cardUid);
};
