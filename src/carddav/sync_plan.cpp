#include "carddav/sync_plan.h"

#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"

#include <QCryptographicHash>
#include <QSet>
#include <QUuid>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

bool isTrusted(const SyncState& state)
{
    return state.trusted && !state.cards.empty();
}

std::optional<Contact> contactOf(const QByteArray& card)
{
    const ContactsRead read = VCardReader::read(QString::fromUtf8(card));
    if (!read.ok() || read.contacts.size() != 1)
        return std::nullopt;
    return read.contacts.front();
}

// Whether the server holds what the book would send: compared as contacts,
// since servers may rewrite a card's lines without changing what it says.
bool sameCard(const SyncPlan::Contents& contents, const QString& path, const QByteArray& card)
{
    const auto found = contents.find(path);
    if (found == contents.end())
        return false;
    const auto server = contactOf(found->second);
    return server && server == contactOf(card);
}

class Planner
{
public:
    Planner(const SyncState& state, const SyncPlan::Listing& listing,
            const SyncPlan::Contents& contents, const QString& bookPath, const CardMerge& merge)
        : m_state(state), m_listing(listing), m_contents(contents), m_bookPath(bookPath),
          m_merge(merge)
    {}

    SyncPlan make(std::span<const Contact> contacts)
    {
        QSet<QString> uids;
        for (const Contact& contact : contacts)
            uids.insert(contact.uid);
        const std::map<QString, QString> moved = movedEntries(contacts, uids);
        for (const Contact& contact : contacts) {
            const auto found = moved.find(contact.uid);
            if (found == moved.end())
                planEntry(contact);
            else
                planBound(found->second, m_state.cards.at(found->second), contact);
        }
        for (const auto& [path, card] : m_state.cards) {
            if (!card.uid.isEmpty() && !uids.contains(card.uid) && !m_claimed.contains(path))
                planGone(path, card);
        }
        for (const auto& [path, etag] : m_listing) {
            if (m_claimed.contains(path))
                continue;
            const auto known = m_state.cards.find(path);
            if (known == m_state.cards.end()
                    ? !SyncPlan::isOwnPath(path)
                    : known->second.uid.isEmpty() && known->second.etag != etag)
                m_plan.fetched.push_back(path);
        }
        return std::move(m_plan);
    }

private:
    CardAction actionFor(const Contact& contact, const QString& cardUid) const
    {
        CardAction action;
        action.uid = contact.uid;
        action.name = contact.name;
        action.card = SyncPlan::cardOf(contact, cardUid);
        action.cardUid = cardUid;
        action.hash = SyncPlan::hashOf(action.card);
        action.base = action.card;
        action.owned = m_merge.ofEntry(contact);
        return action;
    }

    // The numbers and e-mail addresses an entry gives, which find it again
    // when its name or page changed; empty when it gives none.
    static QStringList reachOf(const CardMerge::Owned& owned)
    {
        QStringList reach = owned.value(QStringLiteral("EMAIL"));
        for (const QString& key : owned.value(QStringLiteral("TEL")))
            reach << key.section(u'|', 0, 0);
        reach.sort();
        return reach;
    }

    // Entries renamed or moved to another page, by their new UID: the card
    // bound to a UID no entry has any more follows the one entry with no card
    // that gives the same numbers and addresses, so it is updated rather than
    // a second card made.
    std::map<QString, QString> movedEntries(std::span<const Contact> contacts,
                                            const QSet<QString>& uids) const
    {
        std::map<QString, QString> moved;
        if (!isTrusted(m_state))
            return moved;
        std::map<QStringList, std::vector<QString>> orphans; // reach -> paths
        for (const auto& [path, card] : m_state.cards) {
            if (!card.uid.isEmpty() && !uids.contains(card.uid) && !reachOf(card.owned).isEmpty())
                orphans[reachOf(card.owned)].push_back(path);
        }
        if (orphans.empty())
            return moved;
        std::map<QStringList, std::vector<QString>> unbound; // reach -> UIDs
        for (const Contact& contact : contacts) {
            if (!m_state.pathOfUid(contact.uid))
                unbound[reachOf(m_merge.ofEntry(contact))].push_back(contact.uid);
        }
        for (const auto& [reach, paths] : orphans) {
            const auto found = unbound.find(reach);
            if (paths.size() == 1 && found != unbound.end() && found->second.size() == 1)
                moved[found->second.front()] = paths.front();
        }
        return moved;
    }

