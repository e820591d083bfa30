// Help and printing reached the way a person reaches them. Printing goes
// through Qt's dialog or a setup that answers at once and prints each job
// into a PDF file of its own; pdftotext reads them back.

#include "app_fixture.h"
#include "core/code_page.h"
#include "dialogs/help_window.h"
#include "mainwindow/print_dialog_setup.h"
#include "mainwindow/print_setup.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

const QString kFirstLine = u"Иванов Иван\t555-12-12"_qs;
const QString kSecondLine = u"Петров\t777-00-00"_qs;

// Answers the print dialog with `answer` (none: cancelled), noting whether a
// selection was offered, and prints copy k into "job-k.pdf" of `folder`.
class FilePrintSetup : public PrintSetup
{
public:
    FilePrintSetup(QString jobFolder, std::optional<Choice> choice)
        : folder(std::move(jobFolder)), answer(choice)
    {}
    std::optional<Choice> choose(bool hasSelection, QWidget*) override
    {
        offered.push_back(hasSelection);
        return answer;
    }
    QPrinter* printer(int copy) override
    {
        QPrinter* printer = printers.emplace_back(new QPrinter(QPrinter::HighResolution)).get();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QDir(folder).filePath(QStringLiteral("job-%1.pdf").arg(copy)));
        return printer;
    }

    QString folder;
    std::optional<Choice> answer;
    std::vector<bool> offered;
    std::vector<std::unique_ptr<QPrinter>> printers;
};

// What pdftotext reads from a PDF with `option`: "-layout" keeps columns.
QString pdfToText(const QString& path, const QString& option = QStringLiteral("-layout"))
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {option, path, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Where `word` begins on the first page, in points from the paper's left edge.
double wordLeft(const QString& path, const QString& word)
{
    const QRegularExpression box(u"<word xMin=\"([0-9.]+)\"[^>]*>"_qs +
                                 QRegularExpression::escape(word) + u"</word>"_qs);
    const QRegularExpressionMatch match = box.match(pdfToText(path, u"-bbox"_qs));
    return match.hasMatch() ? match.captured(1).toDouble() : -1000;
}

class HelpAndPrint : public WindowTest
{
protected:
    void SetUp() override
    {
        writeBook({{u"Работа"_qs, kFirstLine + u"\r\n"_qs + kSecondLine, 0}});
        f.write("Options", "RecentPage", QString::number(kLetters + 1));
    }
    // The help beside the program, named after the running executable.
    void writeHelp() const
    {
        const QString base = Folders::exeBaseNameOf(QCoreApplication::applicationFilePath());
        writeAll(f.dir.filePath(base + u".hlp"_qs),
                 CodePage::encodeLossy(u"\"help.rtf\"\r\nОдин\r\nДва\r\n"_qs));
        writeAll(f.dir.filePath(u"help.rtf"_qs),
                 "{\\rtf1\\ansi &1\\par Topic one\\par &2\\par Topic two\\par &3\\par}");
    }
    FilePrintSetup* printWith(std::optional<PrintSetup::Choice> answer)
    {
        auto setup = std::make_unique<FilePrintSetup>(jobs.path(), answer);
        FilePrintSetup* raw = setup.get();
        window()->setPrintSetup(std::move(setup));
        return raw;
    }
    QStringList printedJobs() const
    {
        return QDir(jobs.path()).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
    }
    QString job(int k) const { return pdfToText(jobs.filePath(QString("job-%1.pdf").arg(k))); }
    void skipWithoutPdfToText()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    // Windows shows its own print dialog, which no test can drive.
    void skipWithTheSystemsPrintDialog()
    {
#ifdef Q_OS_WIN
        GTEST_SKIP() << "the print dialog is the system's own";
#endif
    }

    QTemporaryDir jobs;
};

} // namespace

TEST_F(HelpAndPrint, F1AndTheMenuOpenOneSharedHelpWindowBesideTheNotebook)
{
    writeHelp();
    start();
    key(Qt::Key_F1);
    HelpWindow* help = app->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(fields(help->isVisible(), help->isModal(), help->parentWidget() == window(),
                     help->findChild<QComboBox*>("cboContents")->count(),
                     help->findChild<RichTextEdit*>("rtfHelp")->text()),
              "true false true 2 Topic one");

    item("mnuMainHelp")->trigger();
    key(Qt::Key_F1);
    EXPECT_EQ(window()->findChildren<HelpWindow*>() << app->helpWindow(),
              (QList<HelpWindow*>{help, help}));
    EXPECT_TRUE(f.messages.entries().empty());

    // The options dialog's route: a window of its own, on its page's topic.
    int topic = -1;
    withModal([&] { HelpWindow::showModal(app->helpSetup(), window(), 1); },
              [&](QDialog* modal) { topic = static_cast<HelpWindow*>(modal)->currentTopic(); });
    EXPECT_EQ(topic, 1);

    // Closing the notebook closes the help and keeps its placement.
    window()->close();
    EXPECT_NE(f.read("StartUp-frmHelp", "Width"), u"<absent>"_qs);
}

TEST_F(HelpAndPrint, WithoutHelpFilesEachRouteGivesOneMessageAndNoWindow)
{
    start();
    key(Qt::Key_F1);
    item("mnuMainHelp")->trigger();
    HelpWindow::showModal(app->helpSetup(), window(), 8);
    EXPECT_TRUE(!app->helpWindow() && window()->findChildren<HelpWindow*>().isEmpty());
    EXPECT_EQ(f.messages.texts(), QStringList(3, u"Не удается открыть справочный файл."_qs));
}

