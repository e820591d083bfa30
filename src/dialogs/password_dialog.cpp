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
    m_txtPassword = new QLineEdit(this);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_label->setBuddy(m_txtPassword);
    m_label2 = new QLabel(BuiltInTexts::text(TextId::PasswordAgainLabel), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_txtAgain = new QLineEdit(this);
    m_txtAgain->setObjectName(QStringLiteral("txtAgain"));
    m_txtAgain->setEchoMode(QLineEdit::Password);
    m_label2->setBuddy(m_txtAgain);
    m_chkMask = new QCheckBox(BuiltInTexts::text(TextId::PasswordMask), this);
    m_chkMask->setObjectName(QStringLiteral("chkMask"));
    m_chkMask->setChecked(true);
    m_cmdOK = new QPushButton(BuiltInTexts::text(TextId::PasswordOk), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(BuiltInTexts::text(TextId::PasswordExit), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_txtPassword, 0, 1);
    grid->addWidget(m_label2, 1, 0);
    grid->addWidget(m_txtAgain, 1, 1);
    grid->addWidget(m_chkMask, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    if (localize)
        localize(this);

    const bool twice = m_mode == Mode::NewPassword;
    const bool changing = m_mode == Mode::Change || twice;
    m_chkMask->setVisible(changing);
    m_label2->setVisible(twice);
    m_txtAgain->setVisible(twice);
    const bool login = m_mode == Mode::Login;
    m_cmdCancel->setText(m_text(login ? TextId::PasswordExit : TextId::PasswordCancel));
    setWindowTitle(
        m_text(changing ? TextId::PasswordChangeCaption
                        : (login ? TextId::PasswordLoginCaption : TextId::PasswordConfirmCaption)));
    // Only the obscured password of an unencrypted book is shown again; an
    // encrypted book's password never returns to the screen.
    m_txtPassword->setText(m_mode == Mode::Change ? m_currentPassword : QString());

    connect(m_chkMask, &QCheckBox::toggled, this, [this](bool masked) {
        const QLineEdit::EchoMode echo = masked ? QLineEdit::Password : QLineEdit::Normal;
        m_txtPassword->setEchoMode(echo);
        m_txtAgain->setEchoMode(echo);
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &PasswordDialog::onOk);
    connect(m_cmdCancel, &QPushButton::clicked, this, &PasswordDialog::onCancel);
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
    const QString typed = m_txtPassword->text();
    const Verdict verdict =
        m_check ? m_check(typed) : (typed == m_currentPassword ? Verdict::Right : Verdict::Wrong);
    if (verdict == Verdict::Abandoned) {
        m_txtPassword->setFocus();
        return;
    }
    if (verdict == Verdict::Right) {
        m_loginAccepted = true;
        accept();
        return;
    }
    m_messages.show(m_text(TextId::InvalidPass), MessageService::Icon::Exclamation);
    m_txtPassword->clear();
    m_txtPassword->setFocus();
}

void PasswordDialog::acceptChange()
{
    const QString typed = m_txtPassword->text();
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
    if (m_mode != Mode::NewPassword || m_txtAgain->text() == m_txtPassword->text())
        return true;
    m_messages.show(m_text(TextId::PasswordsDiffer), MessageService::Icon::Exclamation);
    m_txtAgain->clear();
    m_txtAgain->setFocus();
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
