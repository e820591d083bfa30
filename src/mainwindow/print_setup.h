#pragma once

#include <optional>

class QPrinter;
class QWidget;

// Where the print command sends the page: it asks the user how to print and
// gives the printer each copy goes to. The window uses Qt's print dialog
// (PrintDialogSetup); tests put in one that answers at once and prints into
// files.
class PrintSetup
{
public:
    struct Choice
    {
        bool selectionOnly = false;
        int copies = 1;
        // Every copy in one job: a file holds them all, where jobs of their
        // own would each replace the one before.
        bool oneJob = false;
    };

    virtual ~PrintSetup() = default;

    // nullopt when the user cancelled. With `hasSelection` printing only the
    // selection is offered and chosen to begin with.
    virtual std::optional<Choice> choose(bool hasSelection, QWidget* owner) = 0;
    // The printer copy `copy` (from 0) is printed on, each copy as a job of
    // its own and of one copy, unless the choice prints them in one job.
    virtual QPrinter* printer(int copy) = 0;
};
