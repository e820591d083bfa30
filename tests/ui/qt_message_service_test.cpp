#include "ui/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct SeenBox
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    QWidget* parent = nullptr;
};

// Reads the box once it is up and presses the given button.
SeenBox answerNextBox(QMessageBox::StandardButton press, const std::function<void()>& open)
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->text(),       box->windowTitle(), box->icon(), box->standardButtons(),
                box->textFormat(), box->parentWidget()};
        box->button(press)->click();
    });
    open();
    return seen;
}

TEST(QtMessageService, ErrorMessageIsOkOnlyPlainTextUnderTheApplicationTitle)
{
    QtMessageService messages;
    const SeenBox box = answerNextBox(QMessageBox::Ok, [&] {
        messages.show(
            MessageService::formatError({AppError::TypeMismatch, "Type mismatch"}, "Subs", "Init"));
    });
    EXPECT_EQ(box.text, "Type mismatch (13)\nin Velkaro.Subs.Init ");
    EXPECT_EQ(box.title, "Velkaro Pro");
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.format, Qt::PlainText);
}

TEST(QtMessageService, QuestionsAreYesNoWithTheExclamationIconOverTheParent)
{
    QWidget window;
    QtMessageService messages;
    messages.setParentWindow(&window);
    bool answer = true;
    const SeenBox box = answerNextBox(QMessageBox::No, [&] { answer = messages.ask("Удалить?"); });
    EXPECT_FALSE(answer);
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.parent, &window);
    const SeenBox titled =
        answerNextBox(QMessageBox::Yes, [&] { answer = messages.ask("Удалить?", "Страница"); });
    EXPECT_TRUE(answer);
    EXPECT_EQ(titled.title, "Страница");
}

} // namespace
