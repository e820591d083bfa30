#pragma once

#include <QLocale>
#include <QString>
#include <array>

// A file's size as the replace question shows it: bytes below a kilobyte,
// otherwise the largest unit that leaves a number below 1024, with the
// locale's decimal sign.
class FileSizeText
{
public:
    // The units after the number and a space: bytes, then kilo- to terabytes.
    using Units = std::array<QString, 5>;

    // Empty from 1024 terabytes on.
    static QString formatFileSize(qint64 size, const Units& units,
                                  const QLocale& locale = QLocale());
    // Two decimals at most below 10 (at least one), one below 100, none above.
    static QString formatSizeNumber(float x, const QLocale& locale = QLocale());
};
