#include "carddav/carddav_sync.h"

#include "contacts/vcard_reader.h"

#include <QSet>

namespace {

// A bound card missing from the listing stays, marked gone, until the user
// says what becomes of its entry; other cards gone are forgotten.
void keepListed(SyncState& state, const SyncPlan::Listing& listing)
{
    for (auto card = state.cards.begin(); card != state.cards.end();) {
        card->second.gone = !listing.contains(card->first);
        card = card->second.gone && card->second.uid.isEmpty() ? state.cards.erase(card)
                                                               : std::next(card);
    }
    for (const auto& [path, etag] : listing) {
        // Cards this program made are never offered to the book as new.
        const auto [card, added] = state.cards.try_emplace(path);
        card->second.serverEtag = etag;
        if (added && SyncPlan::isOwnPath(path))
            card->second.etag = etag;
    }
}

void record(SyncState& state, const CardAction& action, const QString& etag)
{
    state.cards[action.path] = {action.uid,    etag,           etag,        action.hash,
                                action.origin, action.cardUid, action.base, action.owned};
}

// What the server already holds as the book has it, and bound cards whose
// entry is gone, which stay on the server as other programs' cards.
void agree(SyncState& state, const SyncPlan& plan)
{
    for (const CardAction& action : plan.binds)
        record(state, action, action.etag);
    for (const QString& path : plan.unbinds) {
        SyncCard& card = state.cards[path];
        card = {QString(), card.serverEtag, card.serverEtag, QString(), SyncCard::Origin::Foreign};
    }
}

// The UID line of a card, unfolded.
QString uidOf(const QByteArray& card)
{
    QByteArray unfolded = card;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "").replace("\n ", "");
    for (const QByteArray& line : unfolded.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.toUpper().startsWith("UID:"))
            return QString::fromUtf8(trimmed.mid(4));
    }
    return {};
}

} // namespace

CardDavSync::CardDavSync(CardDavClient& client, QUrl addressBook, QString statePath,
                         ContactEntry::Labels labels)
    : m_client(client), m_book(std::move(addressBook)), m_statePath(std::move(statePath)),
      m_labels(std::move(labels))
{}

CardMerge CardDavSync::mergeFor(SyncState& state) const
{
    std::vector<ContactEntry::Labels> labels;
    if (!m_labels.organisation.isEmpty()) {
        labels.push_back(m_labels);
        if (state.labels.isEmpty())
            state.labels = CardMerge::listOf(m_labels);
    }
    if (!state.labels.isEmpty())
        labels.push_back(CardMerge::labelsOf(state.labels));
    return CardMerge(std::move(labels));
}

