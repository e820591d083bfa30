#include "dialog_child.h"
#include "dialogs/password_dialog.h"
#include "recording_message_service.h"

namespace {

struct PasswordTest : ::testing::Test
{
    std::unique_ptr<PasswordDialog> open(PasswordDialog::Mode mode)
    {
        auto dialog = std::make_unique<PasswordDialog>(
            mode, password, messages, [](TextId id) { return BuiltInTexts::text(id); }, nullptr);
        dialog->show();
        return dialog;
    }
    // Types `text` and presses OK; gives what the dialog then holds.
    static QString enter(PasswordDialog& dialog, const QString& text)
    {
        typeInto(&dialog, "txtPassword", text);
        QTest::mouseClick(child<QPushButton>(&dialog, "cmdOK"), Qt::LeftButton);
        return QStringLiteral("%1|%2").arg(dialog.isVisible() ? "open" : "closed",
                                           dialog.password());
    }

    RecordingMessageService messages;
    QString password;
};

} // namespace

TEST_F(PasswordTest, AWrongLoginIsToldAndClearedAndOnlyOkWithTheRightOneLetsStartUpGoOn)
{
    password = QStringLiteral("Пароль");
    auto dialog = open(PasswordDialog::Mode::Login);
    EXPECT_EQ(unnamedControls(dialog.get()), QStringList());
    EXPECT_EQ(child<QPushButton>(dialog.get(), "cmdCancel")->text(), QStringLiteral("Выход"));
    EXPECT_FALSE(child<QCheckBox>(dialog.get(), "chkMask")->isVisible());
    EXPECT_EQ(enter(*dialog, u"пароль"_qs), u"open|Пароль"_qs);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "txtPassword")->text(), QString()) << "cleared";
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Неверный пароль.")});
    EXPECT_EQ(enter(*dialog, u"Пароль"_qs), u"closed|Пароль"_qs);
    EXPECT_TRUE(dialog->loginAccepted());

    // Closing the window by its frame or by Escape never lets start-up go on.
    for (const bool escape : {false, true}) {
        auto again = open(PasswordDialog::Mode::Login);
        typeInto(again.get(), "txtPassword", password);
        if (escape)
            QTest::keyClick(again.get(), Qt::Key_Escape);
        else
            again->close();
        EXPECT_FALSE(again->isVisible());
        EXPECT_FALSE(again->loginAccepted()) << escape;
    }
}

TEST_F(PasswordTest, ANewOneMustNotBeBlankOrUnstorableAndKeepsItsSpaces)
{
    password = QStringLiteral("old");
    auto dialog = open(PasswordDialog::Mode::Change);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "txtPassword")->text(), QStringLiteral("old"));
    EXPECT_TRUE(child<QCheckBox>(dialog.get(), "chkMask")->isVisible());
    EXPECT_EQ(enter(*dialog, u"   "_qs), u"open|old"_qs);
    EXPECT_TRUE(messages.only().startsWith(QStringLiteral("Пустой пароль недопустим.")))
        << messages.only();
    EXPECT_EQ(enter(*dialog, u"日本"_qs), u"open|old"_qs);
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(enter(*dialog, u" новый "_qs), u"closed| новый "_qs);

    // Cancel changes nothing; the mask can be lifted.
    auto other = open(PasswordDialog::Mode::Change);
    child<QCheckBox>(other.get(), "chkMask")->click();
    EXPECT_EQ(child<QLineEdit>(other.get(), "txtPassword")->echoMode(), QLineEdit::Normal);
    typeInto(other.get(), "txtPassword", u"new"_qs);
    QTest::mouseClick(child<QPushButton>(other.get(), "cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(other->password(), QStringLiteral("old"));
}
