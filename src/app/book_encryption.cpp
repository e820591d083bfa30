#include "app/book_encryption.h"

#include "app/application.h"
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
        return typed == m_app.m_currentPassword;
    if (typed.trimmed().isEmpty())
        return false;
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        // A header that cannot be read checks no password: the load keeps
        // that file aside, and the new book is sealed under the one typed.
        key = m_sealed->header
                  ? BookKey::derive(typed, m_sealed->header->params, m_sealed->header->check)
                  : BookKey::create(typed, m_app.m_env.keyLimits);
    }
    if (!key)
        return false;
    m_app.m_storage.setKey(std::move(key));
    m_app.m_currentPassword = typed;
    return true;
}

bool BookEncryption::switchOn()
{
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key = BookKey::create(m_app.m_currentPassword, m_app.m_env.keyLimits);
    }
    if (!key) {
        tellNoKey();
        return false;
    }
    m_app.m_storage.setKey(key);
    if (!saved()) {
        m_app.m_storage.setKey(nullptr);
        return false;
    }
    rewriteCopies(nullptr, key.get());
    m_app.SelectPage(m_app.m_book.RecentPage); // the stored caption loses the page title
    return true;
}

bool BookEncryption::switchOff(QWidget* owner)
{
    PasswordDialog dialog(
        PasswordDialog::Mode::Confirm, m_app.m_currentPassword, m_app.m_messages,
        [this](TextId id) { return m_app.localizedText(id); },
        [this](QWidget* form) { FormLocalizer::localize(form, m_app.m_localization); }, owner);
    dialog.exec();
    if (!dialog.loginAccepted())
        return false;
    const std::shared_ptr<const BookKey> old = m_app.m_storage.key();
    m_app.m_storage.setKey(nullptr);
    if (!saved()) {
        m_app.m_storage.setKey(old);
        return false;
    }
    rewriteCopies(old.get(), nullptr);
    return true;
}

bool BookEncryption::changePassword(const QString& password)
{
    const std::shared_ptr<const BookKey> old = m_app.m_storage.key();
    if (!old) {
        m_app.m_currentPassword = password;
        return true;
    }
    std::shared_ptr<const BookKey> key;
    {
        BusyCursor busy;
        key = BookKey::create(password, m_app.m_env.keyLimits);
    }
    if (!key) {
        tellNoKey();
        return false;
    }
    m_app.m_storage.setKey(key);
    if (!saved()) {
        m_app.m_storage.setKey(old);
        return false;
    }
    m_app.m_currentPassword = password;
    rewriteCopies(old.get(), key.get());
    return true;
}

bool BookEncryption::saved()
{
    m_app.m_storage.claimBook();
    return m_app.saveBook() == Application::SaveOutcome::Saved;
}

void BookEncryption::tellNoKey()
{
    constexpr int outOfMemory = 7;
    m_app.presentError({{outOfMemory, QStringLiteral("Out of memory")},
                        QStringLiteral("Subs"),
                        QStringLiteral("SaveDataEx")});
}

// Copies written before stay readable to the program and to nobody else;
// what cannot be sealed goes only when the user agrees.
void BookEncryption::rewriteCopies(const BookKey* from, const BookKey* to)
{
    const BookCopies copies(m_app.m_storage, m_app.m_folders.HistoryFolder);
    BookCopies::Result result = copies.rewrite(from, to);
    if (to)
        result.plainLeft << copies.exportFiles();
    QStringList failed;
    for (const QString& path : result.failed) {
        if (!result.plainLeft.contains(path))
            failed << path;
    }
    if (!result.plainLeft.isEmpty() &&
        m_app.m_messages.ask(
            m_app.localizedText(TextId::EncryptCopiesDelete).arg(nativeList(result.plainLeft)))) {
        for (const QString& path : std::as_const(result.plainLeft)) {
            if (!QFile::remove(path))
                failed << path;
        }
    }
    if (!failed.isEmpty())
        m_app.present(m_app.localizedText(TextId::EncryptCopiesFailed).arg(nativeList(failed)),
                      MessageService::Icon::Exclamation);
}
