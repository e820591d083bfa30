#include "app/carddav_commands.h"

#include "app/command_handlers.h"

#include "app/book_session.h"
#include "app/notices.h"
#include "carddav/password_store.h"
#include "contacts/contact_export.h"
#include "contacts/contact_import.h"
#include "contacts/entry_remove.h"
#include "contacts/entry_replace.h"
#include "core/option_table.h"
#include "core/settings_store.h"
#include "dialogs/contacts_import_dialog.h"
#include "ui/book_view.h"

#include <QDir>
#include <QLocale>
#include <QProgressDialog>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <map>

namespace {

QString setting(const SettingsStore& settings, QStringView key)
{
    return settings.read(OptionTable::cardDavSection.toString(), key.toString(), QString());
}

// An address stored without a scheme was typed before addresses meant HTTPS.
QUrl urlOf(const QString& stored)
{
    return QUrl::fromUserInput(stored);
}

bool hasScheme(const QString& url)
{
    return url.contains(QStringLiteral("://"));
}

// The book's contact of `uid`, else the first of `name` filed under `title`.
const Contact* entryOf(const std::vector<Contact>& contacts, const QString& uid,
                       const QString& title, const QString& name)
{
    for (const Contact& contact : contacts) {
        if (contact.uid == uid)
            return &contact;
    }
    for (const Contact& contact : contacts) {
        if (!name.isEmpty() && contact.category == title && contact.name == name)
            return &contact;
    }
    return nullptr;
}

} // namespace

