#include "core/value_text.h"

#include <cmath>
#include <limits>

namespace {

QLocale strict(QLocale locale)
{
    // "1,500" must not silently become 1500 in the C locale when the user
    // meant one and a half.
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

std::optional<bool> ValueText::toBool(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    // Numbers were accepted as Booleans before ("-1", "0"); any other
    // number meant true.
    const std::optional<double> number = toDouble(trimmed, QLocale::c());
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

std::optional<qint16> ValueText::toInt16(const QString& text, const QLocale& locale)
{
    const auto value = toRoundedInteger(text, locale, std::numeric_limits<qint16>::min(),
                                        std::numeric_limits<qint16>::max());
    if (!value)
        return std::nullopt;
    return static_cast<qint16>(*value);
}

std::optional<qint32> ValueText::toInt32(const QString& text, const QLocale& locale)
{
    const auto value = toRoundedInteger(text, locale, std::numeric_limits<qint32>::min(),
                                        std::numeric_limits<qint32>::max());
    if (!value)
        return std::nullopt;
    return static_cast<qint32>(*value);
}

std::optional<float> ValueText::toFloat(const QString& text, const QLocale& locale)
{
    const std::optional<double> value = toDouble(text, locale);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int> ValueText::toWholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

QString ValueText::fromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString ValueText::fromInt(qint64 value)
{
    return QString::number(value);
}

QString ValueText::fromFloat(float value)
{
    return QLocale::c().toString(static_cast<double>(value), 'g', 7);
}

std::optional<double> ValueText::toDouble(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = strict(QLocale::c()).toDouble(trimmed, &ok);
    if (!ok)
        value = strict(locale).toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> ValueText::toRoundedInteger(const QString& text, const QLocale& locale,
                                                  qint64 minimum, qint64 maximum)
{
    const std::optional<double> value = toDouble(text, locale);
    if (!value)
        return std::nullopt;
    // Fractions round half to even, as version 3.0's conversion did, so its
    // settings read back as it read them.
    const double rounded = std::nearbyint(*value);
    if (rounded < static_cast<double>(minimum) || rounded > static_cast<double>(maximum))
        return std::nullopt;
    return static_cast<qint64>(rounded);
}
