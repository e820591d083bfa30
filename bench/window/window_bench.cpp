// The page editor of the notebook window with a 1 MB page, beside a plain
// QTextEdit of the editor's size showing the same document in the same run: opening the page in
// the shown window, and a keystroke at the end and in the middle of the page,
// with and without a pasted 1600x900 picture. Keystrokes report their 95th
// percentile (p95_ms), as a lag the user feels is the slow keystroke.

#include "bench_page.h"
#include "document/book.h"
#include "mainwindow/main_window.h"
#include "quiet_host.h"
#include "richtext/rtf_reader.h"
#include "ui/rich_text_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr qsizetype kPageBytes = 1 << 20;

class Host : public QuietHost
{
public:
    void pageEdited() override { ++edits; }
    int edits = 0;
};

const PageRecord& bigPage()
{
    static const PageRecord page{QStringLiteral("АБ"),
                                 QString::fromLatin1(BenchPage::generate(kPageBytes)), 0};
    return page;
}

void showWindow(QWidget& window, QSize size = QSize(1000, 700))
{
    window.resize(size);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
}

// The plain QTextEdit is as large as the window's editor, so that both lay
// out and paint the same area.
QSize editorSize()
{
    static const QSize size = [] {
        Host host;
        MainWindow window(host);
        showWindow(window);
        return window.editor()->size();
    }();
    return size;
}

// Our editor takes a picture from the clipboard; a plain QTextEdit pastes
// only text, so it gets the same picture inserted directly.
void pastePicture(QTextEdit& edit)
{
    QImage picture(1600, 900, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    if (qobject_cast<RichTextEdit*>(&edit)) {
        QApplication::clipboard()->setImage(picture);
        edit.paste();
        return;
    }
    edit.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pasted")),
                                 picture);
    edit.textCursor().insertImage(QStringLiteral("pasted"));
}

// Each iteration types one character at `position` (-1: the end) and lets the
// window paint it; the 95th percentile goes to the counters.
void typeAt(benchmark::State& state, QTextEdit& edit, int position)
{
    QTextCursor cursor = edit.textCursor();
    if (position < 0)
        cursor.movePosition(QTextCursor::End);
    else
        cursor.setPosition(position);
    edit.setTextCursor(cursor);
    // What a window does once after it is first shown (the notebook decodes
    // its icon then) is done before the first keystroke, as it is before a
    // person's.
    QCoreApplication::processEvents();
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(&edit, Qt::Key_A);
        QCoreApplication::processEvents();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    state.counters["p95_ms"] = times[times.size() * 95 / 100];
}

void BM_OpenPage_Window(benchmark::State& state)
{
    Host host;
    MainWindow window(host);
    showWindow(window);
    for (auto _ : state) {
        window.showPage(bigPage(), 1);
        benchmark::DoNotOptimize(window.editor()->viewport()->grab());
    }
}

void BM_OpenPage_PlainQTextEdit(benchmark::State& state)
{
    QTextEdit edit;
    showWindow(edit, editorSize());
    for (auto _ : state) {
        auto* document = new QTextDocument(&edit);
        RtfReader::read(bigPage().text, *document);
        edit.setDocument(document);
        benchmark::DoNotOptimize(edit.viewport()->grab());
    }
}

void BM_Keystroke_Window(benchmark::State& state)
{
    Host host;
    MainWindow window(host);
    showWindow(window);
    window.showPage(bigPage(), 1);
    if (state.range(1))
        pastePicture(*window.editor());
    const int middle = window.editor()->document()->characterCount() / 2;
    typeAt(state, *window.editor(), state.range(0) ? middle : -1);
}

void BM_Keystroke_PlainQTextEdit(benchmark::State& state)
{
    QTextEdit edit;
    showWindow(edit, editorSize());
    auto* document = new QTextDocument(&edit);
    RtfReader::read(bigPage().text, *document);
    edit.setDocument(document);
    if (state.range(1))
        pastePicture(edit);
    const int middle = edit.document()->characterCount() / 2;
    typeAt(state, edit, state.range(0) ? middle : -1);
}

// Arguments: {0 at the end / 1 in the middle, 0 no picture / 1 a pasted picture}.
BENCHMARK(BM_OpenPage_Window)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenPage_PlainQTextEdit)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Keystroke_Window)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_Keystroke_PlainQTextEdit)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
