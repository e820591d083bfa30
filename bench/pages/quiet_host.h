#pragma once

#include "mainwindow/main_window_host.h"

// A host that answers the window and does nothing else: the benchmarks of the
// notebook window measure the window alone.
class QuietHost : public MainWindowHost
{
public:
    bool mainWindowClosing(CloseReason) override { return true; }
    void saveCommand() override {}
    void revertCommand() override {}
    void exitCommand() override {}
    void pageCommand(PageCommand) override {}
    void contactsCommand(ContactsCommand) override {}
    void findCommand() override {}
    void backupsCommand() override {}
    void helpCommand() override {}
    void aboutCommand() override {}
    void optionsCommand() override {}
    void applyStyle(int) override {}
    void warn(const QString&) override {}
    void pageEdited() override {}
    void SelectPage(int) override {}
    void statusBarHidden() override {}
    QString localizedText(TextId id) override { return BuiltInTexts::text(id); }
};
