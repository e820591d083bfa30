// Kept apart from PlainText::of, which needs a document: the command-line
// tool normalises text too and links no GUI library.
#include "richtext/plain_text.h"

namespace {

const QLatin1StringView kLineBreak("\r\n");

bool isDroppedChar(char16_t ch)
{
    return ch == 0 || ch == QChar::ObjectReplacementCharacter || ch == 0xFDD0 || ch == 0xFDD1;
}

} // namespace

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
