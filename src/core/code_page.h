#pragma once

#include <QByteArray>
#include <QString>

// Every file the program reads or writes is Windows-1251. Decoding never fails
// (the one unassigned byte 0x98 maps to U+0098 so that bytes survive a round
// trip); encoding reports the characters that have no code so callers can
// refuse them instead of silently writing '?'.
class CodePage
{
public:
    struct Encoded
    {
        QByteArray bytes;
        QString unmappable; // each character without a code, once, in order of appearance
        bool ok() const { return unmappable.isEmpty(); }
    };

    static QString decode(QByteArrayView bytes);
    static QChar decodeByte(unsigned char byte);
    static Encoded encode(QStringView text);
    // Characters without a code become '?'; for texts already checked or where loss is acceptable.
    static QByteArray encodeLossy(QStringView text);
    // -1 when the character has no code.
    static int encodeChar(QChar ch);
    static bool canEncode(QStringView text);

    // What a look at bytes that may be UTF-8 finds: whether every sequence is
    // well formed (no overlong forms, surrogates or values past U+10FFFF),
    // whether any well-formed sequence anywhere takes more than one byte, and
    // where the first malformed byte is (-1 when there is none).
    struct Utf8Scan
    {
        bool hasMultibyte = false;
        qsizetype firstBad = -1;
        bool valid() const { return firstBad < 0; }
    };
    static Utf8Scan scanUtf8(QByteArrayView bytes);
};
