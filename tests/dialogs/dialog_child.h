#pragma once

#include <QAccessible>
#include <QLabel>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

// The control of `window` named `name`, a failure when it is missing.
template <typename T> T* child(const QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
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
