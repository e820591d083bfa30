#pragma once

#include "mainwindow/main_window_host.h"

// A host that answers the window and does nothing else: the benchmarks of the
// notebook window measure the window alone.
class QuietHost : public MainWindowHost
{
public:
    bool mainWindowClosing(CloseReason) override { return true; }
    void runCommand(Command, int) override {}
    void warn(const QString&) override {}
    void pageEdited() override {}
    QString localizedText(TextId id) override { return BuiltInTexts::text(id); }
};
