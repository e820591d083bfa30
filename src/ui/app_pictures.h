#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's own pictures, built into the `ui` library.
class AppPictures
{
public:
    // `imgRes` picture 1: the book has unsaved changes.
    static QPixmap unsaved();
    // `imgRes` picture 2: the book is saved.
    static QPixmap saved();
    static QPixmap tip();
    // The help window's copy button (`imgCopyImage`).
    static QPixmap copy();
    static QIcon windowIcon();
    // Shown over a tab that is not selected.
    static QCursor handCursor();
};
