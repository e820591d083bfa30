#include "app/book_encryption.h"

#include "app/book_session.h"
#include "app/login.h"
#include "app/notices.h"
#include "core/bounded_file.h"
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

void BookEncryption::findSealedBook(const QString& dataFilePath)
{
    const BoundedFile::Result head =
        BoundedFile::readHead(dataFilePath, BookCipher::HeaderBytes + BookCipher::TagBytes);
    m_sealed.reset();
    if (head.bytes && BookCipher::isSealed(*head.bytes))
        m_sealed = BookCipher::readHeader(*head.bytes);
}

bool BookEncryption::tryPassword(const QString& typed)
{
    if (!m_sealed)
        return typed == m_login.password();
    if (typed.trimmed().isEmpty())
        return false;
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        // A header that cannot be read checks no password: the load keeps
        // that file aside, and the new book is sealed under the one typed.
        key = m_sealed->header
                  ? BookKey::derive(typed, m_sealed->header->params, m_sealed->header->check)
                  : BookKey::create(typed, m_limits);
    }
    if (!key)
        return false;
    m_session.storage().setKey(std::move(key));
    m_login.setPassword(typed);
    return true;
}

bool BookEncryption::switchOn()
{
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key = BookKey::create(m_login.password(), m_limits);
    }
    if (!key) {
        tellNoKey();
        return false;
    }
    m_session.storage().setKey(key);
    if (!saved()) {
        m_session.storage().setKey(nullptr);
        return false;
    }
    rewriteCopies(nullptr, key.get());
    m_session.selectPage(m_session.book().RecentPage); // the stored caption loses the page title
    return true;
}

bool BookEncryption::switchOff(QWidget* owner)
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Confirm, m_login.password(), m_notices.messages(), m_notices.textLookup(),
        [this](QWidget* form) { FormLocalizer::localize(form, m_localization); }, owner);
    dialog.exec();
    if (!dialog.loginAccepted())
        return false;
    const std::shared_ptr<const BookKey> old = m_session.storage().key();
    m_session.storage().setKey(nullptr);
    if (!saved()) {
        m_session.storage().setKey(old);
        return false;
    }
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
        tellNoKey();
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

void BookEncryption::tellNoKey()
{
    constexpr int outOfMemory = 7;
    m_notices.presentError({{outOfMemory, QStringLiteral("Out of memory")},
                        QStringLiteral("Subs"),
                        QStringLiteral("SaveDataEx")});
}

// Copies written before stay readable to the program and to nobody else;
// what cannot be sealed goes only when the user agrees.
void BookEncryption::rewriteCopies(const BookKey* from, const BookKey* to)
{
    const BookCopies copies(m_session.storage(), m_session.folders().HistoryFolder);
    BookCopies::Result result = copies.rewrite(from, to);
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
