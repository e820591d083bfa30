#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>

namespace {

bool save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

// Reads an RTF file as a page and writes what the page shows and what the
// writer makes of it, to check both against other readers of RTF.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: rtf_rewrite <input.rtf> <shown.txt> <written.rtf>\n";
        return 2;
    }
    QFile input(args.at(1));
    if (!input.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "cannot read " << args.at(1) << '\n';
        return 1;
    }
    QTextDocument doc;
    RtfReader::read(QByteArrayView(input.readAll()), doc);
    if (!save(args.at(2), PlainText::of(doc).toUtf8()) ||
        !save(args.at(3), RtfWriter::write(doc))) {
        QTextStream(stderr) << "cannot write the results\n";
        return 1;
    }
    return 0;
}
