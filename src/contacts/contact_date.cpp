#include "contacts/contact_date.h"

#include <QDate>
#include <algorithm>
#include <array>

namespace {

// A leap year, so that the 29th of February is a day without a year too.
constexpr int kAnyYear = 2000;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

struct Numbers
{
    std::array<int, 3> values{};
    std::array<qsizetype, 3> lengths{};
    int count = 0;
    qsizetype end = 0;
};

// Up to three runs of digits with one separator ("-", "/" or ".") between
// them, the same one each time.
Numbers numbersAt(QStringView text, qsizetype at)
{
    Numbers numbers;
    QChar separator;
    qsizetype pos = at;
    while (numbers.count < 3) {
        const qsizetype start = pos;
        int value = 0;
        while (pos < text.size() && isDigit(text[pos]) && pos - start < 4)
            value = value * 10 + (text[pos++].unicode() - u'0');
        if (pos == start || (pos < text.size() && isDigit(text[pos])))
            break;
        numbers.values[numbers.count] = value;
        numbers.lengths[numbers.count] = pos - start;
        ++numbers.count;
        numbers.end = pos;
        if (pos + 1 >= text.size() || !isDigit(text[pos + 1]))
            break;
        const QChar next = text[pos];
        if ((next != u'-' && next != u'/' && next != u'.') ||
            (!separator.isNull() && next != separator))
            break;
        separator = next;
        ++pos;
    }
    return numbers;
}

QString dateText(int year, int month, int day)
{
    if (!QDate(year > 0 ? year : kAnyYear, month, day).isValid())
        return {};
    const auto digits = [](int number, int width) {
        return QString::number(number).rightJustified(width, u'0');
    };
    const QString monthDay = digits(month, 2) + u'-' + digits(day, 2);
    return year > 0 ? digits(year, 4) + u'-' + monthDay : QStringLiteral("--") + monthDay;
}

// Day and month in either order, the day first where both could be it.
QString dayMonth(int year, int first, int second)
{
    if (first > 12)
        return dateText(year, second, first);
    if (second > 12)
        return dateText(year, first, second);
    return dateText(year, second, first);
}

} // namespace

std::optional<ContactDate::Found> ContactDate::at(QStringView text, qsizetype at, bool yearless)
{
    const Numbers n = numbersAt(text, at);
    if (n.end < text.size() && (text[n.end].isLetterOrNumber()))
        return std::nullopt;
    QString date;
    if (n.count == 3 && n.lengths[0] == 4 && n.lengths[1] <= 2 && n.lengths[2] <= 2)
        date = dateText(n.values[0], n.values[1], n.values[2]);
    else if (n.count == 3 && n.lengths[2] == 4 && n.lengths[0] <= 2 && n.lengths[1] <= 2)
        date = dayMonth(n.values[2], n.values[0], n.values[1]);
    else if (n.count == 2 && yearless && n.lengths[0] <= 2 && n.lengths[1] <= 2)
        date = dayMonth(0, n.values[0], n.values[1]);
    if (date.isEmpty())
        return std::nullopt;
    return Found{n.end, date, n.count == 3};
}

QString ContactDate::read(QStringView text)
{
    QStringView value = text.trimmed();
    const qsizetype time = value.indexOf(u'T');
    if (time > 0)
        value = value.first(time);
    if (value.startsWith(u"--")) {
        QString digits = value.sliced(2).toString().remove(u'-');
        if (digits.size() == 4 && std::all_of(digits.begin(), digits.end(), isDigit))
            return dateText(0, digits.first(2).toInt(), digits.sliced(2).toInt());
        return {};
    }
    if (value.size() == 8 && std::all_of(value.begin(), value.end(), isDigit))
        return dateText(value.first(4).toInt(), value.sliced(4, 2).toInt(),
                        value.sliced(6).toInt());
    const std::optional<Found> found = at(value, 0, true);
    return found && found->end == value.size() ? found->date : QString();
}

QString ContactDate::toVCard(const QString& date)
{
    if (read(date) != date)
        return {};
    const QString digits = QString(date).remove(u'-');
    return date.startsWith(u"--") ? QStringLiteral("--") + digits : digits;
}

QString ContactDate::toEntry(const QString& date)
{
    if (read(date) != date)
        return date;
    const QStringList parts = date.split(u'-', Qt::SkipEmptyParts);
    return parts.size() == 3 ? parts[2] + u'.' + parts[1] + u'.' + parts[0]
                             : parts[1] + u'.' + parts[0];
}
