#include "dialog_child.h"
#include "dialogs/password_dialog.h"
#include "recording_message_service.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct DialogFixture
{
    RecordingMessageService messages;
    QString password;

    std::unique_ptr<PasswordDialog> open(PasswordDialog::Mode mode)
    {
        auto dialog = std::make_unique<PasswordDialog>(
            mode, password, messages, [](TextId id) { return BuiltInTexts::text(id); }, nullptr);
        dialog->show();
        return dialog;
    }
};

void type(QWidget* dialog, const QString& text)
{
    auto* edit = child<QLineEdit>(dialog, "txtPassword");
    edit->clear();
    edit->insert(text);
}

void clickOk(QWidget* dialog)
{
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
}

} // namespace

TEST(PasswordLogin, AWrongPasswordIsToldAndClearedAndTheWindowStays)
{
    DialogFixture f;
    f.password = QStringLiteral("Пароль");
    auto dialog = f.open(PasswordDialog::Mode::Login);
    EXPECT_EQ(unnamedControls(dialog.get()), QStringList());
    EXPECT_EQ(child<QPushButton>(dialog.get(), "cmdCancel")->text(), QStringLiteral("Выход"));
    EXPECT_FALSE(child<QCheckBox>(dialog.get(), "chkMask")->isVisible());

    type(dialog.get(), QStringLiteral("пароль"));
    clickOk(dialog.get());
    EXPECT_EQ(f.messages.texts(), QStringList{QStringLiteral("Неверный пароль.")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(child<QLineEdit>(dialog.get(), "txtPassword")->text().isEmpty());

    type(dialog.get(), QStringLiteral("Пароль"));
    clickOk(dialog.get());
    EXPECT_TRUE(dialog->loginAccepted());
    EXPECT_FALSE(dialog->isVisible());
}

TEST(PasswordLogin, ClosingTheWindowByItsFrameOrEscapeNeverLetsStartUpGoOn)
{
    DialogFixture f;
    f.password = QStringLiteral("x");
    auto dialog = f.open(PasswordDialog::Mode::Login);
    type(dialog.get(), QStringLiteral("x"));
    dialog->close();
    EXPECT_FALSE(dialog->loginAccepted());

    auto again = f.open(PasswordDialog::Mode::Login);
    QTest::keyClick(again.get(), Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
    EXPECT_FALSE(again->loginAccepted());
}

TEST(PasswordChange, BlankIsRefusedSpacesAroundAreKeptAndUnstorableCharactersRefused)
{
    DialogFixture f;
    f.password = QStringLiteral("old");
    auto dialog = f.open(PasswordDialog::Mode::Change);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "txtPassword")->text(), QStringLiteral("old"));
    EXPECT_TRUE(child<QCheckBox>(dialog.get(), "chkMask")->isVisible());

    type(dialog.get(), QStringLiteral("   "));
    clickOk(dialog.get());
    EXPECT_TRUE(f.messages.only().startsWith(QStringLiteral("Пустой пароль недопустим.")))
        << f.messages.only();
    EXPECT_EQ(dialog->password(), QStringLiteral("old"));

    type(dialog.get(), QStringLiteral("日本"));
    clickOk(dialog.get());
    EXPECT_EQ(f.messages.texts().size(), 2);
    EXPECT_EQ(dialog->password(), QStringLiteral("old"));
    EXPECT_TRUE(dialog->isVisible());

    type(dialog.get(), QStringLiteral(" новый "));
    clickOk(dialog.get());
    EXPECT_EQ(dialog->password(), QStringLiteral(" новый "));
    EXPECT_FALSE(dialog->isVisible());
}

TEST(PasswordChange, CancelChangesNothingAndTheMaskCanBeLifted)
{
    DialogFixture f;
    f.password = QStringLiteral("old");
    auto dialog = f.open(PasswordDialog::Mode::Change);
    auto* mask = child<QCheckBox>(dialog.get(), "chkMask");
    mask->click();
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "txtPassword")->echoMode(), QLineEdit::Normal);
    type(dialog.get(), QStringLiteral("new"));
    QTest::mouseClick(child<QPushButton>(dialog.get(), "cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(dialog->password(), QStringLiteral("old"));
}
