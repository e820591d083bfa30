#include "dialog_child.h"
#include "dialogs/input_box.h"
#include "dialogs/password_dialog.h"
#include "dialogs/replace_dialog.h"

namespace {

QString builtIn(TextId id)
{
    return BuiltInTexts::text(id);
}

// Asks through askText and lets `person` answer the box once it is up.
QString ask(const QString& preset, const std::function<void(QDialog* box)>& person,
            QWidget* owner = nullptr)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no modal input box";
        person(box);
        if (box->isVisible()) {
            ADD_FAILURE() << "the input box stayed open";
            box->reject();
        }
    });
    return askText(QStringLiteral("Новое имя:"), QStringLiteral("Переименование"), preset, owner,
                   builtIn);
}

} // namespace

TEST(InputBox, OkOrEnterReturnsTheTextAsItStandsTheFocusSelectsAllAndCancelGivesNothing)
{
    QWidget owner;
    const QString untouched = ask(
        QStringLiteral("  Иванов  "),
        [&owner](QDialog* box) {
            EXPECT_EQ(unnamedControls(box), QStringList());
            EXPECT_EQ(box->parentWidget(), &owner);
            box->activateWindow();
            QCoreApplication::processEvents();
            auto* text = child<QLineEdit>(box, "txtText");
            EXPECT_TRUE(text->hasFocus());
            EXPECT_EQ(text->selectedText(), QStringLiteral("  Иванов  "));
            child<QPushButton>(box, "cmdOK")->setFocus();
            text->setCursorPosition(3);
            text->setFocus(Qt::MouseFocusReason);
            EXPECT_EQ(text->selectedText(), QStringLiteral("  Иванов  "));
            clickOn(box, "cmdOK");
        },
        &owner);
    EXPECT_EQ(untouched, QStringLiteral("  Иванов  "));

    // Enter presses OK; the callers trim, the box does not.
    const QString typed = ask(QStringLiteral("АБ"), [](QDialog* box) {
        typeInto(box, "txtText", QStringLiteral(" Друзья "));
        QTest::keyClick(child<QLineEdit>(box, "txtText"), Qt::Key_Return);
    });
    EXPECT_EQ(typed, QStringLiteral(" Друзья "));
    // Cancel, Escape and the frame answer empty, whatever the box holds.
    for (const auto& way : std::initializer_list<std::function<void(QDialog*)>>{
             [](QDialog* box) { clickOn(box, "cmdCancel"); },
             [](QDialog* box) {
                 QTest::keyClick(child<QLineEdit>(box, "txtText"), Qt::Key_Escape);
             },
             [](QDialog* box) { box->close(); }})
        EXPECT_EQ(ask(QStringLiteral("Новая страница"), way), QString());
}

// Where each control goes is InputBoxLayout's (tests/core); here the box takes it.
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

TEST_F(PasswordTest, AWrongLoginIsToldOnlyTheRightOneGoesOnAndANewOneMustBeStorable)
{
    password = QStringLiteral("Пароль");
    auto dialog = open(PasswordDialog::Mode::Login);
    EXPECT_EQ(unnamedControls(dialog.get()), QStringList());
    EXPECT_EQ(std::pair(child<QPushButton>(dialog.get(), "cmdCancel")->text(),
                        child<QCheckBox>(dialog.get(), "chkMask")->isVisible()),
              std::pair(u"Выход"_qs, false));
    const QString wrong = enter(*dialog, u"пароль"_qs);
    EXPECT_EQ(QStringList({wrong, child<QLineEdit>(dialog.get(), "txtPassword")->text()}) +
                  messages.texts(),
              QStringList({u"open|Пароль"_qs, QString(), u"Неверный пароль."_qs}))
        << "told and cleared";
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
        EXPECT_FALSE(again->isVisible() || again->loginAccepted()) << escape;
    }
    // A new password must not be blank or unstorable, and keeps its spaces.
    password = QStringLiteral("old");
    messages.clear();
    auto change = open(PasswordDialog::Mode::Change);
    EXPECT_EQ(child<QLineEdit>(change.get(), "txtPassword")->text(), QStringLiteral("old"));
    EXPECT_TRUE(child<QCheckBox>(change.get(), "chkMask")->isVisible());
    EXPECT_EQ(enter(*change, u"   "_qs), u"open|old"_qs);
    EXPECT_TRUE(messages.only().startsWith(QStringLiteral("Пустой пароль недопустим.")))
        << messages.only();
    EXPECT_EQ(enter(*change, u"日本"_qs), u"open|old"_qs);
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(enter(*change, u" новый "_qs), u"closed| новый "_qs);
}

namespace {

class ReplaceDialogTest : public ::testing::Test
{
protected:
    ReplaceDialogTest()
    {
        // A locale with a decimal comma.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        writeAll(m_new, QByteArray(1536, 'x'));
        writeAll(m_old, QByteArray(512, 'x'));
    }
    ~ReplaceDialogTest() override { QLocale::setDefault(m_locale); }

    std::unique_ptr<ReplaceDialog> open()
    {
        auto dialog = std::make_unique<ReplaceDialog>(
            m_new, m_old, [](TextId id) { return BuiltInTexts::text(id); }, nullptr);
        dialog->show();
        return dialog;
    }

    QLocale m_locale;
    QTemporaryDir m_dir;
    QString m_new = m_dir.filePath("new/velkaro.dat");
    QString m_old = m_dir.filePath("old/velkaro.dat");
};

} // namespace

// The buttons' answers are driven through the real window in tests/app.
TEST_F(ReplaceDialogTest, BothFilesShowSizeInTheLocaleAndDateAndEscapeGivesNoAnswer)
{
    auto dialog = open();
    EXPECT_EQ(unnamedControls(dialog.get()), QStringList());
    const auto text = [&dialog](const char* name) {
        return dialog->findChild<QLabel*>(name)->text();
    };
    const QString date = QLocale().toString(QFileInfo(m_new).lastModified(), QLocale::ShortFormat);
    EXPECT_EQ(text("lblNew"), u"1,5 Kb\nдата изменения: "_qs + date);
    EXPECT_TRUE(text("lblOld").startsWith(u"512 bytes\nдата изменения: "_qs));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->ReplaceResult(), ReplaceDialog::Closed);
}
