#include "richtext/rtf_list_table.h"

#include <algorithm>
#include <utility>

namespace {

enum Format
{
    Decimal = 0,
    UpperRoman = 1,
    LowerRoman = 2,
    UpperLetter = 3,
    LowerLetter = 4,
    Ordinal = 5,
    LeadingZero = 22,
    Bullet = 23,
    NoNumber = 255,
};

constexpr int kMaxRoman = 3999;
// Letters repeat past Z (AA, BBB, ...); beyond this many the number is decimal.
constexpr int kMaxLetterRepeat = 8;

QString roman(int value, bool upper)
{
    static const std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [amount, letters] : parts) {
        for (; value >= amount; value -= amount)
            out += QLatin1StringView(letters);
    }
    return upper ? out.toUpper() : out;
}

QString letters(int value, bool upper)
{
    const QChar letter(char16_t((upper ? u'A' : u'a') + (value - 1) % 26));
    return QString((value - 1) / 26 + 1, letter);
}

QString ordinal(int value)
{
    const int lastTwo = value % 100;
    const int last = value % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13)
        suffix = last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    return QString::number(value) + QLatin1StringView(suffix);
}

// Writers draw the plain bullets of a list's levels each in their own way
// (a round bullet in Symbol, a Courier "o", a black circle); read, they show
// the usual round, white and square bullets by level, as word processors do.
QString usualBullet(const QString& text, qsizetype level)
{
    static const QString plainBullets =
        QStringLiteral("\u2022\u25CF\u00B7\u25E6\u25CBo\u25AA\u25A0\u2043");
    static const char16_t usual[] = {u'\u2022', u'\u25E6', u'\u25AA'};
    if (text.size() != 1 || !plainBullets.contains(text[0]))
        return text;
    return QString(QChar(usual[level % 3]));
}

} // namespace

void RtfListTable::startList()
{
    m_reading = List{};
    m_readingId = 0;
    m_readingOpen = true;
}

RtfListTable::Level RtfListTable::shown(Level level, qsizetype index)
{
    if (level.format == Bullet)
        level.text = usualBullet(level.text, index);
    return level;
}

void RtfListTable::addLevel(const Level& level)
{
    if (m_readingOpen && m_reading.levels.size() < Levels)
        m_reading.levels.append(shown(level, m_reading.levels.size()));
}

void RtfListTable::setListId(int id)
{
    m_readingId = id;
}

void RtfListTable::endList()
{
    if (!std::exchange(m_readingOpen, false))
        return;
    if (m_lists.size() < MaxLists || m_lists.contains(m_readingId))
        m_lists.insert(m_readingId, std::move(m_reading));
}

void RtfListTable::addOverride(int override, int listId, const QList<LevelOverride>& levels)
{
    if (m_overrides.size() >= MaxLists && !m_overrides.contains(override))
        return;
    Override entry{listId, {}, {}, {}, false};
    for (const LevelOverride& level : levels) {
        if (level.level < 0 || level.level >= Levels)
            continue;
        if (level.startAt)
            entry.starts.append({level.level, *level.startAt});
        if (level.format)
            entry.formats.append({level.level, shown(*level.format, level.level)});
    }
    m_overrides.insert(override, std::move(entry));
}

QString RtfListTable::nextNumber(int override, int level)
{
    const auto found = m_overrides.find(override);
    if (found == m_overrides.end())
        return {};
    if (!std::exchange(found->levelsKnown, true)) {
        const auto list = m_lists.constFind(found->listId);
        if (list != m_lists.constEnd())
            found->levels = list->levels;
        for (const auto& [replaced, format] : std::as_const(found->formats)) {
            if (replaced < found->levels.size())
                found->levels[replaced] = format;
        }
    }
    const QList<Level>& levels = found->levels;
    if (level < 0 || level >= levels.size())
        return {};
    std::array<int, Levels>& counters = m_counters[found->listId].values;
    // Counting goes on over every override of a list, unless one starts again.
    for (const auto& [restarted, number] : std::exchange(found->starts, {})) {
        if (restarted >= 0 && restarted < Levels)
            counters[restarted] = number - 1;
    }
    counters[level] = counters[level] != Counters::NotCounted
                          ? std::min(counters[level] + 1, MaxStartAt * 2)
                          : levels[level].startAt;
    std::fill(counters.begin() + level + 1, counters.end(), Counters::NotCounted);

    QString out;
    for (QChar ch : levels[level].text) {
        const int placeholder = ch.unicode();
        if (placeholder >= Levels) {
            out += ch;
        } else if (placeholder < levels.size()) {
            const Level& shown = levels[placeholder];
            out +=
                formatNumber(counters[placeholder] != Counters::NotCounted ? counters[placeholder]
                                                                           : shown.startAt,
                             shown.format);
        }
    }
    if (levels[level].follow == 0)
        out += u'\t';
    else if (levels[level].follow == 1)
        out += u' ';
    return out;
}

QString RtfListTable::formatNumber(int value, int format)
{
    switch (format) {
    case UpperRoman:
    case LowerRoman:
        if (value > 0 && value <= kMaxRoman)
            return roman(value, format == UpperRoman);
        break;
    case UpperLetter:
    case LowerLetter:
        if (value > 0 && value <= 26 * kMaxLetterRepeat)
            return letters(value, format == UpperLetter);
        break;
    case Ordinal:
        return ordinal(value);
    case LeadingZero:
        return value < 10 && value >= 0 ? QStringLiteral("0%1").arg(value) : QString::number(value);
    case Bullet:
    case NoNumber:
        return {};
    default:
        break;
    }
    return QString::number(value);
}
