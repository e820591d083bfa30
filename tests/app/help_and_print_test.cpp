// Help and printing reached the way a person reaches them. Printing goes
// through a setup that answers the print dialog at once and prints each job
// into a PDF file of its own, whose text pdftotext reads back.

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

// Answers the print dialog with `answer` (none: cancelled) and prints job k
// into "job-k.pdf".
class FilePrintSetup : public PrintSetup
{
public:
    FilePrintSetup(QString jobFolder, std::optional<Choice> answer)
        : folder(std::move(jobFolder)), m_answer(answer)
    {}

    std::optional<Choice> choose(bool hasSelection, QWidget*) override
    {
        offered.push_back(hasSelection);
        return m_answer;
    }
    QPrinter* printer(int copy) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QDir(folder).filePath(QStringLiteral("job-%1.pdf").arg(copy)));
        m_printers.push_back(std::move(printer));
        return m_printers.back().get();
    }

    std::vector<bool> offered; // one entry per dialog shown
    QString folder;

private:
    std::optional<Choice> m_answer;
    std::vector<std::unique_ptr<QPrinter>> m_printers;
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
        const QString base = Folders::exeBaseName(QCoreApplication::applicationFilePath());
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
    QString job(int k) const
    {
        return pdfToText(jobs.filePath(QStringLiteral("job-%1.pdf").arg(k)));
    }
    void skipWithoutPdfToText()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    int helpWindows() const
    {
        return static_cast<int>(window()->findChildren<HelpWindow*>().size());
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
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->parentWidget(), window());
    EXPECT_EQ(help->findChild<QComboBox*>("cboContents")->count(), 2);
    EXPECT_EQ(help->findChild<RichTextEdit*>("rtfHelp")->text(), u"Topic one"_qs);

    item("mnuMainHelp")->trigger();
    key(Qt::Key_F1);
    EXPECT_EQ(app->helpWindow(), help);
    EXPECT_EQ(helpWindows(), 1);
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
    EXPECT_EQ(app->helpWindow(), nullptr);
    EXPECT_EQ(helpWindows(), 0);
    EXPECT_EQ(f.messages.texts(), QStringList(3, u"Не удается открыть справочный файл."_qs));
}

TEST_F(HelpAndPrint, ASelectionIsOfferedAndPrintedAloneOrCollapsedWhenAllIsChosen)
{
    skipWithoutPdfToText();
    start();
    const int secondLine = static_cast<int>(kFirstLine.size()) + 2;
    select(secondLine, static_cast<int>(kSecondLine.size()));

    FilePrintSetup* setup = printWith(PrintSetup::Choice{true, 1});
    item("mnuMainPrint")->trigger();
    EXPECT_EQ(setup->offered, std::vector<bool>{true});
    QString text = job(0);
    EXPECT_TRUE(text.contains(u"777-00-00"_qs)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"Иванов"_qs)) << text.toStdString();
    EXPECT_EQ(editor()->selLength(), kSecondLine.size()) << "the selection stays";

    QFile::remove(jobs.filePath(u"job-0.pdf"_qs));
    printWith(PrintSetup::Choice{false, 1});
    item("mnuMainPrint")->trigger();
    text = job(0);
    EXPECT_TRUE(text.contains(u"Иванов Иван"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"777-00-00"_qs)) << text.toStdString();
    EXPECT_EQ(editor()->selLength(), 0);
    EXPECT_EQ(editor()->selStart(), secondLine) << "the caret stays where the selection began";
}

TEST_F(HelpAndPrint, EachCopyIsAJobOfItsOwnAndCancelPrintsNothing)
{
    skipWithoutPdfToText();
    start();
    select(3, 4);
    FilePrintSetup* cancelled = printWith(std::nullopt);
    QTest::mouseDClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(kLetters + 1).center());
    EXPECT_EQ(cancelled->offered.size(), 1u) << "a double click on a tab prints";
    EXPECT_TRUE(printedJobs().isEmpty());

    printWith(PrintSetup::Choice{false, 3});
    key(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(printedJobs().size(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(job(k).contains(u"Петров"_qs)) << k;
    EXPECT_TRUE(f.messages.entries().empty());

    // The dialog's copies become jobs; the printer itself prints one per job.
    QPrinter printer;
    printer.setCopyCount(3);
    EXPECT_EQ(PrintDialogSetup::takeChoice(printer, false).copies, 3);
    EXPECT_EQ(printer.copyCount(), 1);
}

TEST_F(HelpAndPrint, APrintThatFailsIsReported)
{
    start();
    FilePrintSetup* setup = printWith(PrintSetup::Choice{false, 2});
    setup->folder = jobs.filePath(u"no such folder"_qs);
    key(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(f.messages.entries().size(), 1u) << "one message, the other copy not tried";
    EXPECT_TRUE(f.messages.texts().front().startsWith(u"Страницу не удалось напечатать"_qs));
    EXPECT_TRUE(f.messages.texts().front().contains(u"job-0.pdf"_qs));
}

// Qt's own dialog, opened by Ctrl+P: the selection choice is there and chosen
// only when there is a selection, and no choice of pages is offered;
// cancelling leaves everything. Printed to a PDF file, every copy is in the
// file, with its columns.
TEST_F(HelpAndPrint, ThePrintDialogOffersWhatPrintingDoesAndAPdfTakesEveryCopy)
{
    skipWithoutPdfToText();
    start();
    select(2, 5);
    std::vector<std::pair<bool, bool>> seen; // selection offered, selection chosen
    const auto answerDialog = [&](const QString& pdf) {
        QTimer::singleShot(0, [&, pdf] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen.emplace_back(dialog->testOption(QAbstractPrintDialog::PrintSelection),
                              dialog->printRange() == QAbstractPrintDialog::Selection);
            // What the copies page of the dialog's options shows.
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
            EXPECT_EQ(offered.join(' ').toStdString(),
                      seen.back().first ? "copies printAll printSelection" : "copies printAll");
            if (pdf.isEmpty())
                return dialog->reject();
            auto* printers = dialog->findChild<QComboBox*>("printers");
            printers->setCurrentIndex(printers->count() - 1); // "Print to File (PDF)"
            dialog->findChild<QLineEdit*>("filename")->setText(pdf);
            dialog->findChild<QSpinBox*>("copies")->setValue(2);
            dialog->accept();
        });
    };
    answerDialog({});
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(editor()->selStart(), 2);
    EXPECT_EQ(editor()->selLength(), 5);
    editor()->setSelLength(0);
    answerDialog(jobs.filePath("two.pdf"));
    key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}}));
    const QString pdf = jobs.filePath("two.pdf");
    EXPECT_EQ(pdfToText(pdf).count(u"Петров"_qs), 2);
    EXPECT_TRUE(f.messages.entries().empty());
    // The numbers stand at the second tab stop, the marker's 3400 twips
    // less 75 from where the names begin.
    EXPECT_NEAR(wordLeft(pdf, u"555-12-12"_qs) - wordLeft(pdf, u"Иванов"_qs), 3325.0 / 20, 1.0);
    EXPECT_NEAR(wordLeft(pdf, u"777-00-00"_qs) - wordLeft(pdf, u"Петров"_qs), 3325.0 / 20, 1.0);
}
