#include "dialogs/carddav_account_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Wide enough for an address book's URL on a usual server.
constexpr int kFieldColumns = 48;

QLineEdit* field(QWidget* owner, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text, owner);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QLabel* label(QWidget* owner, const char* name, const QString& caption, QWidget* buddy)
{
    auto* lbl = new QLabel(caption, owner);
    lbl->setObjectName(QString::fromLatin1(name));
    lbl->setBuddy(buddy);
    return lbl;
}

} // namespace

CardDavAccountDialog::CardDavAccountDialog(const Account& account, Mode mode, bool secretStore,
                                           const TextLookup& text, QWidget* owner)
    : QDialog(owner), m_urlEdit(field(this, "txtUrl", account.url)),
      m_userEdit(field(this, "txtUser", account.user)),
      m_passwordEdit(field(this, "txtPassword", account.password)), m_mode(mode)
{
    setObjectName(QStringLiteral("frmCardDavAccount"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const bool passwordOnly = mode == Mode::Password;
    setWindowTitle(
        text(passwordOnly ? TextId::CardDavPasswordCaption : TextId::CardDavAccountCaption));
    m_urlEdit->setMinimumWidth(m_urlEdit->fontMetrics().horizontalAdvance(u'x') * kFieldColumns);
    m_urlEdit->setInputMethodHints(Qt::ImhUrlCharactersOnly);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_urlEdit->setEnabled(!passwordOnly);
    m_userEdit->setEnabled(!passwordOnly);

    auto* form = new QFormLayout;
    form->addRow(label(this, "lblUrl", text(TextId::CardDavUrlLabel), m_urlEdit), m_urlEdit);
    form->addRow(label(this, "lblUser", text(TextId::CardDavUserLabel), m_userEdit), m_userEdit);
    form->addRow(label(this, "lblPassword", text(TextId::CardDavPasswordLabel), m_passwordEdit),
                 m_passwordEdit);
    auto* storeLabel =
        new QLabel(text(secretStore ? TextId::CardDavKeptInStore : TextId::CardDavNoStore), this);
    storeLabel->setObjectName(QLatin1String(secretStore ? "lblStore" : "lblNoStore"));
    storeLabel->setWordWrap(true);

    m_okButton = new QPushButton(text(TextId::CommonOk), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
    auto* cancelButton = new QPushButton(text(TextId::CommonCancel), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(storeLabel);
    layout->addLayout(buttons);

    for (QLineEdit* edit : {m_urlEdit, m_userEdit, m_passwordEdit})
        connect(edit, &QLineEdit::textChanged, this, &CardDavAccountDialog::updateOk);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    updateOk();
    if (passwordOnly || (!account.url.isEmpty() && !account.user.isEmpty()))
        m_passwordEdit->setFocus();
}

CardDavAccountDialog::Account CardDavAccountDialog::account() const
{
    return {m_urlEdit->text().trimmed(), m_userEdit->text().trimmed(), m_passwordEdit->text()};
}

// An account needs an address and a user; a password asked for needs itself.
void CardDavAccountDialog::updateOk()
{
    const Account typed = account();
    m_okButton->setEnabled(m_mode == Mode::Password
                               ? !typed.password.isEmpty()
                               : !typed.url.isEmpty() && !typed.user.isEmpty());
}
