#include "richtext/text_finder.h"

#include <QStringMatcher>

namespace {

char32_t codePointBefore(QStringView text, qsizetype pos)
{
    const QChar prev = text[pos - 1];
    if (prev.isLowSurrogate() && pos >= 2 && text[pos - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[pos - 2], prev);
    return prev.unicode();
}

char32_t codePointAt(QStringView text, qsizetype pos)
{
    const QChar ch = text[pos];
    if (ch.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(ch, text[pos + 1]);
    return ch.unicode();
}

bool isWordChar(char32_t ch)
{
    return ch == U'_' || QChar::isLetterOrNumber(ch);
}

bool isWholeWord(QStringView text, qsizetype start, qsizetype length)
{
    if (start > 0 && isWordChar(codePointBefore(text, start)))
        return false;
    const qsizetype end = start + length;
    return end >= text.size() || !isWordChar(codePointAt(text, end));
}

} // namespace

int TextFinder::find(const QString& text, const QString& sample, int first, int last, int options)
{
    if (sample.isEmpty())
        return -1;
    const qsizetype size = text.size();
    const qsizetype from = qBound(qsizetype(0), qsizetype(first), size);
    const qsizetype to = (last < 0 || last > size) ? size : last;
    if (to - from < sample.size())
        return -1;

    // QStringMatcher folds case per character with the full Unicode tables, so
    // Cyrillic (Ё/ё included) matches without building a lower-cased copy.
    const QStringMatcher matcher(sample,
                                 (options & matchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive);
    const QStringView range = QStringView(text).left(to);
    for (qsizetype pos = matcher.indexIn(range, from); pos >= 0;
         pos = matcher.indexIn(range, pos + 1)) {
        if (!(options & wholeWord) || isWholeWord(text, pos, sample.size()))
            return int(pos);
    }
    return -1;
}
