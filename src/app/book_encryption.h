#pragma once

#include "crypto/book_cipher.h"
#include "dialogs/password_dialog.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class BookSession;
class Localization;
class Login;
class Notices;
class QWidget;
class SettingsStore;

// The book encrypted with its password, as a choice: the log-in checks the
// password against the book's own header (the settings then hold none), and
// switching encryption on or off, or changing the password, writes the book
// and every copy the program made of it in the new form at once. The
// settings remember that the book is encrypted, so that a book gone missing
// or damaged is never replaced by a plain one.
class BookEncryption
{
public:
    BookEncryption(BookSession& session, Login& login, Notices& notices, Localization& localization,
                   SettingsStore& settings, BookKey::Limits limits)
        : m_session(session), m_login(login), m_notices(notices), m_localization(localization),
          m_settings(settings), m_limits(limits)
    {}

    // Before the log-in: whether the file at `path` (the book, or the backup
    // a book is restored from) is encrypted, and its header.
    void findSealedBook(const QString& path);
    bool bookSealed() const { return m_sealed.has_value(); }
    // Whether the header found can check a password: a damaged one checks none.
    bool headerWhole() const { return m_sealed && m_sealed->header; }
    const std::optional<BookCipher::HeaderResult>& sealed() const { return m_sealed; }

    // The log-in's check of a typed password: an encrypted book's password
    // opens its header (and its key stays with the book for the session);
    // otherwise the stored password must match.
    PasswordDialog::Verdict tryPassword(const QString& typed);
    // A new book's key, from a password typed twice; false when the memory
    // for it could not be had (the user has been told).
    bool useNewPassword(const QString& password);

    // The settings' note that this book is encrypted, and its setting.
    bool remembered() const;
    void remember();
    void forget();

    // The privacy page's choice; false when the book stays as it was (the
    // user has been told why, or cancelled).
    bool switchOn(QWidget* owner);
    bool switchOff(QWidget* owner);
    // The book in memory and its plain copies sealed with the key in use.
    bool sealLoadedBook();
    // A new password: an encrypted book and its copies are sealed under it.
    bool changePassword(const QString& password);

private:
    bool confirmed(QWidget* owner);
    void rewriteCopies(const BookKey* from, const BookKey* to);
    bool saved();
    void tellNoKey(const BookKey::Limits& limits);
    // A fresh key for `password`, made as keyAside makes one.
    std::optional<std::shared_ptr<const BookKey>> newKey(const QString& password);
    // A key made on a thread of its own while a busy window turns; nullopt
    // when the user stopped waiting (the key, once made, is wiped unseen).
    std::optional<std::shared_ptr<const BookKey>>
    keyAside(std::function<std::unique_ptr<BookKey>(bool* outOfMemory)> make,
             const BookKey::Limits& limits);

    BookSession& m_session;
    Login& m_login;
    Notices& m_notices;
    Localization& m_localization;
    SettingsStore& m_settings;
    BookKey::Limits m_limits;
    std::optional<BookCipher::HeaderResult> m_sealed;
};
