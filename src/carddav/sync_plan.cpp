#include "carddav/sync_plan.h"

#include "document/vcard_reader.h"
#include "document/vcard_writer.h"

#include <QCryptographicHash>
#include <QSet>
#include <QUuid>
#include <optional>

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
            const SyncPlan::Contents& contents, const QString& bookPath)
        : m_state(state), m_listing(listing), m_contents(contents), m_bookPath(bookPath)
    {}

    SyncPlan make(std::span<const Contact> contacts)
    {
        QSet<QString> uids;
        for (const Contact& contact : contacts) {
            uids.insert(contact.uid);
            planEntry(contact);
        }
        for (const auto& [path, card] : m_state.cards) {
            if (!card.uid.isEmpty() && !uids.contains(card.uid))
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
    static CardAction actionFor(const Contact& contact, const QString& cardUid)
    {
        CardAction action;
        action.uid = contact.uid;
        action.name = contact.name;
        action.card = SyncPlan::cardOf(contact, cardUid);
        action.cardUid = cardUid;
        action.hash = SyncPlan::hashOf(action.card);
        return action;
    }

    void planEntry(const Contact& contact)
    {
        const auto bound = m_state.pathOfUid(contact.uid);
        if (bound && isTrusted(m_state)) {
            const SyncCard& card = m_state.cards.at(*bound);
            return planBound(*bound, card, actionFor(contact, card.cardUid));
        }
        CardAction action = actionFor(contact, QString());
        const QString own = SyncPlan::ownPath(m_bookPath, action.uid);
        if (m_listing.contains(own))
            return planFound(own, std::move(action), SyncCard::Origin::Published);
        if (const auto twin = unclaimedTwin(action.name))
            return planFound(*twin, std::move(action), SyncCard::Origin::Fetched);
        action.path = own;
        m_claimed.insert(own);
        m_plan.creates.push_back(std::move(action));
    }

    void planBound(const QString& path, const SyncCard& card, CardAction action)
    {
        action.path = path;
        action.origin = card.origin;
        m_claimed.insert(path);
        const auto listed = m_listing.find(path);
        if (listed == m_listing.end())
            return m_plan.creates.push_back(std::move(action));
        action.etag = listed->second;
        if (listed->second != card.etag)
            return resolve(std::move(action));
        if (action.hash != card.hash)
            m_plan.updates.push_back(std::move(action));
    }

    // A card on the server the state does not bind to the entry.
    void planFound(const QString& path, CardAction action, SyncCard::Origin origin)
    {
        action.path = path;
        action.origin = origin;
        action.etag = m_listing.at(path);
        m_claimed.insert(path);
        resolve(std::move(action));
    }

    void resolve(CardAction action)
    {
        if (sameCard(m_contents, action.path, action.card))
            m_plan.binds.push_back(std::move(action));
        else
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
    QSet<QString> m_claimed;
    SyncPlan m_plan;
};

} // namespace

std::vector<QString> SyncPlan::contentsNeeded(const SyncState& state, const Listing& listing)
{
    std::vector<QString> paths;
    for (const auto& [path, etag] : listing) {
        const auto known = state.cards.find(path);
        const bool needed =
            !isTrusted(state) || (known == state.cards.end()
                                      ? isOwnPath(path)
                                      : !known->second.uid.isEmpty() && known->second.etag != etag);
        if (needed)
            paths.push_back(path);
    }
    return paths;
}

SyncPlan SyncPlan::make(std::span<const Contact> contacts, const SyncState& state,
                        const Listing& listing, const Contents& contents, const QString& bookPath)
{
    return Planner(state, listing, contents, bookPath).make(contacts);
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