    QByteArray contentOf(const QString& path) const
    {
        const auto found = m_contents.find(path);
        return found == m_contents.end() ? QByteArray() : found->second;
    }

    void planEntry(const Contact& contact)
    {
        if (m_state.trusted && m_state.unbound.contains(contact.uid))
            return;
        const auto bound = m_state.pathOfUid(contact.uid);
        if (bound && isTrusted(m_state)) {
            const SyncCard& card = m_state.cards.at(*bound);
            return planBound(*bound, card, contact);
        }
        CardAction action = actionFor(contact, QString());
        const QString own = SyncPlan::ownPath(m_bookPath, action.uid);
        if (m_listing.contains(own))
            return planFound(own, std::move(action), contact, SyncCard::Origin::Published);
        if (const auto twin = unclaimedTwin(action.name))
            return planFound(*twin, std::move(action), contact, SyncCard::Origin::Fetched);
        action.path = own;
        m_claimed.insert(own);
        m_plan.creates.push_back(std::move(action));
    }

    void planBound(const QString& path, const SyncCard& card, const Contact& contact)
    {
        CardAction action = actionFor(contact, card.cardUid);
        action.path = path;
        action.origin = card.origin;
        m_claimed.insert(path);
        const auto listed = m_listing.find(path);
        if (listed == m_listing.end())
            return m_plan.deleted.push_back(std::move(action));
        const bool moved = listed->second != card.etag;
        const QByteArray server = moved || card.base.isEmpty() ? contentOf(path) : card.base;
        if (server.isEmpty()) // gone between the listing and the reading
            return m_plan.deleted.push_back(std::move(action));
        action.etag = listed->second;
        // The card the entry was made from or last agreed with.
        const QByteArray agreed = card.base.isEmpty() ? server : card.base;
        action.owned = m_merge.ofEntry(contact, agreed);
        const CardMerge::Owned before = !card.owned.empty() ? card.owned
                                        : action.hash == card.hash
                                            ? action.owned
                                            : m_merge.ofCardAsEntry(agreed, contact.category);
        const QStringList edited = CardMerge::changed(before, action.owned);
        const QByteArray plain =
            std::exchange(action.card, m_merge.merged(server, before, contact, agreed));
        action.base = action.card;
        if (edited.isEmpty() || action.card == server)
            return planUnedited(std::move(action), card, server, moved, plain);
        if (!moved)
            return m_plan.updates.push_back(std::move(action));
        // Changed on both sides: a conflict where both changed one property
        // to different values.
        const QStringList elsewhere =
            card.base.isEmpty() ? edited : CardMerge::changedLines(card.base, server);
        const CardMerge::Owned now = m_merge.ofCardAsEntry(server, contact.category);
        const bool clash = std::any_of(edited.begin(), edited.end(), [&](const QString& property) {
            return elsewhere.contains(property) &&
                   now.value(property) != action.owned.value(property);
        });
        (clash ? m_plan.conflicts : m_plan.updates).push_back(std::move(action));
    }

    // The entry unchanged since the last agreement: a change on the server
    // that touches what the entry says is offered to the book by the fetch;
    // any other is agreed on as it is.
    void planUnedited(CardAction action, const SyncCard& card, const QByteArray& server, bool moved,
                      const QByteArray& plain)
    {
        action.base = server;
        if (!moved) {
            if (card.base.isEmpty())
                m_plan.binds.push_back(std::move(action));
            return;
        }
        const bool says =
            card.base.isEmpty()
                ? !sameCard(m_contents, action.path, plain)
                : !CardMerge::changed(m_merge.ofCard(card.base), m_merge.ofCard(server)).isEmpty();
        (says ? m_plan.changed : m_plan.binds).push_back(std::move(action));
    }

