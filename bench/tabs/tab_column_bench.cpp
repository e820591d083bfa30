// The tab column of the largest book a user can have, 32,767 pages, in a
// column 700 pixels high: setting the pages with one full repaint, and a hover
// moving from one tab to the next with the repaint it causes. An empty widget
// of the same size painted the same way is measured in the same run as the
// floor any paint stands against.

#include "ui/tab_column.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBookPages = 32767;
constexpr int kColumnHeight = 700;
constexpr TabMetrics kMetrics{600, 255, 15, 96.0 / 1440};

QString title(int k)
{
    return QStringLiteral("Стр%1").arg(k);
}

QImage canvas(const QWidget& widget)
{
    return QImage(widget.size(), QImage::Format_ARGB32_Premultiplied);
}

void moveTo(QWidget& widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void BM_EmptyWidgetFullPaint(benchmark::State& state)
{
    QWidget empty;
    empty.resize(40, kColumnHeight);
    QImage image = canvas(empty);
    for (auto _ : state)
        empty.render(&image);
}

void BM_SetLargestBookAndPaint(benchmark::State& state)
{
    TabColumn column(kMetrics);
    column.resize(40, kColumnHeight);
    QImage image = canvas(column);
    int current = 1;
    for (auto _ : state) {
        column.setPages(title, kBookPages);
        // The window opens a page after every rebuild; a far one scrolls.
        current = current == 1 ? kBookPages / 2 : 1;
        column.setCurrentPage(current);
        column.render(&image);
    }
}

void BM_EmptyWidgetTwoTabPaint(benchmark::State& state)
{
    QWidget empty;
    empty.resize(40, kColumnHeight);
    QImage image = canvas(empty);
    const QRegion twoTabs(0, 100, 40, 34);
    for (auto _ : state)
        empty.render(&image, {}, twoTabs);
}

void BM_HoverMove(benchmark::State& state)
{
    TabColumn column(kMetrics);
    column.setPages(title, kBookPages);
    column.resize(40, kColumnHeight);
    column.setCurrentPage(kBookPages / 2);
    QImage image = canvas(column);
    const QPoint first(20, 300);
    const QPoint second(20, 300 + 17);
    bool onFirst = false;
    for (auto _ : state) {
        onFirst = !onFirst;
        moveTo(column, onFirst ? first : second);
        const QRect changed =
            column.tabRect(column.tabAt(first)).united(column.tabRect(column.tabAt(second)));
        column.render(&image, changed.topLeft(), QRegion(changed));
    }
}

} // namespace

BENCHMARK(BM_EmptyWidgetFullPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetLargestBookAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EmptyWidgetTwoTabPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoverMove)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
