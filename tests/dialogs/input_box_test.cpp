#include "dialog_child.h"
#include "dialogs/input_box.h"

namespace {

QString builtIn(TextId id)
{
    return BuiltInTexts::text(id);
}

// Asks through InputBoxEx and lets `person` answer the box once it is up.
QString ask(const QString& preset, const std::function<void(QDialog* box)>& person,
            QWidget* owner = nullptr)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no modal input box";
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(window))
                    dialog->reject();
            }
            return;
        }
        person(box);
        if (box->isVisible()) {
            ADD_FAILURE() << "the input box stayed open";
            box->reject();
        }
    });
    return InputBoxEx(QStringLiteral("Новое имя:"), QStringLiteral("Переименование"), preset, owner,
                      builtIn);
}

} // namespace

TEST(InputBox, OkReturnsTheTextExactlyAsItStandsAndTheFocusSelectsAllOfIt)
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
}

TEST(InputBox, CancelEscapeAndTheFrameAnswerEmptyWhateverTheBoxHolds)
{
    const std::function<void(QDialog*)> ways[] = {
        [](QDialog* box) { clickOn(box, "cmdCancel"); },
        [](QDialog* box) { QTest::keyClick(child<QLineEdit>(box, "txtText"), Qt::Key_Escape); },
        [](QDialog* box) { box->close(); },
    };
    for (const auto& way : ways)
        EXPECT_EQ(ask(QStringLiteral("Новая страница"), way), QString());
}

TEST(InputBox, ALongPromptWidensTheWindowByItsExtraWidthAndTheButtonsFollowTheTextBox)
{
    InputBoxDialog shortBox(QStringLiteral("Имя:"), {}, {}, builtIn);
    InputBoxDialog longBox(QStringLiteral("Название новой страницы, не длиннее 30 букв:"), {}, {},
                           builtIn);
    const int extra = child<QLabel>(&longBox, "lblPrompt")->width() -
                      child<QLabel>(&shortBox, "lblPrompt")->width();
    ASSERT_GT(extra, 100);
    EXPECT_NEAR(longBox.width() - shortBox.width(), extra, 1);
    for (InputBoxDialog* box : {&shortBox, &longBox}) {
        const QRect text = child<QLineEdit>(box, "txtText")->geometry();
        EXPECT_GT(text.left(), child<QLabel>(box, "lblPrompt")->geometry().right());
        EXPECT_EQ(child<QPushButton>(box, "cmdCancel")->geometry().right(), text.right());
        EXPECT_EQ(box->minimumSize(), box->maximumSize());
    }
}
