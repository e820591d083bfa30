#include "options_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

// The encryption choice appears with a password, acts at once, shows only
// what the host did, and a password still encrypting the book goes only
// after the book is decrypted.
TEST_F(OptionsDialogTest, EncryptionIsOfferedOnceAPasswordIsSetAndActsAtOnce)
{
    open();
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(4);
    auto* encrypt = child<QCheckBox>("chkEncrypt");
    EXPECT_FALSE(encrypt->isVisible());

    m_host.m_password = QStringLiteral("тайна");
    m_dialog->close();
    open();
    m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(4);
    encrypt = child<QCheckBox>("chkEncrypt");
    ASSERT_TRUE(encrypt->isVisible());
    EXPECT_FALSE(encrypt->isChecked());
    EXPECT_FALSE(child<QLabel>("lblExportOff")->isVisible());
    click("chkEncrypt");
    EXPECT_TRUE(encrypt->isChecked());
    EXPECT_TRUE(child<QLabel>("lblExportOff")->isVisible());

    m_host.m_encryptionWorks = false; // the password asked again was wrong
    click("chkEncrypt");
    EXPECT_TRUE(encrypt->isChecked());
    m_messages.queueAnswer(true);
    click("cmdDeletePw");
    EXPECT_EQ(m_host.m_password, QStringLiteral("тайна"));

    m_host.m_encryptionWorks = true;
    m_messages.queueAnswer(true);
    click("cmdDeletePw");
    EXPECT_TRUE(m_host.m_password.isEmpty());
    EXPECT_FALSE(m_host.m_encrypted);
    EXPECT_EQ(m_host.calls, QStringList({"encrypt 1", "encrypt 0", "encrypt 0", "encrypt 0"}));
}
