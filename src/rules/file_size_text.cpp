#include "rules/file_size_text.h"

#include <cmath>

namespace {

constexpr qint64 kKilo = 1024;
constexpr int kLargestUnit = 4; // terabytes

} // namespace

QString FileSizeText::formatFileSize(qint64 size, const Units& units, const QLocale& locale)
{
    if (size < kKilo)
        return QString::number(size) + u' ' + units[0];
    qint64 unit = 1;
    for (int power = 1; power <= kLargestUnit; ++power) {
        unit *= kKilo;
        if (size / unit < kKilo) {
            const float x = static_cast<float>(size) / static_cast<float>(unit);
            return formatSizeNumber(x, locale) + u' ' + units[static_cast<std::size_t>(power)];
        }
    }
    return {};
}

QString FileSizeText::formatSizeNumber(float x, const QLocale& locale)
{
    // Digits only: a group separator would turn 1023 into "1 023".
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString zero = plain.zeroDigit();
    if (x < 10) {
        QString text = plain.toString(x, 'f', 2);
        if (text.endsWith(zero))
            text.chop(zero.size());
        // "#.0#": no leading zero before the decimal sign.
        if (text.startsWith(zero + plain.decimalPoint()))
            text.remove(0, zero.size());
        return text;
    }
    if (x < 100)
        return plain.toString(x, 'f', 1);
    return plain.toString(std::round(x), 'f', 0);
}
