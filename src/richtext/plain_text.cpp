#include "richtext/plain_text.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

const QLatin1StringView kLineBreak("\r\n");

bool isDroppedChar(char16_t ch)
{
    return ch == 0 || ch == QChar::ObjectReplacementCharacter || ch == 0xFDD0 || ch == 0xFDD1;
}

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
        if (block != doc.begin())
            out += kLineBreak;
        appendBlockText(out, block.text());
    }
    return out;
}

QString PlainText::normalized(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += kLineBreak;
        } else if (ch == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator) {
            out += kLineBreak;
        } else if (!isDroppedChar(ch)) {
            out += QChar(ch);
        }
    }
    return out;
}
