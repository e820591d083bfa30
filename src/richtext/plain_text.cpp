#include "richtext/plain_text.h"

#include "richtext/paragraph_pieces.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

const QLatin1StringView kLineBreak("\r\n");

void appendBlockText(QString& out, const QString& text)
{
    for (QChar ch : text) {
        if (ch == QChar::LineSeparator)
            out += kLineBreak;
        else if (ch != QChar::ObjectReplacementCharacter)
            out += ch;
    }
}

} // namespace

QString PlainText::of(const QTextDocument& doc)
{
    QString out;
    out.reserve(doc.characterCount() + doc.blockCount());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin() && !ParagraphPieces::continuesPrevious(block))
            out += kLineBreak;
        appendBlockText(out, block.text());
    }
    return out;
}
