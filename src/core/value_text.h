#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Settings hold every value as text. Writing uses the C locale so a store
// moves between machines unchanged; reading also accepts the user's own
// locale, which is how version 3.0 wrote numbers ("1,5" in Russian).
// A text that does not convert, or a number outside the variable's range,
// gives no value.
class ValueText
{
public:
    static std::optional<bool> toBool(const QString& text);
    static std::optional<qint16> toInt16(const QString& text, const QLocale& locale);
    static std::optional<qint32> toInt32(const QString& text, const QLocale& locale);
    static std::optional<float> toFloat(const QString& text, const QLocale& locale);
    // Whole numbers only, no fractions or exponents.
    static std::optional<int> toWholeNumber(const QString& text);

    static QString fromBool(bool value);
    static QString fromInt(qint64 value);
    static QString fromFloat(float value);

private:
    static std::optional<double> toDouble(const QString& text, const QLocale& locale);
    static std::optional<qint64> toRoundedInteger(const QString& text, const QLocale& locale,
                                                  qint64 minimum, qint64 maximum);
};
