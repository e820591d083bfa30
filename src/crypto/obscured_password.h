#pragma once

#include "core/app_error.h"

#include <QString>
#include <optional>

// The stored form of the start-up password: each character's Windows-1251
// code XORed with a fixed key and written as two upper-case hex digits. This
// only keeps the password from being read at a glance; anyone with the
// settings file and this code can read it back.
// Existing installations hold passwords in exactly this form, so every step
// must stay bit-for-bit what it has always been. A step that cannot be done
// (a character without a code, a digit that is not hex) gives nullopt.
class ObscuredPassword
{
public:
    static constexpr QStringView Key = u"Quintavelle";

    static std::optional<QString> obscure(const QString& plain);
    static std::optional<QString> reveal(const QString& stored);
    static std::optional<QString> xorString(const QString& text, const QString& key);
    static std::optional<QString> strToHex(const QString& text);
    // A trailing odd digit is ignored, as it always has been.
    static std::optional<QString> hexToStr(const QString& hex);
    static std::optional<QChar> intToHex(qint16 value);
    // Upper-case digits only: the stored form never holds lower case.
    static std::optional<qint16> hexToInt(QChar digit);
};
