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

// The derivation takes a second by design: the user sees it is working.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void BookEncryption::findSealedBook(const QString& path)
{
    const BoundedFile::Result head =
        BoundedFile::readHead(path, BookCipher::HeaderBytes + BookCipher::TagBytes);
    m_sealed.reset();
    if (head.bytes && BookCipher::isSealed(*head.bytes))
        m_sealed = BookCipher::readHeader(*head.bytes);
}

bool BookEncryption::tryPassword(const QString& typed)
{
    if (!m_sealed)
        return typed == m_login.password();
    // A header that fails its hash checks no password at all.
    if (!m_sealed->header || typed.trimmed().isEmpty())
        return false;
    bool outOfMemory = false;
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key =
            BookKey::derive(typed, m_sealed->header->params, m_sealed->header->check, &outOfMemory);
    }
    if (outOfMemory)
        tellNoKey(m_sealed->header->params.limits);
    if (!key)
        return false;
    m_session.storage().setKey(std::move(key));
    m_login.setPassword(typed);
    return true;
}

bool BookEncryption::useNewPassword(const QString& password)
{
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key = BookKey::create(password, m_limits);
    }
    if (!key) {
        tellNoKey(m_limits);
        return false;
    }
    m_session.storage().setKey(std::move(key));
    m_login.setPassword(password);
    return true;
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
    m_session.selectPage(m_session.book().RecentPage); // the stored caption loses the page title
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
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key = BookKey::create(password, m_limits);
    }
    if (!key) {
        tellNoKey(m_limits);
        return false;
    }
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
    const BookCopies copies(m_session.storage(), m_session.folders().HistoryFolder);
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
