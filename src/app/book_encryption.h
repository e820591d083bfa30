#pragma once

#include "document/book_cipher.h"

#include <QString>
#include <optional>

class BookSession;
class Localization;
class Login;
class Notices;
class QWidget;

// The book encrypted with its password, as a choice: the log-in checks the
// password against the book's own header (the settings then hold none), and
// switching encryption on or off, or changing the password, writes the book
// and every copy the program made of it in the new form at once.
class BookEncryption
{
public:
    BookEncryption(BookSession& session, Login& login, Notices& notices,
                   Localization& localization, BookKey::Limits limits)
        : m_session(session), m_login(login), m_notices(notices), m_localization(localization),
          m_limits(limits)
    {}

    // Before the log-in: whether the book the settings point at is
    // encrypted. Its folder is read from the settings for that.
    void findSealedBook(const QString& dataFilePath);
    bool bookSealed() const { return m_sealed.has_value(); }

    // The log-in's check of a typed password: an encrypted book's password
    // opens its header (and its key stays with the book for the session);
    // otherwise the stored password must match.
    bool tryPassword(const QString& typed);

    // The privacy page's choice; false when the book stays as it was (the
    // user has been told why, or cancelled).
    bool switchOn();
    bool switchOff(QWidget* owner);
    // A new password: an encrypted book and its copies are sealed under it.
    bool changePassword(const QString& password);

private:
    void rewriteCopies(const BookKey* from, const BookKey* to);
    bool saved();
    void tellNoKey();

    BookSession& m_session;
    Login& m_login;
    Notices& m_notices;
    Localization& m_localization;
    BookKey::Limits m_limits;
    std::optional<BookCipher::HeaderResult> m_sealed;
};
