#pragma once

#include <QString>
#include <functional>

class QWidget;

// Work that takes seconds, such as deriving a key from a password, runs on a
// thread of its own while a small window ("frmBusy") says what is going on
// and the program's windows stay drawn. Cancel ends the wait at once, not the
// work: the work finishes on its thread, and whatever it made is dropped with
// what it owns. The program may end meanwhile without waiting for it.
class BusyWait
{
public:
    // True when `work` finished; false when the user stopped waiting, or the
    // program is ending.
    static bool run(QWidget* owner, const QString& text, const QString& cancelText,
                    std::function<void()> work);
};
