#include "document/tab_runs.h"

namespace {

// Calls `surplus(from, to)` for each run of tabs longer than the rule keeps,
// in ascending order; stops early when it returns false.
template <typename Surplus> void forEachSurplus(QStringView plain, Surplus surplus)
{
    bool atLineStart = true;
    qsizetype i = 0;
    while (i < plain.size()) {
        if (plain.at(i) != u'\t') {
            atLineStart = TabRuns::isLineBreak(plain.at(i));
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

} // namespace

bool TabRuns::hasSurplus(QStringView plain)
{
    bool found = false;
    forEachSurplus(plain, [&found](qsizetype, qsizetype) {
        found = true;
        return false;
    });
    return found;
}

QString TabRuns::collapsed(const QString& plain)
{
    QString out;
    qsizetype copied = 0;
    forEachSurplus(plain, [&](qsizetype from, qsizetype to) {
        out += QStringView(plain).sliced(copied, from - copied);
        copied = to;
        return true;
    });
    if (copied == 0)
        return plain;
    out += QStringView(plain).sliced(copied);
    return out;
}
