#include "ui/rich_text_edit.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

const QString kPage = QStringLiteral("Ёлкин\t222-33-44\r\nёлкин\r\n\r\nпапа Ёлкина");

QString selectedText(const RichTextEdit& edit)
{
    return edit.Text().mid(edit.SelStart(), edit.SelLength());
}

int pageCount(const QString& pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count("/Type /Page\n"));
}

TEST(RichTextEditPositions, LineBreaksCountTwiceEverywhere)
{
    RichTextEdit edit;
    edit.setTextRTF(kPage);
    edit.setSelStart(kPage.size() + 10);
    EXPECT_EQ(edit.SelStart(), kPage.size());
    EXPECT_EQ(edit.textCursor().position(), edit.document()->characterCount() - 1);

    const int second = int(kPage.indexOf(QStringLiteral("ёлкин")));
    edit.setSelStart(second);
    edit.setSelLength(5);
    EXPECT_EQ(edit.SelStart(), second);
    EXPECT_EQ(selectedText(edit), QStringLiteral("ёлкин"));

    edit.setSelStart(second - 1);
    EXPECT_EQ(edit.SelStart(), second - 2) << "between CR and LF means before the break";
}

TEST(RichTextEditPositions, FindSelectsTheMatchItReports)
{
    RichTextEdit edit;
    edit.setTextRTF(kPage);
    QSignalSpy moves(&edit, &RichTextEdit::SelChange);

    const int found = edit.Find(QStringLiteral("ЁЛКИН"), 1);
    EXPECT_EQ(found, kPage.indexOf(QStringLiteral("ёлкин")));
    EXPECT_EQ(edit.SelStart(), found);
    EXPECT_EQ(selectedText(edit), QStringLiteral("ёлкин"));
    EXPECT_EQ(moves.count(), 1);

    const int last = int(kPage.lastIndexOf(QStringLiteral("Ёлкин")));
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), found + 1), last);
    EXPECT_EQ(selectedText(edit), QStringLiteral("Ёлкин"));

    const int across = edit.Find(QStringLiteral("44\r\nё"), 0);
    EXPECT_EQ(selectedText(edit), QStringLiteral("44\r\nё"));
    EXPECT_EQ(edit.SelStart(), across);
}

TEST(RichTextEditPositions, FindOptionsAndRange)
{
    RichTextEdit edit;
    edit.setTextRTF(kPage);
    edit.setSelStart(3);
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), 0, -1, RichTextEdit::findMatchCase | 8),
              kPage.indexOf(QStringLiteral("ёлкин")));
    EXPECT_EQ(edit.SelStart(), 3) << "option 8 leaves the selection alone";
    EXPECT_EQ(edit.SelLength(), 0);

    const int word = RichTextEdit::findWholeWord;
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), 20, -1, word), -1) << "Ёлкина is another word";
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), 20, -1, 0), kPage.lastIndexOf(u'Ё'));
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), 1, 22), kPage.indexOf(u'ё'));
    EXPECT_EQ(edit.Find(QStringLiteral("ёлкин"), 1, 21), -1) << "the match must end inside";
    EXPECT_EQ(edit.SelStart(), kPage.indexOf(u'ё')) << "a failed search keeps the selection";
}

