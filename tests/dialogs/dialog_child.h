#pragma once

#include "recording_message_service.h"
#include "widget_test.h"

// The control of `window` named `name`, a failure when it is missing.
template <typename T> T* child(const QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// A click where a check box or an option button has its mark; a button anywhere.
inline void clickOn(const QWidget* window, const char* name)
{
    QWidget* button = child<QAbstractButton>(window, name);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(8, button->width() / 2), button->height() / 2));
}

// Replaces a field's text as a paste would.
inline void typeInto(const QWidget* window, const char* field, const QString& text)
{
    auto* edit = child<QLineEdit>(window, field);
    edit->clear();
    edit->insert(text);
}

// The controls of `window`, on every page, that a screen reader could not
// name (no caption, no label that points to them, no accessible name), or
// that have no visible label and no description.
inline QStringList unnamedControls(const QWidget* window)
{
    QSet<const QWidget*> labelled;
    for (const QLabel* label : window->findChildren<QLabel*>())
        labelled << label->buddy();
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->isHidden())
            continue;
        const QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        const bool described = widget->accessibleName().isEmpty() || labelled.contains(widget) ||
                               !widget->accessibleDescription().isEmpty();
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty() || !described)
            unnamed << widget->objectName() + u' ' + widget->metaObject()->className();
    }
    return unnamed;
}
