#pragma once

#include "mainwindow/print_setup.h"

#include <QPrinter>
#include <memory>

// The print command's setup with Qt's print dialog. The printer chosen stays
// chosen for the next print of the session. Printing to a PDF file stays
// offered, so a page can be printed without a printer.
class PrintDialogSetup : public PrintSetup
{
public:
    PrintDialogSetup();

    std::optional<Choice> choose(bool hasSelection, QWidget* owner) override;
    QPrinter* printer(int copy) override;

    // What the dialog left in `printer`: the copies asked for. The printer is
    // left printing one copy per job: every copy becomes a job of its own,
    // except in a PDF file, which takes them all in one job.
    static Choice takeChoice(QPrinter& printer, bool selectionChosen);

private:
    // Made at the first print: loading the print support costs every start
    // of the program otherwise.
    QPrinter& thePrinter();

    std::unique_ptr<QPrinter> m_printer;
};
