#include "richtext/text_finder.h"

#include <QStringMatcher>
#include <vector>

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

bool hasYo(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'ё' || c == u'Ё' || c == u'е' || c == u'Е')
            return true;
    }
    return false;
}

// Ё and ё become Е and е: one character for one, so positions stay.
QString withoutYo(QStringView text)
{
    QString folded = text.toString();
    for (QChar& ch : folded) {
        if (ch == u'ё')
            ch = u'е';
        else if (ch == u'Ё')
            ch = u'Е';
    }
    return folded;
}

TextFinder::Match plainMatch(QStringView text, const QString& sample, qsizetype from, qsizetype to,
                             int options)
{
    // QStringMatcher folds case per character with the full Unicode tables, so
    // Cyrillic (Ё/ё included) matches without building a lower-cased copy.
    const QStringMatcher matcher(sample, (options & TextFinder::matchCase) ? Qt::CaseSensitive
                                                                           : Qt::CaseInsensitive);
    const QStringView range = text.left(to);
    for (qsizetype pos = matcher.indexIn(range, from); pos >= 0;
         pos = matcher.indexIn(range, pos + 1)) {
        if (!(options & TextFinder::wholeWord) || isWholeWord(text, pos, sample.size()))
            return {int(pos), int(sample.size())};
    }
    return {};
}

bool isDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// What may stand between the digits of a telephone number.
bool isNumberPunctuation(QChar ch)
{
    return ch == u' ' || ch == u'-' || ch == u'.' || ch == u'(' || ch == u')' || ch == u'+' ||
           ch == QChar::Nbsp || ch == u'\u2011' || ch == u'\u2013';
}

// The text's digits in a row, with a break where anything but number
// punctuation stands, and where each digit came from.
struct Digits
{
    QString row;
    std::vector<qsizetype> at;
};

Digits digitsOf(QStringView text, qsizetype from, qsizetype to)
{
    Digits digits;
    for (qsizetype i = from; i < to; ++i) {
        if (isDigit(text[i])) {
            digits.row += text[i];
            digits.at.push_back(i);
        } else if (!isNumberPunctuation(text[i]) && !digits.row.endsWith(u'|')) {
            digits.row += u'|';
            digits.at.push_back(i);
        }
    }
    return digits;
}

// A whole number: no digit joins it across number punctuation and no letter
// touches it.
bool isWholeNumber(QStringView text, qsizetype start, qsizetype end)
{
    qsizetype before = start;
    while (before > 0 && isNumberPunctuation(text[before - 1]))
        --before;
    qsizetype after = end;
    while (after < text.size() && isNumberPunctuation(text[after]))
        ++after;
    if ((before > 0 && isDigit(text[before - 1])) || (after < text.size() && isDigit(text[after])))
        return false;
    return isWholeWord(text, start, end - start);
}

TextFinder::Match digitMatch(QStringView text, const QString& sample, qsizetype from, qsizetype to,
                             int options)
{
    QString needle;
    for (const QChar ch : sample) {
        if (isDigit(ch))
            needle += ch;
    }
    if (needle.isEmpty())
        return {};
    const Digits digits = digitsOf(text, from, to);
    const QStringMatcher matcher(needle, Qt::CaseSensitive);
    for (qsizetype pos = matcher.indexIn(digits.row, 0); pos >= 0;
         pos = matcher.indexIn(digits.row, pos + 1)) {
        const qsizetype start = digits.at[std::size_t(pos)];
        const qsizetype end = digits.at[std::size_t(pos + needle.size() - 1)] + 1;
        if (!(options & TextFinder::wholeWord) || isWholeNumber(text, start, end))
            return {int(start), int(end - start)};
    }
    return {};
}

} // namespace

TextFinder::Match TextFinder::match(const QString& text, const QString& sample, int first, int last,
                                    int options)
{
    if (sample.isEmpty())
        return {};
    const qsizetype size = text.size();
    const qsizetype from = qBound(qsizetype(0), qsizetype(first), size);
    const qsizetype to = (last < 0 || last > size) ? size : last;
    if (options & digitsOnly)
        return digitMatch(text, sample, from, to, options);
    if (to - from < sample.size())
        return {};
    if ((options & yoAsYe) && hasYo(sample))
        return plainMatch(withoutYo(text), withoutYo(sample), from, to, options);
    return plainMatch(text, sample, from, to, options);
}
