#include "dialogs/password_dialog.h"

#include "core/message_service.h"
#include "document/obscured_password.h"

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
    grid->addWidget(m_chkMask, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);

    if (localize)
        localize(this);

    const bool changing = m_mode == Mode::Change;
    m_chkMask->setVisible(changing);
    const bool login = m_mode == Mode::Login;
    m_cmdCancel->setText(m_text(login ? TextId::PasswordExit : TextId::PasswordCancel));
    setWindowTitle(
        m_text(changing ? TextId::PasswordChangeCaption
                        : (login ? TextId::PasswordLoginCaption : TextId::PasswordConfirmCaption)));
    m_txtPassword->setText(changing ? m_currentPassword : QString());

    connect(m_chkMask, &QCheckBox::toggled, this, [this](bool masked) {
        m_txtPassword->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &PasswordDialog::onOk);
    connect(m_cmdCancel, &QPushButton::clicked, this, &PasswordDialog::onCancel);
}

void PasswordDialog::onOk()
{
    if (m_mode == Mode::Change)
        acceptChange();
    else
        acceptLogin();
}

void PasswordDialog::acceptLogin()
{
    const QString typed = m_txtPassword->text();
    if (m_check ? m_check(typed) : typed == m_currentPassword) {
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
    m_currentPassword = typed;
    accept();
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
