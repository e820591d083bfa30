#include "bench_page.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

// Writes the benchmark page to a file, to time other converters on the same bytes.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: rtf_bench_page <output.rtf>\n";
        return 2;
    }
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly) || file.write(BenchPage::generate(1024 * 1024)) < 0 ||
        !file.commit()) {
        QTextStream(stderr) << "cannot write " << args.at(1) << '\n';
        return 1;
    }
    return 0;
}
