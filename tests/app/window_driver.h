#pragma once

// Driving the notebook window as a person does: keys with their physical key
// codes, popups and modal boxes answered from a queued callback.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Sends a key as the keyboard would, with the X11 key code of its physical key.
inline void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0,
                  const QString& text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(widget, &event);
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
            if (action->isVisible() && !action->isSeparator())
                shown << action->objectName();
            else if (action->isVisible())
                shown << QStringLiteral("-") + action->objectName();
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
        box->findChild<QPushButton*>(answer ? QStringLiteral("cmdOK") : QStringLiteral("cmdCancel"))
            ->click();
    });
}
