#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// The control of `window` named `name`, a failure when it is missing.
template <typename T> T* child(const QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
