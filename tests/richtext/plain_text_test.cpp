#include "richtext/plain_text.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

namespace {

QStringList rtfFiles()
{
    QStringList paths;
    for (const QString& folder : {QStringLiteral(VELKARO_TEST_DATA "/rtf"),
                                  QStringLiteral(VELKARO_TEST_DATA "/rtf-corpus/rtf")}) {
        for (const QString& name : QDir(folder).entryList({"*.rtf"}, QDir::Files))
            paths.append(folder + '/' + name);
    }
    return paths;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString viaDocument(QByteArrayView source)
{
    QTextDocument doc;
    RtfReader::read(source, doc);
    return PlainText::of(doc);
}

} // namespace

// The fast path must never disagree with the document the editor shows.
TEST(PlainText, FastPathEqualsTheDocumentsText)
{
    const QStringList paths = rtfFiles();
    ASSERT_GE(paths.size(), 35);
    for (const QString& path : paths) {
        const QByteArray source = fileBytes(path);
        EXPECT_EQ(RtfPlainText::extract(QByteArrayView(source)), viaDocument(source))
            << path.toStdString();
        // Truncated pages (a crash while saving) must agree as well.
        const QByteArray half = source.left(source.size() / 2);
        EXPECT_EQ(RtfPlainText::extract(QByteArrayView(half)), viaDocument(half))
            << path.toStdString();
    }
}

TEST(PlainText, DocumentTextHasOnlyCrLfBreaksAndNoPictures)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("один"));
    QTextImageFormat image;
    image.setName(QStringLiteral("rtfpict:1"));
    cursor.insertImage(image);
    cursor.insertText(QStringLiteral("два") + QChar(QChar::LineSeparator) + QStringLiteral("три"));
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("четыре"));
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("одиндва\r\nтри\r\n\r\nчетыре"));

    QTextDocument empty;
    EXPECT_EQ(PlainText::of(empty), QString());
}

TEST(PlainText, PlainInputIsNormalised)
{
    const QString mixed = QStringLiteral("a\r\nb\nc\rd") + QChar(QChar::LineSeparator) + "e" +
                          QChar(QChar::ParagraphSeparator) + "f" + QChar(0) +
                          QChar(QChar::ObjectReplacementCharacter) + "\r\n\r\n";
    const QString expected = QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n");
    EXPECT_EQ(PlainText::normalized(mixed), expected);
    EXPECT_EQ(RtfPlainText::extract(mixed), expected);
    QTextDocument doc;
    RtfReader::read(mixed, doc);
    EXPECT_EQ(PlainText::of(doc), expected);
}
