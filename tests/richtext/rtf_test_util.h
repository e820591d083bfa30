#pragma once

#include "richtext/plain_text.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "unit_test.h"

#include <QTextFragment>
#include <QTextImageFormat>

namespace rtftest {

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Every RTF file of the given test-data folders.
inline QStringList rtfFiles(std::initializer_list<const char*> folders)
{
    QStringList paths;
    for (const char* folder : folders) {
        const QString dir = QStringLiteral(VELKARO_TEST_DATA "/") + QLatin1String(folder);
        for (const QString& name : QDir(dir).entryList({"*.rtf"}, QDir::Files))
            paths.append(dir + '/' + name);
    }
    return paths;
}

inline QList<QTextFragment> fragments(const QTextDocument& doc)
{
    QList<QTextFragment> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            out.append(it.fragment());
    }
    return out;
}

inline QList<QTextImageFormat> images(const QTextDocument& doc)
{
    QList<QTextImageFormat> out;
    for (const QTextFragment& f : fragments(doc)) {
        if (f.charFormat().isImageFormat())
            out.append(f.charFormat().toImageFormat());
    }
    return out;
}

// Reads through the document and through the fast path; they must agree whatever the input.
inline QString readBoth(const QByteArray& source, QTextDocument& doc)
{
    RtfReader::read(QByteArrayView(source), doc);
    const QString text = PlainText::of(doc);
    EXPECT_EQ(RtfPlainText::extract(QByteArrayView(source)), text) << source.left(200).constData();
    return text;
}

inline QString readBoth(const QByteArray& source)
{
    QTextDocument doc;
    return readBoth(source, doc);
}

} // namespace rtftest
