#pragma once

#include "widget_test.h"

// Driving the notebook window as a person does: keys with their physical key
// codes, popups and modal boxes answered from a queued callback.

// Sends a key as the keyboard would, with the X11 key code of its physical key.
inline void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0,
                  const QString& text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(widget, &event);
}

inline void clickChild(const QWidget* window, const char* button)
{
    window->findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// Runs `answer` on the modal window named `name` (any when empty) once it is
// up, from the event loop of whichever dialog runs by then; it goes with the test.
inline void whenModal(const QString& name, const std::function<void(QDialog*)>& answer)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(1);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QObject::connect(timer, &QTimer::timeout, [timer, name, answer, test] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool over = test != ::testing::UnitTest::GetInstance()->current_test_info();
        if (!over && (!modal || (!name.isEmpty() && modal->objectName() != name)))
            return;
        timer->stop();
        timer->deleteLater();
        if (!over)
            answer(modal);
    });
    timer->start();
}

// Runs `open`, hands the modal window it opens to `act` and closes what `act`
// leaves open; false when no modal window came.
inline bool withModal(const std::function<void()>& open, const std::function<void(QDialog*)>& act)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
    return shown;
}

// Picks `path` in the next file dialog named `name` (any when empty); an
// empty path cancels it.
inline void chooseFile(const QString& path, const QString& name = {})
{
    whenModal(name, [path](QDialog* dialog) {
        if (path.isEmpty())
            return dialog->reject();
        static_cast<QFileDialog*>(dialog)->selectFile(path);
        dialog->accept();
    });
}

// The visible items of the popup that the next action opens, which is then closed.
inline QStringList popupItems(const std::function<void()>& open)
{
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown << menu->objectName();
        for (QAction* action : menu->actions()) {
            if (action->isVisible())
                shown << (action->isSeparator() ? QStringLiteral("-") : QString()) +
                             action->objectName();
        }
        menu->close();
    });
    open();
    return shown;
}

// Answers the input box the next action opens: the text typed over the
// proposal, then OK; no answer means Cancel. The proposal it showed is kept.
struct InputBoxAnswer
{
    QString proposed;
    bool shown = false;
};

inline void answerInputBox(InputBoxAnswer& seen, const std::optional<QString>& answer)
{
    QTimer::singleShot(0, [&seen, answer] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->objectName() != QLatin1String("frmInputBoxEx"))
            return;
        seen.shown = true;
        auto* text = box->findChild<QLineEdit*>(QStringLiteral("txtText"));
        seen.proposed = text->text();
        if (answer)
            text->setText(*answer);
        clickChild(box, answer ? "cmdOK" : "cmdCancel");
    });
}
