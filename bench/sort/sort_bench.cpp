// Sorting a page of 10,000 one-line entries, name, tab, phone, in random
// order. std::sort of the same lower-cased keys is measured in the same run
// as the floor, and the plain selection sort over those keys as what the
// heap-driven sort replaces.

#include "document/page_sort.h"

#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <string_view>
#include <vector>

namespace {

constexpr int kEntries = 10000;

const char16_t* const kNames[] = {u"Иванов", u"иванова", u"Петров",   u"Сидоров", u"Smith",
                                  u"Ёлкин",  u"Яковлев", u"Кузнецов", u"Орлова",  u"Белов"};

std::vector<QString> entries()
{
    QRandomGenerator random(10000);
    std::vector<QString> lines;
    lines.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        const auto name = QString::fromUtf16(kNames[random.bounded(int(std::size(kNames)))]);
        lines.push_back(QStringLiteral("%1 %2\t+7 (495) 555-%3")
                            .arg(name)
                            .arg(random.bounded(500))
                            .arg(random.bounded(10000), 4, 10, QLatin1Char('0')));
    }
    return lines;
}

QString page()
{
    QString text;
    for (const QString& line : entries())
        text += (text.isEmpty() ? QString() : QStringLiteral("\r\n")) + line;
    return text;
}

std::vector<QString> keys()
{
    std::vector<QString> lowered;
    for (const QString& line : entries())
        lowered.push_back(line.toLower());
    return lowered;
}

std::u16string_view codeUnits(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())};
}

void BM_SortPage(benchmark::State& state)
{
    const QString text = page();
    for (auto _ : state)
        benchmark::DoNotOptimize(PageSort::sortedText(text));
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_StdSortOfKeys(benchmark::State& state)
{
    const std::vector<QString> lowered = keys();
    for (auto _ : state) {
        std::vector<QString> sorted = lowered;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return codeUnits(a) < codeUnits(b); });
        benchmark::DoNotOptimize(sorted.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_SelectionSortOfKeys(benchmark::State& state)
{
    const std::vector<QString> lowered = keys();
    for (auto _ : state) {
        std::vector<QString> sorted = lowered;
        for (size_t i = 0; i < sorted.size(); ++i) {
            size_t smallest = i;
            for (size_t j = i + 1; j < sorted.size(); ++j) {
                if (codeUnits(sorted[j]) < codeUnits(sorted[smallest]))
                    smallest = j;
            }
            std::swap(sorted[i], sorted[smallest]);
        }
        benchmark::DoNotOptimize(sorted.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

} // namespace

BENCHMARK(BM_SortPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSortOfKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionSortOfKeys)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
