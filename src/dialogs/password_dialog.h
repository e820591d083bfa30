#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class MessageService;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// `frmPassword`: in log-in mode it stands between start-up and the book; in
// change mode it sets a new password for the options window.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode
    {
        Login,
        Change,
        Confirm,    // the password once more before the book is decrypted
        NewPassword // an encrypted book's new password: empty, typed twice
    };
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;
    // What a check made of a typed password. Abandoned: the user stopped
    // waiting for a slow check, and the window stays as it was, with no
    // message.
    enum class Verdict
    {
        Right,
        Wrong,
        Abandoned
    };
    // Whether a typed password opens the book, when the book itself says so
    // (an encrypted book checks it against its header).
    using Check = std::function<Verdict(const QString& typed)>;

    PasswordDialog(Mode mode, QString currentPassword, MessageService& messages, TextLookup text,
                   const FormLocalize& localize, QWidget* parent = nullptr);

    // Log-in mode: true only when the right password was given. Closing the
    // window by its frame or "Выход" answers false, and the program must end.
    bool loginAccepted() const { return m_loginAccepted; }
    void setCheck(Check check) { m_check = std::move(check); }
    // Change and new-password modes: the password to keep, the new one once
    // OK was pressed.
    const QString& password() const { return m_currentPassword; }

protected:
    void reject() override;

private:
    void onOk();
    void onCancel();
    void acceptLogin();
    void acceptChange();
    bool typedTwice() const;

    Mode m_mode;
    QString m_currentPassword;
    MessageService& m_messages;
    TextLookup m_text;
    Check m_check;
    bool m_loginAccepted = false;
    QLabel* m_label = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QLabel* m_label2 = nullptr;
    QLineEdit* m_againEdit = nullptr;
    QCheckBox* m_maskCheck = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
