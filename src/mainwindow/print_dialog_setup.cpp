#include "mainwindow/print_dialog_setup.h"

#include <QGroupBox>
#include <QPrintDialog>
#include <algorithm>

namespace {

// Qt's dialog keeps offering "pages from ... to" and a list of pages while
// the page-range option is off; a page is printed whole or as its selection.
void hidePageRanges(QPrintDialog& dialog)
{
    const QGroupBox* range = dialog.findChild<QGroupBox*>(QStringLiteral("gbPrintRange"));
    if (!range)
        return;
    for (QWidget* choice : range->findChildren<QWidget*>()) {
        const QString name = choice->objectName();
        if (name != QLatin1String("printAll") && name != QLatin1String("printSelection") &&
            choice->parentWidget() == range)
            choice->hide();
    }
}

} // namespace

PrintDialogSetup::PrintDialogSetup() = default;

QPrinter& PrintDialogSetup::thePrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

std::optional<PrintSetup::Choice> PrintDialogSetup::choose(bool hasSelection, QWidget* owner)
{
    QPrinter& printer = thePrinter();
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(QStringLiteral("cdgPrint"));
    // A page is printed whole or as its selection; page ranges and collated
    // copies have no meaning for jobs of one copy each.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    dialog.setPrintRange(hasSelection ? QAbstractPrintDialog::Selection
                                      : QAbstractPrintDialog::AllPages);
    hidePageRanges(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return takeChoice(printer, dialog.printRange() == QAbstractPrintDialog::Selection);
}

PrintSetup::Choice PrintDialogSetup::takeChoice(QPrinter& printer, bool selectionChosen)
{
    Choice choice;
    choice.selectionOnly = selectionChosen;
    choice.copies = std::max(printer.copyCount(), 1);
    choice.oneJob = printer.outputFormat() == QPrinter::PdfFormat;
    // A printer still asked for c copies would print c times c.
    printer.setCopyCount(1);
    return choice;
}

QPrinter* PrintDialogSetup::printer(int)
{
    return &thePrinter();
}
