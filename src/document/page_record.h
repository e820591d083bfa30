#pragma once

#include <QString>

// One page of the book. Texts hold Windows-1251-decoded characters, so every
// character of a loaded page can be written back byte for byte.
struct PageRecord
{
    QString Title;
    QString Text;
    qint32 Kind = 0;

    static constexpr qint32 AddressPage = 0;
    static constexpr qint32 TextPage = 1;

    friend bool operator==(const PageRecord&, const PageRecord&) = default;
};
