#include "ui/rich_text_edit_paste.h"

#include "richtext/plain_text.h"

#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <QUuid>
#include <utility>

namespace {

bool inTable(const QTextBlock& block)
{
    return block.isValid() && QTextCursor(block).currentTable() != nullptr;
}

// A block that opens any but the first cell of a table row continues the line
// after a tab, the way table rows read everywhere else in the program.
bool startsLaterCell(const QTextBlock& block)
{
    const QTextTable* table = QTextCursor(block).currentTable();
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(block.position());
    return cell.isValid() && cell.column() > 0 && cell.firstPosition() == block.position();
}

// A document keeps an empty paragraph on either side of a table; they are
// not lines of the pasted text.
bool bordersTable(const QTextBlock& block)
{
    return block.length() == 1 && !inTable(block) &&
           (inTable(block.previous()) || inTable(block.next()));
}

// Only what a page can keep crosses over: a paragraph spacing or line height
// from a web page would show here and be gone once the page is saved.
QTextBlockFormat pageBlockFormat(const QTextBlockFormat& source)
{
    QTextBlockFormat format;
    format.setAlignment(source.alignment());
    format.setLeftMargin(source.leftMargin());
    format.setRightMargin(source.rightMargin());
    format.setTextIndent(source.textIndent());
    format.setTabPositions(source.tabPositions());
    return format;
}

void insertLines(QTextCursor& cursor, const QString& text, const QTextCharFormat& format)
{
    const QStringList lines = text.split(QChar::LineSeparator);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(cursor.blockFormat(), format);
        cursor.insertText(lines[i], format);
    }
}

// Picture names belong to the document they came from; a fresh name keeps a
// pasted picture from showing an image of the page it lands on.
void insertImages(QTextCursor& cursor, const QTextDocument& source, QTextCharFormat format,
                  int count)
{
    QTextImageFormat image = format.toImageFormat();
    const QVariant data = source.resource(QTextDocument::ImageResource, QUrl(image.name()));
    if (data.isValid()) {
        const QString name =
            QStringLiteral("pasted-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), data);
        image.setName(name);
    }
    cursor.insertText(QString(count, QChar::ObjectReplacementCharacter), image);
}

} // namespace

void RichTextEditPaste::insertDocument(QTextCursor& cursor, const QTextDocument& source)
{
    bool first = true;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (bordersTable(block))
            continue;
        if (!std::exchange(first, false)) {
            if (startsLaterCell(block))
                cursor.insertText(QStringLiteral("\t"));
            else
                cursor.insertBlock(pageBlockFormat(block.blockFormat()), block.charFormat());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            if (fragment.charFormat().isImageFormat())
                insertImages(cursor, source, fragment.charFormat(), fragment.length());
            else
                insertLines(cursor, fragment.text(), fragment.charFormat());
        }
    }
}

void RichTextEditPaste::insertPlainText(QTextCursor& cursor, const QString& text)
{
    // The cursor turns LF into a paragraph break, but CR into one of its own.
    QString lines = PlainText::normalized(text);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    cursor.insertText(lines);
}

void RichTextEditPaste::setTabs(QTextCursor& cursor, int first, const QList<QTextOption::Tab>& tabs)
{
    QTextDocument* document = cursor.document();
    const QTextBlock last = document->findBlock(cursor.position());
    for (QTextBlock block = document->findBlock(first); block.isValid(); block = block.next()) {
        if (block.blockFormat().tabPositions() != tabs) {
            QTextCursor paragraph(block);
            QTextBlockFormat format = block.blockFormat();
            format.setTabPositions(tabs);
            paragraph.setBlockFormat(format);
        }
        if (block == last)
            break;
    }
}
