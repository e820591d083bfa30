#include "app/book_encryption.h"

#include "app/book_session.h"
#include "app/login.h"
#include "app/notices.h"
#include "carddav/sync_state.h"
#include "core/bounded_file.h"
#include "core/option_table.h"
#include "core/settings_store.h"
#include "dialogs/password_dialog.h"
#include "document/book_copies.h"
#include "ui/busy_wait.h"
#include "ui/form_localizer.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

QString nativeList(const QStringList& paths)
{
    QStringList shown;
    for (const QString& path : paths)
        shown << QDir::toNativeSeparators(path);
    return shown.join(u'\n');
}

} // namespace

void BookEncryption::findSealedBook(const QString& path)
{
    const BoundedFile::Result head =
        BoundedFile::readHead(path, BookCipher::HeaderBytes + BookCipher::TagBytes);
    m_sealed.reset();
    if (head.bytes && BookCipher::isSealed(*head.bytes))
        m_sealed = BookCipher::readHeader(*head.bytes);
}

PasswordDialog::Verdict BookEncryption::tryPassword(const QString& typed)
{
    using Verdict = PasswordDialog::Verdict;
    if (!m_sealed)
        return typed == m_login.password() ? Verdict::Right : Verdict::Wrong;
    // A header that fails its hash checks no password at all.
    if (!m_sealed->header || typed.trimmed().isEmpty())
        return Verdict::Wrong;
    const BookCipher::Header header = *m_sealed->header;
    const auto key = keyAside(
        [typed, header](bool* outOfMemory) {
            return BookKey::derive(typed, header.params, header.check, outOfMemory);
        },
        header.params.limits);
    if (!key)
        return Verdict::Abandoned;
    if (!*key)
        return Verdict::Wrong;
    m_session.storage().setKey(*key);
    m_login.setPassword(typed);
    return Verdict::Right;
}

bool BookEncryption::useNewPassword(const QString& password)
{
    const auto key = newKey(password);
    if (!key || !*key)
        return false;
    m_session.storage().setKey(*key);
    m_login.setPassword(password);
    return true;
}

std::optional<std::shared_ptr<const BookKey>> BookEncryption::newKey(const QString& password)
{
    return keyAside(
        [password, limits = m_limits](bool* outOfMemory) {
            auto key = BookKey::create(password, limits);
            *outOfMemory = !key;
            return key;
        },
        m_limits);
}

// The derivation takes a second by design, and a header may ask for more:
// the windows stay drawn meanwhile and the user may stop waiting.
std::optional<std::shared_ptr<const BookKey>>
BookEncryption::keyAside(std::function<std::unique_ptr<BookKey>(bool* outOfMemory)> make,
                         const BookKey::Limits& limits)
{
    struct Made
    {
        std::unique_ptr<BookKey> key;
        bool outOfMemory = false;
    };
    auto made = std::make_shared<Made>();
    if (!BusyWait::run(QApplication::activeWindow(), m_notices.text(TextId::PasswordDeriving),
                       m_notices.text(TextId::PasswordCancel),
                       [made, make = std::move(make)] { made->key = make(&made->outOfMemory); }))
        return std::nullopt;
    if (made->outOfMemory)
        tellNoKey(limits);
    return std::shared_ptr<const BookKey>(std::move(made->key));
}

bool BookEncryption::remembered() const
{
    return m_settings.read(OptionTable::encryptedSection.toString(),
                           OptionTable::encryptedKey.toString(),
                           QString()) == QLatin1String("True");
}

// On disk at once, together with the password's stored forms going: from
// here on a kill leaves neither a password nor a plain book's licence.
void BookEncryption::remember()
{
    m_settings.write(OptionTable::encryptedSection.toString(), OptionTable::encryptedKey.toString(),
                     QStringLiteral("True"));
    m_login.removeStoredForms();
}

void BookEncryption::forget()
{
    m_settings.remove(OptionTable::encryptedSection.toString(),
                      OptionTable::encryptedKey.toString());
    m_settings.sync();
}

