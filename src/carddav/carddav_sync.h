#pragma once

#include "carddav/carddav_client.h"
#include "carddav/sync_plan.h"
#include "carddav/sync_state.h"

#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <span>

// Publishing the book's entries to one address book and fetching what other
// programs put there, remembering in the state file what was agreed. Nothing
// here changes the book: fetched cards are handed back for the user to take.
class CardDavSync
{
public:
    // `labels`: the words this program puts in front of what a fetched card
    // holds, in the interface's language (none where nothing is fetched).
    CardDavSync(CardDavClient& client, QUrl addressBook, QString statePath,
                ContactEntry::Labels labels = {});
    // The key of an encrypted book: its state file is sealed with it.
    void setStateKey(std::shared_ptr<const BookKey> key) { m_stateKey = std::move(key); }

    struct Result
    {
        DavProblem problem = DavProblem::None;
        QString detail = {};
        SyncPlan plan = {}; // what was planned; conflicts gain the cards refused with 412
        int done = 0;       // cards sent or removed
        bool cancelled = false;
        std::optional<AppError> stateError = {}; // the state file could not be written

        bool ok() const { return problem == DavProblem::None && !cancelled && !stateError; }
    };

    // Asked before each card with the count done and the total; false stops
    // the publish between two cards.
    using Progress = std::function<bool(int done, int total)>;

    // What becomes of the entries whose cards were deleted on the server
    // since the last sync: kept in the book without a card, which no later
    // send makes again, or sent again.
    enum class Deleted
    {
        Unbind,
        Resend,
    };
    // Asked once per publish (or plan) with those cards; without a question
    // they are unbound.
    using DeletedQuestion = std::function<Deleted(const std::vector<CardAction>& deleted)>;
    void setDeletedQuestion(DeletedQuestion question) { m_deletedQuestion = std::move(question); }

    // What a publish would do; writes nothing anywhere.
    Result plan(std::span<const Contact> contacts);
    Result publish(std::span<const Contact> contacts, const Progress& progress = {});
    // Conflicts the user chose to settle with the book's version: each card
    // replaced (or removed) with If-Match on the version the server showed,
    // so a card changed yet again meanwhile is refused again, never lost.
    Result overwrite(std::span<const CardAction> conflicts);

    struct FetchedCard
    {
        QString path;
        QString boundUid; // the entry a changed card proposes to change; empty: a new card
        Contact contact;
        QString cardUid = {}; // the card's own
        QByteArray card = {}; // as the server holds it
    };
    struct Fetch
    {
        DavProblem problem = DavProblem::None;
        QString detail = {};
        std::vector<FetchedCard> cards = {};
    };
    // Cards new or changed on the server since last taken or published.
    Fetch fetch(std::span<const Contact> contacts);
    // The card at `path` became (or was taken into) the entry of `entry`: the
    // next publish updates that card instead of creating another.
    std::optional<AppError> accept(const FetchedCard& card, const Contact& entry);

private:
    struct Prepared
    {
        SyncState state;
        SyncPlan plan;
        DavProblem problem = DavProblem::None;
        QString detail = {};
    };
    Prepared prepare(std::span<const Contact> contacts);
    // The cards deleted on the server made again or unbound, as the user says.
    void settleDeleted(Prepared& prepared);
    QUrl urlOf(const QString& path) const;
    // The labels entries of this state were written with, and this program's.
    CardMerge mergeFor(SyncState& state) const;
    bool apply(const CardAction& action, SyncState& state, Result& result);

    CardDavClient& m_client;
    QUrl m_book;
    QString m_statePath;
    ContactEntry::Labels m_labels;
    std::shared_ptr<const BookKey> m_stateKey;
    DeletedQuestion m_deletedQuestion;
};