    // A card on the server the state does not bind to the entry.
    void planFound(const QString& path, CardAction action, const Contact& contact,
                   SyncCard::Origin origin)
    {
        action.path = path;
        action.origin = origin;
        action.etag = m_listing.at(path);
        m_claimed.insert(path);
        const QByteArray server = contentOf(path);
        if (server.isEmpty())
            return m_plan.conflicts.push_back(std::move(action));
        if (sameCard(m_contents, path, action.card)) {
            action.base = server;
            action.owned = m_merge.ofEntry(contact, server);
            return m_plan.binds.push_back(std::move(action));
        }
        // The entry's values over the card's, the rest of the card kept.
        action.card = m_merge.merged(server, m_merge.ofCardAsEntry(server, contact.category),
                                     contact, server);
        action.base = action.card;
        action.owned = m_merge.ofEntry(contact, server);
        m_plan.conflicts.push_back(std::move(action));
    }

    void planGone(const QString& path, const SyncCard& card)
    {
        const auto listed = m_listing.find(path);
        if (card.origin != SyncCard::Origin::Published || listed == m_listing.end() ||
            !isTrusted(m_state)) {
            m_plan.unbinds.push_back(path);
            return;
        }
        m_claimed.insert(path);
        CardAction action{path, card.uid, QString(), listed->second};
        if (listed->second == card.etag)
            m_plan.deletes.push_back(std::move(action));
        else
            m_plan.conflicts.push_back(std::move(action));
    }

    // With nothing remembered, another program's card of the entry's name is
    // most likely the entry fetched earlier: the book gets no second card.
    std::optional<QString> unclaimedTwin(const QString& name)
    {
        if (isTrusted(m_state))
            return std::nullopt;
        for (const auto& [path, bytes] : m_contents) {
            if (m_claimed.contains(path) || SyncPlan::isOwnPath(path) || !m_listing.contains(path))
                continue;
            const auto contact = contactOf(bytes);
            if (contact && contact->name == name)
                return path;
        }
        return std::nullopt;
    }

    const SyncState& m_state;
    const SyncPlan::Listing& m_listing;
    const SyncPlan::Contents& m_contents;
    const QString& m_bookPath;
    const CardMerge& m_merge;
    QSet<QString> m_claimed;
    SyncPlan m_plan;
};

} // namespace

std::vector<QString> SyncPlan::contentsNeeded(const SyncState& state, const Listing& listing)
{
    std::vector<QString> paths;
    for (const auto& [path, etag] : listing) {
        const auto known = state.cards.find(path);
        const bool needed = !isTrusted(state) ||
                            (known == state.cards.end()
                                 ? isOwnPath(path)
                                 : !known->second.uid.isEmpty() && (known->second.etag != etag ||
                                                                    known->second.base.isEmpty()));
        if (needed)
            paths.push_back(path);
    }
    return paths;
}

SyncPlan SyncPlan::make(std::span<const Contact> contacts, const SyncState& state,
                        const Listing& listing, const Contents& contents, const QString& bookPath,
                        const CardMerge& merge)
{
    return Planner(state, listing, contents, bookPath, merge).make(contacts);
}

QString SyncPlan::ownPath(const QString& bookPath, const QString& uid)
{
    QString id = uid;
    id.remove(QStringLiteral("urn:uuid:"));
    return bookPath + id + QStringLiteral(".vcf");
}

bool SyncPlan::isOwnPath(const QString& path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    if (!name.endsWith(QStringLiteral(".vcf")))
        return false;
    const QUuid id(QStringView(name).chopped(4));
    return !id.isNull() && id.version() == QUuid::Sha1;
}

QByteArray SyncPlan::cardOf(Contact contact, const QString& cardUid)
{
    if (!cardUid.isEmpty())
        contact.uid = cardUid;
    QByteArray card;
    VCardWriter::append(card, contact);
    return card;
}

QString SyncPlan::hashOf(const QByteArray& card)
{
    return QString::fromLatin1(QCryptographicHash::hash(card, QCryptographicHash::Sha256).toHex());
}
