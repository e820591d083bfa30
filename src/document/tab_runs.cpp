#include "document/tab_runs.h"

namespace {

bool isBreak(QChar ch)
{
    return TabRuns::isLineBreak(ch);
}

// Windows-1251 has no line or paragraph separator.
bool isBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

// Calls `surplus(from, to)` for each run of tabs longer than the rule keeps,
// in ascending order; stops early when it returns false.
template <typename View, typename Surplus> void forEachSurplus(View plain, Surplus surplus)
{
    bool atLineStart = true;
    qsizetype i = 0;
    while (i < plain.size()) {
        if (plain.at(i) != u'\t') {
            atLineStart = isBreak(plain.at(i));
            ++i;
            continue;
        }
        const qsizetype runStart = i;
        while (i < plain.size() && plain.at(i) == u'\t')
            ++i;
        const qsizetype keep = TabRuns::kept(atLineStart);
        if (i - runStart > keep && !surplus(runStart + keep, i))
            return;
        atLineStart = false;
    }
}

template <typename View> bool anySurplus(View plain)
{
    bool found = false;
    forEachSurplus(plain, [&found](qsizetype, qsizetype) {
        found = true;
        return false;
    });
    return found;
}

} // namespace

bool TabRuns::hasSurplus(QStringView plain)
{
    return anySurplus(plain);
}

bool TabRuns::hasSurplus(QByteArrayView plain)
{
    // Only two tabs in a row can be too many.
    for (qsizetype tab = plain.indexOf('\t'); tab >= 0 && tab + 1 < plain.size();
         tab = plain.indexOf('\t', tab + 1)) {
        if (plain.at(tab + 1) == '\t')
            return anySurplus(plain);
    }
    return false;
}

QString TabRuns::collapsed(const QString& plain)
{
    QString out;
    qsizetype copied = 0;
    forEachSurplus(QStringView(plain), [&](qsizetype from, qsizetype to) {
        out += QStringView(plain).sliced(copied, from - copied);
        copied = to;
        return true;
    });
    if (copied == 0)
        return plain;
    out += QStringView(plain).sliced(copied);
    return out;
}
