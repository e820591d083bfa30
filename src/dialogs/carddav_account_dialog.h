#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// `frmCardDavAccount`: the address book the contacts are sent to (or the
// server it is found on), the user name and the password. With
// `Mode::Password` only the password is asked, the account shown greyed:
// where no secret store keeps it, that is asked each time it is needed.
class CardDavAccountDialog : public QDialog
{
    Q_OBJECT

public:
    using TextLookup = std::function<QString(TextId id)>;

    enum class Mode
    {
        Account,
        Password
    };

    struct Account
    {
        QString url;
        QString user;
        QString password = {};
    };

    // `secretStore`: whether a password given here is kept, which the dialog
    // tells the user.
    CardDavAccountDialog(const Account& account, Mode mode, bool secretStore,
                         const TextLookup& text, QWidget* owner = nullptr);

    // As typed, the address and the user trimmed.
    Account account() const;

private:
    void updateOk();

    QLineEdit* m_urlEdit;
    QLineEdit* m_userEdit;
    QLineEdit* m_passwordEdit;
    QPushButton* m_okButton;
    Mode m_mode;
};
