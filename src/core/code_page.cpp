#include "core/code_page.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

// Reverse map over the Basic Multilingual Plane; 0 marks "no code" (U+0000 is handled apart).
constexpr std::array<std::uint8_t, 0x10000> makeReverse()
{
    std::array<std::uint8_t, 0x10000> table{};
    for (int b = 1; b < 0x80; ++b)
        table[b] = static_cast<std::uint8_t>(b);
    for (int i = 0; i < 0x80; ++i)
        table[kHighHalf[i]] = static_cast<std::uint8_t>(0x80 + i);
    return table;
}

constexpr auto kReverse = makeReverse();

// Every byte's character, so that decoding a large book is one lookup a byte.
constexpr std::array<char16_t, 0x100> makeForward()
{
    std::array<char16_t, 0x100> table{};
    for (int b = 0; b < 0x80; ++b)
        table[b] = static_cast<char16_t>(b);
    for (int i = 0; i < 0x80; ++i)
        table[0x80 + i] = kHighHalf[i];
    return table;
}

constexpr auto kForward = makeForward();

} // namespace

QChar CodePage::decodeByte(unsigned char byte)
{
    return QChar(kForward[byte]);
}

QString CodePage::decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (char c : bytes)
        *dst++ = kForward[static_cast<unsigned char>(c)];
    return out;
}

int CodePage::encodeChar(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u == 0)
        return 0;
    const std::uint8_t b = kReverse[u];
    return b == 0 ? -1 : b;
}

CodePage::Encoded CodePage::encode(QStringView text)
{
    Encoded result;
    result.bytes.resize(text.size());
    char* dst = result.bytes.data();
    for (QChar ch : text) {
        // Most text the program encodes is RTF, which is ASCII.
        if (ch.unicode() < 0x80) {
            *dst++ = static_cast<char>(ch.unicode());
            continue;
        }
        const int b = encodeChar(ch);
        if (b < 0) {
            if (!result.unmappable.contains(ch))
                result.unmappable.append(ch);
            *dst++ = '?';
            continue;
        }
        *dst++ = static_cast<char>(b);
    }
    return result;
}

QByteArray CodePage::encodeLossy(QStringView text)
{
    return encode(text).bytes;
}

bool CodePage::canEncode(QStringView text)
{
    for (QChar ch : text) {
        if (encodeChar(ch) < 0)
            return false;
    }
    return true;
}

namespace {

// The length of the well-formed UTF-8 sequence at `p` (RFC 3629), or 0.
qsizetype utf8SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = *p;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

CodePage::Utf8Scan CodePage::scanUtf8(QByteArrayView bytes)
{
    Utf8Scan scan;
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = begin + bytes.size();
    for (const unsigned char* p = begin; p < end;) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const qsizetype length = utf8SequenceLength(p, end);
        if (length == 0) {
            if (scan.firstBad < 0)
                scan.firstBad = p - begin;
            ++p;
            continue;
        }
        scan.hasMultibyte = true;
        p += length;
    }
    return scan;
}