// The modal progress of one command; a busy indicator until the cards are
// counted.
class CardDavProgress
{
public:
    CardDavProgress(QWidget* owner, const QString& label, const QString& cancel)
        : m_dialog(label, cancel, 0, 0, owner)
    {
        m_dialog.setObjectName(QStringLiteral("frmCardDavProgress"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    // False once the user cancelled.
    bool step(int done, int total)
    {
        m_dialog.setMaximum(total);
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

void CardDavCommands::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::CardDavAccount, [this] { run(Command::CardDavAccount); });
    handlers.bind(Command::CardDavSend, [this] { run(Command::CardDavSend); });
    handlers.bind(Command::CardDavFetch, [this] { run(Command::CardDavFetch); });
}

void CardDavCommands::run(Command command)
{
    if (m_busy)
        return;
    m_busy = true;
    m_stopping = false;
    switch (command) {
    case Command::CardDavAccount:
        editAccount();
        break;
    case Command::CardDavSend:
        send();
        break;
    case Command::CardDavFetch:
        fetch();
        break;
    default:
        break;
    }
    m_busy = false;
    if (m_closeWhenDone)
        QTimer::singleShot(0, std::exchange(m_closeWhenDone, {}));
}

QString CardDavCommands::text(TextId id)
{
    return m_notices.text(id);
}

QString CardDavCommands::statePath() const
{
    return SyncState::pathFor(m_session.storage().fullDataPath());
}

bool CardDavCommands::editAccount()
{
    Account shown{setting(m_settings, OptionTable::cardDavUrlKey),
                  setting(m_settings, OptionTable::cardDavUserKey)};
    if (m_known && m_known->url == shown.url && m_known->user == shown.user)
        shown.password = m_known->password;
    CardDavAccountDialog dialog(shown, CardDavAccountDialog::Mode::Account,
                                PasswordStore::available(), m_notices.textLookup(), m_window.dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Account typed = dialog.account();
    // A new address without a scheme is HTTPS.
    if (!typed.url.isEmpty() && !hasScheme(typed.url))
        typed.url = QStringLiteral("https://") + typed.url;
    const QString section = OptionTable::cardDavSection.toString();
    if (urlOf(typed.url) != urlOf(shown.url)) {
        m_settings.write(section, OptionTable::cardDavAllowHttpKey.toString(), QString());
        m_settings.write(section, OptionTable::cardDavCertificateKey.toString(), QString());
        m_settings.write(section, OptionTable::cardDavAddressBookKey.toString(), QString());
    }
    m_settings.write(section, OptionTable::cardDavUrlKey.toString(), typed.url);
    m_settings.write(section, OptionTable::cardDavUserKey.toString(), typed.user);
    m_known.reset();
    if (typed.password.isEmpty())
        return true;
    m_known = typed;
    if (!PasswordStore::write(urlOf(typed.url), typed.user, typed.password))
        m_notices.present(text(TextId::CardDavNoStore), MessageService::Icon::Information);
    return true;
}

std::optional<CardDavCommands::Account> CardDavCommands::account()
{
    Account stored{setting(m_settings, OptionTable::cardDavUrlKey),
                   setting(m_settings, OptionTable::cardDavUserKey)};
    if (stored.url.isEmpty() || stored.user.isEmpty()) {
        if (!editAccount())
            return std::nullopt;
        return account();
    }
    if (m_known && m_known->url == stored.url && m_known->user == stored.user)
        return m_known;
    if (auto kept = PasswordStore::read(urlOf(stored.url), stored.user)) {
        stored.password = *kept;
        return m_known = stored;
    }
    CardDavAccountDialog dialog(stored, CardDavAccountDialog::Mode::Password, false,
                                m_notices.textLookup(), m_window.dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    stored.password = dialog.account().password;
    return m_known = stored;
}

std::optional<CardDavClient::Discovery> CardDavCommands::discover(CardDavClient& client,
                                                                  const Account& account)
{
    const QString section = OptionTable::cardDavSection.toString();
    const QString key = OptionTable::cardDavAddressBookKey.toString();
    if (const QString chosen = setting(m_settings, key); !chosen.isEmpty()) {
        const CardDavClient::Discovery kept = client.discover(QUrl(chosen));
        if (kept.problem != DavProblem::NotAddressBook && kept.problem != DavProblem::NotCardDav)
            return kept;
        m_settings.write(section, key, QString()); // gone from the server: asked again
    }
    CardDavClient::Discovery found = client.discover(urlOf(account.url));
    if (found.problem != DavProblem::SeveralBooks)
        return found;
    if (m_closeWhenDone)
        return std::nullopt;
    QStringList names;
    for (const CardDavClient::AddressBook& book : found.books)
        names << (book.name.isEmpty() ? book.url.path() : book.name);
    const int choice = m_notices.messages().choose(
        text(TextId::CardDavChooseBook).arg(found.detail), names << text(TextId::CommonCancel));
    if (choice < 0 || choice >= int(found.books.size()))
        return std::nullopt;
    found.problem = DavProblem::None;
    found.addressBook = found.books[std::size_t(choice)].url;
    m_settings.write(section, key, found.addressBook.toString());
    return found;
}

std::optional<CardDavClient::Trust> CardDavCommands::trustFor(Account& account)
{
    const QString section = OptionTable::cardDavSection.toString();
    CardDavClient::Trust trust;
    trust.sha256 = setting(m_settings, OptionTable::cardDavCertificateKey).toLatin1();
    const QUrl url = urlOf(account.url);
    if (url.scheme() != u"http" || CardDavClient::isLoopback(url))
        return trust;
    trust.plainHttp = setting(m_settings, OptionTable::cardDavAllowHttpKey) == url.toString();
    if (trust.plainHttp)
        return trust;
    const int choice = m_notices.messages().choose(
        text(TextId::CardDavPlainHttpQuestion).arg(url.toString()),
        {text(TextId::CardDavPlainHttpAllow), text(TextId::CommonCancel)});
    if (choice != 0)
        return std::nullopt;
    m_settings.write(section, OptionTable::cardDavAllowHttpKey.toString(), url.toString());
    if (!hasScheme(account.url)) {
        // Stored with its scheme from now on: the same address, password and state.
        m_settings.write(section, OptionTable::cardDavUrlKey.toString(), url.toString());
        account.url = url.toString();
        if (m_known)
            m_known->url = account.url;
    }
    trust.plainHttp = true;
    return trust;
}

bool CardDavCommands::offerTrust(const CardDavClient& client)
{
    const QSslCertificate& certificate = client.refusal().certificate;
    if (certificate.isNull() || m_closeWhenDone)
        return false;
    const QLocale locale;
    const QString question =
        text(TextId::CardDavTrustQuestion)
            .arg(tlsReason(), certificate.subjectDisplayName(), certificate.issuerDisplayName(),
                 locale.toString(certificate.effectiveDate().date()),
                 locale.toString(certificate.expiryDate().date()),
                 QString::fromLatin1(CardDavClient::fingerprint(certificate)));
    if (m_notices.messages().choose(question,
                                    {text(TextId::CardDavTrust), text(TextId::CommonCancel)}) != 0)
        return false;
    m_settings.write(OptionTable::cardDavSection.toString(),
                     OptionTable::cardDavCertificateKey.toString(),
                     QString::fromLatin1(CardDavClient::fingerprint(certificate)));
    return true;
}

QString CardDavCommands::tlsReason() const
{
    static const std::map<QSslError::SslError, TextId> reasons{
        {QSslError::SelfSignedCertificate, TextId::CardDavTlsSelfSigned},
        {QSslError::SelfSignedCertificateInChain, TextId::CardDavTlsSelfSigned},
        {QSslError::CertificateExpired, TextId::CardDavTlsExpired},
        {QSslError::CertificateNotYetValid, TextId::CardDavTlsNotYetValid},
        {QSslError::HostNameMismatch, TextId::CardDavTlsHostName},
        {QSslError::UnableToGetLocalIssuerCertificate, TextId::CardDavTlsUntrusted},
        {QSslError::UnableToGetIssuerCertificate, TextId::CardDavTlsUntrusted},
        {QSslError::UnableToVerifyFirstCertificate, TextId::CardDavTlsUntrusted},
        {QSslError::CertificateUntrusted, TextId::CardDavTlsUntrusted},
    };
    QStringList said;
    for (const QSslError::SslError error : m_refusedFor) {
        const auto found = reasons.find(error);
        said << (found == reasons.end() ? QSslError(error).errorString()
                                        : m_notices.text(found->second));
    }
    said.removeDuplicates();
    return said.isEmpty() ? m_notices.text(TextId::CardDavTls) : said.join(QStringLiteral(", "));
}

QString CardDavCommands::reason(DavProblem problem, const QString& detail)
{
    static const std::map<DavProblem, TextId> reasons{
        {DavProblem::NoNetwork, TextId::CardDavNoNetwork},
        {DavProblem::WrongPassword, TextId::CardDavWrongPassword},
        {DavProblem::Tls, TextId::CardDavTls},
        {DavProblem::Conflict, TextId::CardDavConflict},
        {DavProblem::NotCardDav, TextId::CardDavNotCardDav},
        {DavProblem::NotFound, TextId::CardDavNotFound},
        {DavProblem::PlainHttp, TextId::CardDavPlainHttp},
    };
    const auto found = reasons.find(problem);
    if (problem == DavProblem::Tls)
        return tlsReason();
    if (problem == DavProblem::NotAddressBook)
        return text(TextId::CardDavNotAddressBook).arg(detail);
    const QString said = text(found == reasons.end() ? TextId::CardDavServer : found->second);
    return detail.isEmpty() ? said : QStringLiteral("%1 (%2)").arg(said, detail);
}

// A refused password is forgotten, so the next command asks again.
void CardDavCommands::failed(TextId message, DavProblem problem, const QString& detail)
{
    if (problem == DavProblem::WrongPassword)
        m_known.reset();
    m_notices.warn(text(message).arg(reason(problem, detail)));
}

void CardDavCommands::send()
{
    std::optional<Account> account = this->account();
    if (!account)
        return;
    const std::optional<CardDavClient::Trust> trust = trustFor(*account);
    if (!trust)
        return;
    m_session.flushOpenPage();
    const std::vector<Contact> contacts = ContactExport::ofBook(m_session.book().pages());
    std::optional<CardDavProgress> progress(std::in_place, m_window.dialogParent(), text(TextId::CardDavSending),
                                            text(TextId::CommonCancel));
    CardDavClient client(account->user, account->password);
    client.setTrust(*trust);
    const std::optional<CardDavClient::Discovery> discovered = discover(client, *account);
    if (!discovered)
        return;
    const CardDavClient::Discovery& found = *discovered;
    m_refusedFor = client.refusal().errors;
    if (found.problem != DavProblem::None) {
        progress.reset();
        if (found.problem == DavProblem::Tls && offerTrust(client))
            return send();
        return failed(TextId::CardDavNothingSent, found.problem, found.detail);
    }
    CardDavSync sync(client, found.addressBook, statePath(), m_notices.contactLabels());
    sync.setStateKey(m_session.storage().key());
    QSet<QString> remove;
    sync.setDeletedQuestion(
        [&](const std::vector<CardAction>& deleted) { return askDeleted(deleted, remove); });
    const CardDavSync::Result result = sync.publish(contacts, [&](int done, int total) {
        return progress->step(done, total) && !m_closeWhenDone;
    });
    progress.reset();
    reportSend(result);
    if (result.problem == DavProblem::None && !result.plan.conflicts.empty() && !m_closeWhenDone)
        settleConflicts(sync, result.plan.conflicts, contacts);
    if (result.problem == DavProblem::None && !remove.isEmpty() && !m_closeWhenDone)
        removeEntries(remove);
}

CardDavSync::Deleted CardDavCommands::askDeleted(const std::vector<CardAction>& deleted,
                                                 QSet<QString>& remove)
{
    if (m_closeWhenDone)
        return CardDavSync::Deleted::Unbind;
    QStringList names;
    for (const CardAction& action : deleted)
        names << action.name;
    const int choice = m_notices.messages().choose(
        text(TextId::CardDavDeletedQuestion).arg(names.join(u'\n')),
        {text(TextId::CardDavDeletedRemove), text(TextId::CardDavDeletedResend),
         text(TextId::CardDavDeletedUnbind)});
    if (choice == 1)
        return CardDavSync::Deleted::Resend;
    if (choice == 0) {
        for (const CardAction& action : deleted)
            remove.insert(action.uid);
    }
    return CardDavSync::Deleted::Unbind;
}

// Shown first as the preview shows entries; on the open page the removal is
// one edit, which Undo takes back.
void CardDavCommands::removeEntries(const QSet<QString>& uids)
{
    Book& book = m_session.book();
    m_session.flushOpenPage();
    QStringList entries;
    for (const Contact& contact : ContactExport::ofBook(book.pages())) {
        if (uids.contains(contact.uid))
            entries << ContactEntry::toEntry(contact, m_notices.contactLabels());
    }
    if (entries.isEmpty())
        return;
    ContactsImportDialog preview(entries.join(QStringLiteral("\r\n")), int(entries.size()),
                                 QString(), m_notices.textLookup(), m_window.dialogParent());
    preview.proposeRemoving();
    if (preview.exec() != QDialog::Accepted || m_closeWhenDone)
        return;
    m_session.flushOpenPage();
    const EntryRemove removal(book.pages(), uids);
    const ContactImport::Form form = m_session.storage().useRtf() ? ContactImport::Form::RichText
                                                                  : ContactImport::Form::PlainText;
    const int open = m_window.currentPage();
    const std::vector<int> pages = removal.pages();
    if (pages.size() > std::size_t(std::count(pages.begin(), pages.end(), open))) {
        for (const int page : pages) {
            if (page != open)
                book.setPageText(page, removal.textWithout(page, book.page(page), form));
        }
        m_session.rebuildTabs();
    }
    // Last, as a reload of the open page would take its Undo away.
    if (std::find(pages.begin(), pages.end(), open) != pages.end()) {
        m_window.editOpenPage([&](QTextDocument& doc) { removal.apply(open, doc); });
        m_session.flushOpenPage();
    }
}

void CardDavCommands::reportSend(const CardDavSync::Result& result)
{
    const SyncPlan& plan = result.plan;
    const int total = int(plan.creates.size() + plan.updates.size() + plan.deletes.size());
    if (result.problem != DavProblem::None) {
        sendFailed(result, total);
    } else if (result.cancelled) {
        m_notices.present(text(TextId::CardDavCancelled)
                              .arg(QString::number(result.done), QString::number(total)),
                          MessageService::Icon::Information);
    } else {
        QSet<QString> refused;
        for (const CardAction& conflict : plan.conflicts)
            refused.insert(conflict.path);
        const auto sent = [&refused](const std::vector<CardAction>& actions) {
            return std::count_if(actions.begin(), actions.end(),
                                 [&](const CardAction& a) { return !refused.contains(a.path); });
        };
        m_notices.present(text(TextId::CardDavSent)
                              .arg(QString::number(sent(plan.creates)),
                                   QString::number(sent(plan.updates)),
                                   QString::number(sent(plan.deletes))),
                          MessageService::Icon::Information);
    }
    if (result.stateError) {
        m_notices.warn(text(TextId::CardDavStateFailed)
                           .arg(QDir::toNativeSeparators(statePath()),
                                m_notices.describe(*result.stateError)));
    }
}

// How many cards went before the failure; nothing about going on where none did.
void CardDavCommands::sendFailed(const CardDavSync::Result& result, int total)
{
    if (result.done == 0)
        return failed(TextId::CardDavNothingSent, result.problem, result.detail);
    if (result.problem == DavProblem::WrongPassword)
        m_known.reset();
    m_notices.warn(text(TextId::CardDavSendFailed)
                       .arg(reason(result.problem, result.detail), QString::number(result.done),
                            QString::number(total)));
}

// Each conflict named by its entry, or by its card where the entry is gone.
void CardDavCommands::settleConflicts(CardDavSync& sync, const std::vector<CardAction>& conflicts,
                                      std::span<const Contact> contacts)
{
    QStringList names;
    QSet<QString> paths;
    for (const CardAction& conflict : conflicts) {
        names << (conflict.name.isEmpty() ? conflict.path.section(u'/', -1) : conflict.name);
        paths.insert(conflict.path);
    }
    const int choice =
        m_notices.messages().choose(text(TextId::CardDavConflicts).arg(names.join(u'\n')),
                                    {text(TextId::CardDavTakeServer),
                                     text(TextId::CardDavOverwrite), text(TextId::CardDavLeave)});
    if (choice == 1) {
        const CardDavSync::Result result = sync.overwrite(conflicts);
        if (result.problem != DavProblem::None)
            sendFailed(result, int(conflicts.size()));
        return;
    }
    if (choice != 0)
        return;
    const CardDavSync::Fetch fetched = sync.fetch(contacts);
    if (fetched.problem != DavProblem::None)
        return failed(TextId::CardDavFetchFailed, fetched.problem, fetched.detail);
    for (const CardDavSync::FetchedCard& card : fetched.cards) {
        if (paths.contains(card.path) && !card.boundUid.isEmpty())
            proposeChange(sync, card);
    }
}

void CardDavCommands::fetch()
{
    std::optional<Account> account = this->account();
    if (!account)
        return;
    const std::optional<CardDavClient::Trust> trust = trustFor(*account);
    if (!trust)
        return;
    m_session.flushOpenPage();
    const std::vector<Contact> contacts = ContactExport::ofBook(m_session.book().pages());
    std::optional<CardDavProgress> progress(std::in_place, m_window.dialogParent(), text(TextId::CardDavFetching),
                                            text(TextId::CommonCancel));
    CardDavClient client(account->user, account->password);
    client.setTrust(*trust);
    const std::optional<CardDavClient::Discovery> discovered = discover(client, *account);
    if (!discovered)
        return;
    const CardDavClient::Discovery& found = *discovered;
    m_refusedFor = client.refusal().errors;
    if (found.problem != DavProblem::None) {
        progress.reset();
        if (found.problem == DavProblem::Tls && offerTrust(client))
            return fetch();
        return failed(TextId::CardDavFetchFailed, found.problem, found.detail);
    }
    CardDavSync sync(client, found.addressBook, statePath(), m_notices.contactLabels());
    sync.setStateKey(m_session.storage().key());
    const CardDavSync::Fetch fetched = sync.fetch(contacts);
    const bool cancelled = !progress->step(0, 0) || m_closeWhenDone;
    progress.reset();
    if (fetched.problem != DavProblem::None)
        return failed(TextId::CardDavFetchFailed, fetched.problem, fetched.detail);
    if (cancelled)
        return;
    if (fetched.cards.empty()) {
        m_notices.present(text(TextId::CardDavNothingNew), MessageService::Icon::Information);
        return;
    }
    std::vector<CardDavSync::FetchedCard> fresh;
    for (const CardDavSync::FetchedCard& card : fetched.cards) {
        if (card.boundUid.isEmpty())
            fresh.push_back(card);
    }
    if (!fresh.empty())
        takeNew(sync, fresh);
    for (const CardDavSync::FetchedCard& card : fetched.cards) {
        if (!card.boundUid.isEmpty())
            proposeChange(sync, card);
    }
}

// Plain-text mode keeps the book in Windows-1251; a character it has no
// code for would be lost at the next save.
bool CardDavCommands::storable(std::span<const Contact> contacts)
{
    if (m_session.storage().useRtf())
        return true;
    const auto unencodable = ContactImport::firstUnencodable(contacts, m_notices.contactLabels());
    if (!unencodable)
        return true;
    m_notices.warn(
        text(TextId::CardDavUnencodable).arg(unencodable->name, unencodable->characters));
    return false;
}

// The new cards go to the page the user picks in the preview; each card is
// then bound to the entry it became, so the next send updates that card
// instead of making a second one.
void CardDavCommands::takeNew(CardDavSync& sync, const std::vector<CardDavSync::FetchedCard>& cards)
{
    std::vector<Contact> contacts;
    for (const CardDavSync::FetchedCard& card : cards)
        contacts.push_back(card.contact);
    if (!storable(contacts))
        return;
    const QString entries = ContactImport::entries(contacts, m_notices.contactLabels());
    Book& book = m_session.book();
    QStringList titles;
    for (const PageRecord& page : book.pages())
        titles << page.title;
    const int open = std::max(1, m_window.currentPage());
    ContactsImportDialog preview(entries, int(contacts.size()), titles.value(open - 1),
                                 m_notices.textLookup(), m_window.dialogParent());
    preview.offerPages(titles, open - 1);
    const int target = preview.exec() == QDialog::Accepted ? preview.chosenPage() + 1 : 0;
    if (target < 1 || target > book.pageCount() || m_closeWhenDone)
        return;
    m_session.flushOpenPage();
    if (m_window.currentPage() == target) {
        m_window.appendEntries(entries);
        m_session.flushOpenPage();
    } else {
        book.setPageText(target,
                         ContactImport::appendEntries(book.page(target).text, entries,
                                                      m_session.storage().useRtf()
                                                          ? ContactImport::Form::RichText
                                                          : ContactImport::Form::PlainText));
        m_session.rebuildTabs();
    }
    // The entries stand at the end of the page: matched from the last one.
    const QString title = book.page(target).title;
    const std::vector<Contact> now = ContactExport::ofBook(book.pages());
    auto entry = now.rbegin();
    for (auto card = cards.rbegin(); card != cards.rend(); ++card) {
        entry = std::find_if(entry, now.rend(), [&](const Contact& c) {
            return c.category == title && c.name == card->contact.name;
        });
        if (entry == now.rend())
            return;
        sync.accept(*card, *entry++);
    }
}

// A bound card changed on the server: its entry is replaced only when the
// user accepts the preview, and then bound to the card's new version.
void CardDavCommands::proposeChange(CardDavSync& sync, const CardDavSync::FetchedCard& card)
{
    if (m_closeWhenDone || !storable(std::span(&card.contact, 1)))
        return;
    Book& book = m_session.book();
    m_session.flushOpenPage();
    const std::vector<Contact> before = ContactExport::ofBook(book.pages());
    const Contact* old = entryOf(before, card.boundUid, QString(), QString());
    if (!old) {
        m_notices.warn(text(TextId::CardDavEntryGone).arg(card.contact.name));
        return;
    }
    const QString title = old->category;
    const QString entry = ContactEntry::toEntry(card.contact, m_notices.contactLabels());
    ContactsImportDialog preview(entry, 1, title, m_notices.textLookup(), m_window.dialogParent());
    preview.proposeReplacing(old->name, title);
    if (preview.exec() != QDialog::Accepted || m_closeWhenDone)
        return;
    m_session.flushOpenPage();
    const std::optional<EntryReplace::Replaced> replacement =
        EntryReplace::replace(book.pages(), card.boundUid, entry,
                              m_session.storage().useRtf() ? ContactImport::Form::RichText
                                                           : ContactImport::Form::PlainText);
    if (!replacement) {
        m_notices.warn(text(TextId::CardDavEntryGone).arg(card.contact.name));
        return;
    }
    book.setPageText(replacement->page, replacement->text);
    m_session.rebuildTabs();
    const std::vector<Contact> now = ContactExport::ofBook(book.pages());
    if (const Contact* replaced = entryOf(now, card.boundUid, title, card.contact.name))
        sync.accept(card, *replaced);
}
