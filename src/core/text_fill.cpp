#include "core/text_fill.h"

namespace {

int digitAt(const QString& text, qsizetype i)
{
    return i < text.size() && text[i].isDigit() ? text[i].digitValue() : -1;
}

} // namespace

QString TextFill::fill(const QString& text, const QStringList& args)
{
    QString filled;
    filled.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int first = text[i] == u'%' ? digitAt(text, i + 1) : -1;
        if (first < 1) {
            filled += text[i];
            continue;
        }
        const int second = digitAt(text, i + 2);
        // Two digits when there are that many arguments, as "%10" is the tenth.
        const bool two = second >= 0 && first * 10 + second <= args.size();
        const int number = two ? first * 10 + second : first;
        if (number > args.size()) {
            filled += text[i];
            continue;
        }
        filled += args[number - 1];
        i += two ? 2 : 1;
    }
    return filled;
}
