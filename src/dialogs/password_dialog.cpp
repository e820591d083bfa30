#include "dialogs/password_dialog.h"

#include "core/message_service.h"
#include "crypto/obscured_password.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PasswordDialog::PasswordDialog(Mode mode, QString currentPassword, MessageService& messages,
                               TextLookup text, const FormLocalize& localize, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_currentPassword(std::move(currentPassword)),
      m_messages(messages), m_text(std::move(text))
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_label = new QLabel(BuiltInTexts::text(TextId::PasswordLabel), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName(QStringLiteral("txtPassword"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_label->setBuddy(m_passwordEdit);
    m_label2 = new QLabel(BuiltInTexts::text(TextId::PasswordAgainLabel), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_againEdit = new QLineEdit(this);
    m_againEdit->setObjectName(QStringLiteral("txtAgain"));
    m_againEdit->setEchoMode(QLineEdit::Password);
    m_label2->setBuddy(m_againEdit);
    m_maskCheck = new QCheckBox(BuiltInTexts::text(TextId::PasswordMask), this);
    m_maskCheck->setObjectName(QStringLiteral("chkMask"));
    m_maskCheck->setChecked(true);
    m_okButton = new QPushButton(BuiltInTexts::text(TextId::PasswordOk), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(BuiltInTexts::text(TextId::PasswordExit), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_passwordEdit, 0, 1);
    grid->addWidget(m_label2, 1, 0);
    grid->addWidget(m_againEdit, 1, 1);
    grid->addWidget(m_maskCheck, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    grid->addLayout(buttons, 3, 0, 1, 2);

    if (localize)
        localize(this);

    const bool twice = m_mode == Mode::NewPassword;
    const bool changing = m_mode == Mode::Change || twice;
    m_maskCheck->setVisible(changing);
    m_label2->setVisible(twice);
    m_againEdit->setVisible(twice);
    const bool login = m_mode == Mode::Login;
    m_cancelButton->setText(m_text(login ? TextId::PasswordExit : TextId::PasswordCancel));
    setWindowTitle(
        m_text(changing ? TextId::PasswordChangeCaption
                        : (login ? TextId::PasswordLoginCaption : TextId::PasswordConfirmCaption)));
    // Only the obscured password of an unencrypted book is shown again; an
    // encrypted book's password never returns to the screen.
    m_passwordEdit->setText(m_mode == Mode::Change ? m_currentPassword : QString());

    connect(m_maskCheck, &QCheckBox::toggled, this, [this](bool masked) {
        const QLineEdit::EchoMode echo = masked ? QLineEdit::Password : QLineEdit::Normal;
        m_passwordEdit->setEchoMode(echo);
        m_againEdit->setEchoMode(echo);
    });
    connect(m_okButton, &QPushButton::clicked, this, &PasswordDialog::onOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &PasswordDialog::onCancel);
}

void PasswordDialog::onOk()
{
    if (m_mode == Mode::Change || m_mode == Mode::NewPassword)
        acceptChange();
    else
        acceptLogin();
}

void PasswordDialog::acceptLogin()
{
    const QString typed = m_passwordEdit->text();
    const Verdict verdict =
        m_check ? m_check(typed) : (typed == m_currentPassword ? Verdict::Right : Verdict::Wrong);
    if (verdict == Verdict::Abandoned) {
        m_passwordEdit->setFocus();
        return;
    }
    if (verdict == Verdict::Right) {
        m_loginAccepted = true;
        accept();
        return;
    }
    m_messages.show(m_text(TextId::InvalidPass), MessageService::Icon::Exclamation);
    m_passwordEdit->clear();
    m_passwordEdit->setFocus();
}

void PasswordDialog::acceptChange()
{
    const QString typed = m_passwordEdit->text();
    if (typed.trimmed().isEmpty()) {
        m_messages.show(m_text(TextId::EmptyPassWarn), MessageService::Icon::Exclamation);
        return;
    }
    // The stored form keeps one byte per character; a character without a
    // Windows-1251 code could never be typed back to match.
    if (!ObscuredPassword::obscure(typed)) {
        m_messages.show(m_text(TextId::UnsupportedPassChars), MessageService::Icon::Exclamation);
        return;
    }
    if (!typedTwice())
        return;
    m_currentPassword = typed;
    accept();
}

// A typo in a new password of an encrypted book would lock its owner out of
// the book and every backup: it is typed twice.
bool PasswordDialog::typedTwice() const
{
    if (m_mode != Mode::NewPassword || m_againEdit->text() == m_passwordEdit->text())
        return true;
    m_messages.show(m_text(TextId::PasswordsDiffer), MessageService::Icon::Exclamation);
    m_againEdit->clear();
    m_againEdit->setFocus();
    return false;
}

void PasswordDialog::onCancel()
{
    QDialog::reject();
}

void PasswordDialog::reject()
{
    // Esc and the close box end the dialog like its cancel button: in log-in
    // mode that means the program ends, never that start-up goes on.
    m_loginAccepted = false;
    QDialog::reject();
}