QUrl CardDavSync::urlOf(const QString& path) const
{
    QUrl url = m_book;
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

CardDavSync::Prepared CardDavSync::prepare(std::span<const Contact> contacts)
{
    Prepared prepared;
    prepared.state = SyncState::load(m_statePath, m_stateKey.get());
    if (prepared.state.addressBook != m_book.toString()) {
        prepared.state = SyncState{};
        prepared.state.addressBook = m_book.toString();
    }
    SyncState& state = prepared.state;
    const bool incremental = state.trusted && !state.cards.empty();
    const DavListing listed = m_client.list(m_book, incremental ? state.syncToken : QString());
    if (listed.problem != DavProblem::None) {
        prepared.problem = listed.problem;
        prepared.detail = listed.detail;
        return prepared;
    }
    SyncPlan::Listing listing;
    if (listed.full) {
        listing = listed.etags;
    } else {
        for (const auto& [path, card] : state.cards) {
            if (!card.gone)
                listing[path] = card.serverEtag;
        }
        for (const QString& path : listed.removed)
            listing.erase(path);
        for (const auto& [path, etag] : listed.etags)
            listing[path] = etag;
    }
    state.syncToken = listed.syncToken;
    // Entries kept without a card are remembered while they are in the book.
    QSet<QString> uids;
    for (const Contact& contact : contacts)
        uids.insert(contact.uid);
    state.unbound.removeIf([&uids](const QString& uid) { return !uids.contains(uid); });

    SyncPlan::Contents contents;
    for (const QString& path : SyncPlan::contentsNeeded(state, listing)) {
        const DavReply reply = m_client.get(urlOf(path));
        if (reply.problem == DavProblem::NotFound)
            continue;
        if (!reply.ok()) {
            prepared.problem = reply.problem;
            prepared.detail = reply.detail;
            return prepared;
        }
        contents[path] = reply.body;
    }
    prepared.plan =
        SyncPlan::make(contacts, state, listing, contents, m_book.path(), mergeFor(state));
    keepListed(state, listing);
    state.trusted = true;
    return prepared;
}

CardDavSync::Result CardDavSync::plan(std::span<const Contact> contacts)
{
    Prepared prepared = prepare(contacts);
    if (prepared.problem == DavProblem::None)
        settleDeleted(prepared);
    return {prepared.problem, prepared.detail, std::move(prepared.plan)};
}

void CardDavSync::settleDeleted(Prepared& prepared)
{
    SyncPlan& plan = prepared.plan;
    if (plan.deleted.empty())
        return;
    if (m_deletedQuestion && m_deletedQuestion(plan.deleted) == Deleted::Resend) {
        plan.creates.insert(plan.creates.end(), plan.deleted.begin(), plan.deleted.end());
        return;
    }
    for (const CardAction& action : plan.deleted) {
        prepared.state.cards.erase(action.path);
        prepared.state.unbound << action.uid;
    }
}

bool CardDavSync::apply(const CardAction& action, SyncState& state, Result& result)
{
    const bool removing = action.card.isEmpty();
    const DavReply reply = removing ? m_client.remove(urlOf(action.path), action.etag)
                                    : m_client.put(urlOf(action.path), action.card, action.etag);
    if (reply.problem == DavProblem::Conflict) {
        result.plan.conflicts.push_back(action);
        return true;
    }
    if (removing && (reply.ok() || reply.problem == DavProblem::NotFound)) {
        state.cards.erase(action.path);
    } else if (reply.ok()) {
        // The next merge starts from an updated card as the server stored it.
        CardAction agreed = action;
        const DavReply stored =
            action.etag.isEmpty() ? DavReply() : m_client.get(urlOf(action.path));
        if (stored.ok() && !stored.body.isEmpty() &&
            (stored.etag.isEmpty() || stored.etag == reply.etag))
            agreed.base = stored.body;
        record(state, agreed, reply.etag);
    } else {
        result.problem = reply.problem;
        result.detail = reply.detail;
        return false;
    }
    ++result.done;
    return true;
}

CardDavSync::Result CardDavSync::publish(std::span<const Contact> contacts,
                                         const Progress& progress)
{
    Prepared prepared = prepare(contacts);
    if (prepared.problem == DavProblem::None)
        settleDeleted(prepared);
    Result result{prepared.problem, prepared.detail, prepared.plan};
    if (prepared.problem != DavProblem::None)
        return result;
    SyncState& state = prepared.state;
    agree(state, prepared.plan);

    std::vector<const CardAction*> actions;
    for (const auto* list :
         {&prepared.plan.deletes, &prepared.plan.updates, &prepared.plan.creates})
        for (const CardAction& action : *list)
            actions.push_back(&action);
    const int total = int(actions.size());
    for (const CardAction* action : actions) {
        if (progress && !progress(result.done, total)) {
            result.cancelled = true;
            break;
        }
        if (!apply(*action, state, result))
            break;
    }
    if (result.problem != DavProblem::None)
        state.syncToken.clear();
    result.stateError = state.save(m_statePath, m_stateKey.get());
    return result;
}

CardDavSync::Result CardDavSync::overwrite(std::span<const CardAction> conflicts)
{
    Result result;
    SyncState state = SyncState::load(m_statePath, m_stateKey.get());
    for (const CardAction& action : conflicts) {
        if (!apply(action, state, result))
            break;
    }
    result.stateError = state.save(m_statePath, m_stateKey.get());
    return result;
}

CardDavSync::Fetch CardDavSync::fetch(std::span<const Contact> contacts)
{
    Prepared prepared = prepare(contacts);
    Fetch fetch{prepared.problem, prepared.detail, {}};
    if (prepared.problem != DavProblem::None)
        return fetch;
    // Remembered, so that a card the user takes can be bound to its entry.
    agree(prepared.state, prepared.plan);
    prepared.state.save(m_statePath, m_stateKey.get());
    std::vector<std::pair<QString, QString>> wanted; // path, bound UID
    for (const QString& path : prepared.plan.fetched)
        wanted.emplace_back(path, QString());
    for (const auto* list : {&prepared.plan.conflicts, &prepared.plan.changed}) {
        for (const CardAction& action : *list) {
            if (!action.card.isEmpty())
                wanted.emplace_back(action.path, action.uid);
        }
    }
    for (const auto& [path, uid] : wanted) {
        const DavReply reply = m_client.get(urlOf(path));
        if (reply.problem == DavProblem::NotFound)
            continue;
        if (!reply.ok())
            return {reply.problem, reply.detail, {}};
        const ContactsRead read = VCardReader::read(QString::fromUtf8(reply.body));
        for (const Contact& contact : read.contacts)
            fetch.cards.push_back({path, uid, contact, uidOf(reply.body), reply.body});
    }
    return fetch;
}

std::optional<AppError> CardDavSync::accept(const FetchedCard& fetched, const Contact& entry)
{
    SyncState state = SyncState::load(m_statePath, m_stateKey.get());
    const auto found = state.cards.find(fetched.path);
    if (!state.trusted || found == state.cards.end())
        return std::nullopt;
    SyncCard& card = found->second;
    if (card.origin == SyncCard::Origin::Foreign) {
        card.origin = SyncCard::Origin::Fetched;
        card.cardUid = fetched.cardUid;
    }
    card.uid = entry.uid;
    card.etag = card.serverEtag;
    card.hash = SyncPlan::hashOf(SyncPlan::cardOf(entry, card.cardUid));
    card.base = fetched.card;
    card.owned = mergeFor(state).ofEntry(entry, fetched.card);
    return state.save(m_statePath, m_stateKey.get());
}
