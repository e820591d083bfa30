#include "richtext/paragraph_pieces.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <atomic>

namespace {

constexpr int ParagraphProperty = QTextFormat::UserProperty + 2;
constexpr int PieceProperty = QTextFormat::UserProperty + 3;
constexpr char CutProperty[] = "paragraphPiecesCut";
// How far back from the piece length a cut looks for a line break or space.
constexpr int CutWindow = 512;

int nextParagraphNumber()
{
    static std::atomic<int> last{0};
    return ++last;
}

// Where a piece of text starting at from ends: after a line break or a space
// near the piece length when there is one, never inside a surrogate pair.
int cutAt(const QString& text, int from)
{
    const int limit = from + ParagraphPieces::PieceLength;
    const QStringView window = QStringView(text).mid(limit - CutWindow, CutWindow);
    for (const QChar wanted : {QChar(QChar::LineSeparator), QChar(u' ')}) {
        const qsizetype found = window.lastIndexOf(wanted);
        if (found >= 0)
            return limit - CutWindow + int(found) + 1;
    }
    return text.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
}

void markPiece(QTextCursor& cursor, int paragraph, int piece)
{
    QTextBlockFormat format = cursor.blockFormat();
    format.setProperty(ParagraphProperty, paragraph);
    format.setProperty(PieceProperty, piece);
    cursor.setBlockFormat(format);
}

void splitBlock(QTextDocument& doc, const QTextBlock& block)
{
    const QString text = block.text();
    const int start = block.position();
    const int paragraph = nextParagraphNumber();
    QTextCursor cursor(&doc);
    // Inside an edit block a cursor does not lay the paragraph out to find
    // its x, which would cost a pass over the whole paragraph for every cut.
    cursor.beginEditBlock();
    cursor.setPosition(start);
    markPiece(cursor, paragraph, 0);
    // Cutting from the end keeps the positions of the cuts still to come.
    QList<int> cuts;
    for (int from = 0; text.size() - from > ParagraphPieces::PieceLength;)
        cuts.append(from = cutAt(text, from));
    for (qsizetype i = cuts.size() - 1; i >= 0; --i) {
        cursor.setPosition(start + cuts.at(i));
        cursor.insertBlock(cursor.blockFormat(), cursor.charFormat());
        markPiece(cursor, paragraph, int(i) + 1);
    }
    cursor.endEditBlock();
}

} // namespace

void ParagraphPieces::split(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 2 * PieceLength)
            continue;
        const int number = block.blockNumber();
        splitBlock(doc, block);
        doc.setProperty(CutProperty, true);
        // On after the last piece of this paragraph.
        block = doc.findBlockByNumber(number);
        while (continuesPrevious(block.next()))
            block = block.next();
    }
}

bool ParagraphPieces::continuesPrevious(const QTextBlock& block)
{
    if (!block.isValid() || !block.previous().isValid())
        return false;
    const QTextBlockFormat format = block.blockFormat();
    const QTextBlockFormat before = block.previous().blockFormat();
    const int paragraph = format.intProperty(ParagraphProperty);
    return paragraph != 0 && paragraph == before.intProperty(ParagraphProperty) &&
           format.intProperty(PieceProperty) > before.intProperty(PieceProperty);
}

bool ParagraphPieces::hasPieces(const QTextDocument& doc)
{
    return doc.property(CutProperty).toBool();
}