// Each copy a job of its own; a double click on a tab prints too. A failing
// print gives one message, the other copy not tried.
TEST_F(HelpAndPrint, TheSelectionIsPrintedAloneOrCollapsedAndEachCopyIsAJob)
{
    skipWithoutPdfToText();
    skipWithTheSystemsPrintDialog();
    if (IsSkipped())
        return;
    start();
    const int secondLine = static_cast<int>(kFirstLine.size()) + 2;
    select(secondLine, static_cast<int>(kSecondLine.size()));
    FilePrintSetup* setup = printWith(PrintSetup::Choice{true, 1});
    item("mnuMainPrint")->trigger();
    EXPECT_EQ(setup->offered, std::vector<bool>{true});
    EXPECT_TRUE(job(0).contains(u"777-00-00"_qs) && !job(0).contains(u"Иванов"_qs)) << job(0);
    EXPECT_EQ(editor()->selLength(), kSecondLine.size()) << "the selection stays";

    FilePrintSetup* cancelled = printWith(std::nullopt);
    QTest::mouseDClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(kLetters + 1).center());
    EXPECT_EQ(cancelled->offered.size(), 1u) << "a double click on a tab prints";
    EXPECT_EQ(printedJobs(), QStringList{"job-0.pdf"}) << "cancelled";
    printWith(PrintSetup::Choice{false, 3});
    key(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(printedJobs().size(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(job(k).contains(u"Иванов Иван"_qs) && job(k).contains(u"777-00-00"_qs)) << k;
    EXPECT_EQ(fields(editor()->selStart(), editor()->selLength()), fields(secondLine, 0))
        << "the caret stays where the selection began";
    EXPECT_TRUE(f.messages.entries().empty());

    printWith(PrintSetup::Choice{false, 2})->folder = jobs.filePath(u"no such folder"_qs);
    key(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(f.messages.entries().size(), 1u);
    EXPECT_TRUE(told().startsWith(u"Страницу не удалось напечатать"_qs) &&
                told().contains(u"job-0.pdf"_qs))
        << told();

    // The dialog's copies become jobs; the printer itself prints one per job.
    QPrinter printer;
    printer.setCopyCount(3);
    EXPECT_EQ(PrintDialogSetup::takeChoice(printer, false).copies, 3);
    EXPECT_EQ(printer.copyCount(), 1);
}

// Qt's own dialog, opened by Ctrl+P: the selection choice is there and chosen
// only when there is a selection, and no choice of pages is offered;
// cancelling leaves everything. Printed to a PDF file, every copy is in the
// file, numbered from 1, the numbers at the second tab stop, the marker's 3400 twips less 75
// from where the names begin.
TEST_F(HelpAndPrint, ThePrintDialogOffersWhatPrintingDoesAndAPdfTakesEveryCopy)
{
    skipWithoutPdfToText();
    skipWithTheSystemsPrintDialog();
    if (IsSkipped())
        return;
    start();
    select(2, 5);
    QStringList seen; // what the dialog's options offer, "selected" when the selection is chosen
    const QString pdf = jobs.filePath("two.pdf");
    for (const bool print : {false, true}) {
        QTimer::singleShot(0, [&, print] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const QWidget* options = dialog->findChild<QWidget*>("QPrintSettingsOutput");
            ASSERT_NE(options, nullptr);
            QStringList offered;
            for (const QWidget* choice : options->findChildren<QWidget*>()) {
                if ((qobject_cast<const QRadioButton*>(choice) ||
                     qobject_cast<const QAbstractSpinBox*>(choice)) &&
                    choice->isVisibleTo(options))
                    offered << choice->objectName();
            }
            offered.sort();
            if (dialog->printRange() == QAbstractPrintDialog::Selection)
                offered << "selected";
            seen << offered.join(' ');
            if (!print)
                return dialog->reject();
            auto* printers = dialog->findChild<QComboBox*>("printers");
            printers->setCurrentIndex(printers->count() - 1); // "Print to File (PDF)"
            dialog->findChild<QLineEdit*>("filename")->setText(pdf);
            dialog->findChild<QSpinBox*>("copies")->setValue(2);
            dialog->accept();
        });
        key(Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(fields(editor()->selStart(), editor()->selLength()), print ? "2 0" : "2 5");
        editor()->setSelLength(0);
    }
    EXPECT_EQ(seen, (QStringList{"copies printAll printSelection selected", "copies printAll"}));
    QStringList numbers; // the last line of each page
    for (const QString& page : pdfToText(pdf).split('\f'))
        numbers << page.trimmed().split('\n').last().trimmed();
    EXPECT_EQ(numbers, (QStringList{"1", "1", ""})) << "each copy numbered from 1";
    EXPECT_EQ(pdfToText(pdf).count(u"Петров"_qs), 2);
    EXPECT_TRUE(f.messages.entries().empty());
    EXPECT_NEAR(wordLeft(pdf, u"555-12-12"_qs) - wordLeft(pdf, u"Иванов"_qs), 3325.0 / 20, 1.0);
    EXPECT_NEAR(wordLeft(pdf, u"777-00-00"_qs) - wordLeft(pdf, u"Петров"_qs), 3325.0 / 20, 1.0);
}
