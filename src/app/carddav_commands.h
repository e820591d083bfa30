#pragma once

#include "carddav/carddav_sync.h"
#include "contacts/contact_entry.h"
#include "dialogs/carddav_account_dialog.h"
#include "rules/command.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

class CommandHandlers;
class BookSession;
class BookView;
class Notices;
class SettingsStore;

// The main popup's commands for a CardDAV address book: the account, sending
// the book's entries there and fetching what other programs put there. The
// book stays the master: a fetched card reaches it only through the import
// preview, a card changed on the server only as a proposal the user accepts,
// and a failure changes nothing in it. The window waits for the server in a
// local event loop behind a modal progress dialog; a second command and the
// window's closing wait for the one under way.
class CardDavCommands
{
public:
    CardDavCommands(BookSession& session, BookView& window, Notices& notices,
                    SettingsStore& settings)
        : m_session(session), m_window(window), m_notices(notices), m_settings(settings)
    {}

    void bind(CommandHandlers& handlers);

    bool busy() const { return m_busy; }
    // The window asked to close while a command runs: a send stops before
    // the next card, nothing is taken into the book, and `close` runs once
    // the command has ended.
    void closeWhenDone(std::function<void()> close) { m_closeWhenDone = std::move(close); }

private:
    void run(Command command);
    using Account = CardDavAccountDialog::Account;

    // False when the user cancelled.
    bool editAccount();
    // The account with its password: kept, from the secret store, or asked
    // for; nullopt when the user cancels.
    std::optional<Account> account();
    void send();
    void fetch();
    // The address book behind the account's address, or why there is none:
    // the one chosen earlier among several, else found from the address;
    // where the address holds several, the user chooses one, which is kept
    // for the account. Nullopt when he cancels.
    std::optional<CardDavClient::Discovery> discover(CardDavClient& client, const Account& account);
    // How the account's server may be reached: plain HTTP to another machine
    // only once the user agreed for this address; nullopt when he does not.
    std::optional<CardDavClient::Trust> trustFor(Account& account);
    // After a refused certificate: true when the user chose to trust it.
    bool offerTrust(const CardDavClient& client);
    // Asks what becomes of the entries whose cards were deleted on the
    // server; those to take out of the book are added to `remove`.
    CardDavSync::Deleted askDeleted(const std::vector<CardAction>& deleted, QSet<QString>& remove);
    // The entries of `uids` taken out of the book once the preview is accepted.
    void removeEntries(const QSet<QString>& uids);
    void settleConflicts(CardDavSync& sync, const std::vector<CardAction>& conflicts,
                         std::span<const Contact> contacts);
    void takeNew(CardDavSync& sync, const std::vector<CardDavSync::FetchedCard>& cards);
    void proposeChange(CardDavSync& sync, const CardDavSync::FetchedCard& card);
    bool storable(std::span<const Contact> contacts);
    void reportSend(const CardDavSync::Result& result);
    void sendFailed(const CardDavSync::Result& result, int total);
    void failed(TextId message, DavProblem problem, const QString& detail);
    QString reason(DavProblem problem, const QString& detail);
    QString tlsReason() const;
    QString statePath() const;
    QString text(TextId id);

    BookSession& m_session;
    BookView& m_window;
    Notices& m_notices;
    SettingsStore& m_settings;
    bool m_busy = false;
    bool m_stopping = false;
    std::function<void()> m_closeWhenDone;
    // The password of this run, for the account it was given for: where no
    // secret store keeps it, it is asked once per run.
    std::optional<Account> m_known;
    // Why the last certificate was refused (not the certificate: an empty
    // one would set up TLS at every start).
    QList<QSslError::SslError> m_refusedFor;
};