TEST(RichTextEditPositions, PicturesTakeNoPlaceInThePlainText)
{
    RichTextEdit edit;
    edit.setTextRTF(QStringLiteral("ab\r\ncd"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    edit.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")), image);
    QTextCursor cursor(edit.document());
    cursor.setPosition(4);
    cursor.insertImage(QStringLiteral("p"));

    EXPECT_EQ(edit.Text(), QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(edit.Find(QStringLiteral("cd"), 0), 4);
    EXPECT_EQ(selectedText(edit), QStringLiteral("cd"));
    edit.setSelStart(100);
    EXPECT_EQ(edit.SelStart(), 6);

    cursor.setPosition(0);
    cursor.insertImage(QStringLiteral("p"));
    EXPECT_EQ(edit.Find(QStringLiteral("b"), 0), 1);
    EXPECT_EQ(selectedText(edit), QStringLiteral("b"));
}

TEST(RichTextEditPositions, SelectionRichTextKeepsItsLines)
{
    RichTextEdit edit;
    edit.setTextRTF(kPage);
    edit.setSelStart(2);
    edit.setSelLength(20);
    const QString part = selectedText(edit);

    RichTextEdit copy;
    copy.setTextRTF(edit.SelRTF());
    EXPECT_EQ(copy.Text(), part);
}

TEST(RichTextEditPositions, PastedTextBecomesParagraphs)
{
    RichTextEdit edit;
    auto* plain = new QMimeData;
    plain->setText(QStringLiteral("один\nдва\rтри\r\nчетыре") + QChar::LineSeparator + "пять");
    QGuiApplication::clipboard()->setMimeData(plain);
    edit.paste();
    EXPECT_EQ(edit.Text(), QStringLiteral("один\r\nдва\r\nтри\r\nчетыре\r\nпять"));
    EXPECT_EQ(edit.document()->blockCount(), 5);

    RichTextEdit table;
    auto* html = new QMimeData;
    html->setHtml(QStringLiteral("<table><tr><td>Иванов</td><td><b>222</b></td></tr>"
                                 "<tr><td>Петров</td><td>333</td></tr></table>"
                                 "<p align=center style='margin-top:30px'>Итого</p>"));
    QGuiApplication::clipboard()->setMimeData(html);
    table.paste();
    EXPECT_EQ(table.Text(), QStringLiteral("Иванов\t222\r\nПетров\t333\r\nИтого"));
    const QTextBlockFormat last = table.document()->lastBlock().blockFormat();
    EXPECT_EQ(last.alignment(), Qt::AlignHCenter);
    EXPECT_EQ(last.topMargin(), 0) << "spacing a page cannot keep is left behind";
    EXPECT_EQ(table.Find(QStringLiteral("333"), 0), table.Text().indexOf(QStringLiteral("333")));
}

TEST(RichTextEditPositions, CopiedRichTextPastesWithItsFormat)
{
    RichTextEdit source;
    source.setTextRTF(QStringLiteral("жирный\r\nтекст"));
    source.selectAll();
    source.setSelBold(true);
    source.copy();

    RichTextEdit target;
    target.setTextRTF(QStringLiteral("["));
    target.setSelStart(1);
    target.postPaste();
    EXPECT_EQ(target.Text(), QStringLiteral("["));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.Text(), QStringLiteral("[жирный\r\nтекст"));
    target.setSelStart(1);
    target.setSelLength(13);
    EXPECT_EQ(target.SelBold(), true);
}

// Pictures read from two pages carry the same resource names; pasting one page's
// picture into the other must not show the picture that was already there.
TEST(RichTextEditPositions, PastedPicturesKeepTheirOwnImages)
{
    const auto pageWithPicture = [](RichTextEdit& page, Qt::GlobalColor colour) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(colour);
        auto* data = new QMimeData;
        data->setImageData(image);
        QGuiApplication::clipboard()->setMimeData(data);
        RichTextEdit scratch;
        scratch.paste();
        EXPECT_EQ(scratch.Text(), QString());
        page.setTextRTF(scratch.TextRTF());
    };
    RichTextEdit page;
    pageWithPicture(page, Qt::red);
    RichTextEdit other;
    pageWithPicture(other, Qt::blue);
    other.selectAll();
    other.copy();
    page.moveCursor(QTextCursor::End);
    page.paste();

    QList<QColor> colours;
    for (auto it = page.document()->begin().begin(); !it.atEnd(); ++it) {
        const QString name = it.fragment().charFormat().toImageFormat().name();
        const QVariant image = page.document()->resource(QTextDocument::ImageResource, QUrl(name));
        colours.append(qvariant_cast<QImage>(image).pixelColor(0, 0));
    }
    EXPECT_EQ(colours, (QList<QColor>{QColor(Qt::red), QColor(Qt::blue)}));
    EXPECT_EQ(page.Text(), QString());
}

TEST(RichTextEditPositions, PrintsTheSelectionOrEverything)
{
    QTemporaryDir dir;
    RichTextEdit edit;
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("Строка %1").arg(i));
    edit.setTextRTF(lines.join(QStringLiteral("\r\n")));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("all.pdf")));
    edit.SelPrint(&printer);
    EXPECT_GT(pageCount(dir.filePath(QStringLiteral("all.pdf"))), 2);

    edit.Find(QStringLiteral("Строка 150"), 0);
    printer.setOutputFileName(dir.filePath(QStringLiteral("part.pdf")));
    edit.SelPrint(&printer);
    EXPECT_EQ(pageCount(dir.filePath(QStringLiteral("part.pdf"))), 1);
    EXPECT_EQ(edit.Text().size(), lines.join(QStringLiteral("\r\n")).size()) << "page untouched";
}

TEST(RichTextEditPositions, LoadFileReadsRichTextAndRefusesMissingFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("help.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Tahoma;}}"
               "\\f0\\fs16 \\b \\'d1\\'ef\\'f0\\'e0\\'e2\\'ea\\'e0\\b0\\par\r\n}");
    file.close();

    RichTextEdit edit;
    QSignalSpy changes(&edit, &RichTextEdit::Change);
    ASSERT_TRUE(edit.LoadFile(path));
    EXPECT_EQ(edit.Text().trimmed(), QStringLiteral("Справка"));
    EXPECT_EQ(changes.count(), 1);
    edit.setSelLength(3);
    EXPECT_EQ(edit.SelBold(), true);

    EXPECT_FALSE(edit.LoadFile(dir.filePath(QStringLiteral("missing.rtf"))));
    EXPECT_EQ(edit.Text().trimmed(), QStringLiteral("Справка"));
}

} // namespace