// The password once more before the book's form changes: a typo made when it
// was set shows now, while the book is still readable.
bool BookEncryption::confirmed(QWidget* owner)
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Confirm, m_login.password(), m_notices.messages(),
        m_notices.textLookup(),
        [this](QWidget* form) { FormLocalizer::localize(form, m_localization); }, owner);
    dialog.exec();
    return dialog.loginAccepted();
}

bool BookEncryption::switchOn(QWidget* owner)
{
    if (!confirmed(owner))
        return false;
    const bool wasRemembered = remembered();
    remember();
    if (!useNewPassword(m_login.password()) || !sealLoadedBook()) {
        m_session.storage().setKey(nullptr);
        if (!wasRemembered)
            forget();
        return false;
    }
    return true;
}

bool BookEncryption::sealLoadedBook()
{
    const std::shared_ptr<const BookKey> key = m_session.storage().key();
    if (!key || !saved())
        return false;
    remember();
    rewriteCopies(nullptr, key.get());
    m_session.selectPage(m_session.book().recentPage()); // the stored caption loses the page title
    return true;
}

bool BookEncryption::switchOff(QWidget* owner)
{
    if (!confirmed(owner))
        return false;
    const std::shared_ptr<const BookKey> old = m_session.storage().key();
    m_session.storage().setKey(nullptr);
    if (!saved()) {
        m_session.storage().setKey(old);
        return false;
    }
    forget();
    rewriteCopies(old.get(), nullptr);
    return true;
}

bool BookEncryption::changePassword(const QString& password)
{
    const std::shared_ptr<const BookKey> old = m_session.storage().key();
    if (!old) {
        m_login.setPassword(password);
        return true;
    }
    const auto made = newKey(password);
    if (!made || !*made)
        return false;
    const std::shared_ptr<const BookKey> key = *made;
    m_session.storage().setKey(key);
    if (!saved()) {
        m_session.storage().setKey(old);
        return false;
    }
    m_login.setPassword(password);
    rewriteCopies(old.get(), key.get());
    return true;
}

bool BookEncryption::saved()
{
    m_session.storage().claimBook();
    return m_session.save() == BookSession::SaveOutcome::Saved;
}

void BookEncryption::tellNoKey(const BookKey::Limits& limits)
{
    m_notices.warn(m_notices.text(TextId::PasswordOutOfMemory).arg(limits.memLimitKiB / 1024));
}

// Copies written before stay readable to the program and to nobody else;
// what cannot be sealed goes only when the user agrees.
void BookEncryption::rewriteCopies(const BookKey* from, const BookKey* to)
{
    const BookCopies copies(m_session.storage(), m_session.folders().historyFolder);
    BookCopies::Result result = copies.rewrite(from, to);
    // The CardDAV state names the book's contacts: sealed with the book.
    const QString statePath = SyncState::pathFor(m_session.storage().fullDataPath());
    const QFileInfo state(statePath);
    if (state.isFile() && !state.isSymLink()) {
        const SyncState remembered = SyncState::load(statePath, from);
        if (!remembered.trusted || remembered.save(statePath, to))
            result.failed << statePath;
    }
    if (to)
        result.plainLeft << copies.exportFiles();
    QStringList failed;
    for (const QString& path : result.failed) {
        if (!result.plainLeft.contains(path))
            failed << path;
    }
    if (!result.plainLeft.isEmpty() &&
        m_notices.messages().ask(
            m_notices.text(TextId::EncryptCopiesDelete).arg(nativeList(result.plainLeft)))) {
        for (const QString& path : std::as_const(result.plainLeft)) {
            if (!QFile::remove(path))
                failed << path;
        }
    }
    if (!failed.isEmpty())
        m_notices.present(m_notices.text(TextId::EncryptCopiesFailed).arg(nativeList(failed)),
                          MessageService::Icon::Exclamation);
}
