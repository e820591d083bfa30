#include "bench_page.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr qsizetype kPageBytes = 1024 * 1024;

QByteArrayView page()
{
    static const QByteArray bytes = BenchPage::generate(kPageBytes);
    return bytes;
}

void readIntoDocument(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        RtfReader::read(page(), doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * page().size());
}

void plainTextWithoutDocument(benchmark::State& state)
{
    for (auto _ : state) {
        const QString text = RtfPlainText::extract(page());
        benchmark::DoNotOptimize(text.size());
    }
    state.SetBytesProcessed(state.iterations() * page().size());
}

void writeDocument(benchmark::State& state)
{
    QTextDocument doc;
    RtfReader::read(page(), doc);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray rtf = RtfWriter::write(doc);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The yardstick: the same page through `unrtf --text`, process start included,
// as a user of the earlier tool chain would run it.
void unrtfText(benchmark::State& state)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.rtf"));
    QFile file(path);
    if (unrtf.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        file.write(page().data(), page().size()) != page().size()) {
        state.SkipWithError("unrtf is not installed or the page cannot be written");
        return;
    }
    file.close();
    const double cpuBefore = childCpuSeconds();
    for (auto _ : state) {
        QProcess process;
        process.start(unrtf, {QStringLiteral("--text"), path});
        process.waitForFinished(-1);
        benchmark::DoNotOptimize(process.readAllStandardOutput().size());
    }
    state.SetBytesProcessed(state.iterations() * page().size());
    // On a busy machine wall time says little; the converter's own CPU time
    // compares with the CPU figures of the benchmarks above.
    const double cpu = childCpuSeconds() - cpuBefore;
    if (cpu > 0)
        state.counters["cpu_MB_per_s"] =
            double(state.iterations()) * double(page().size()) / (1024.0 * 1024.0) / cpu;
}

} // namespace

BENCHMARK(readIntoDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(plainTextWithoutDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(writeDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(unrtfText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
