#include "richtext/rtf_output.h"

#include "core/code_page.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace {

enum class Ascii : unsigned char
{
    Literal,
    Escaped,
    Tab,
    Hex
};

constexpr std::array<Ascii, 128> makeAsciiTable()
{
    std::array<Ascii, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[c] = (c < 0x20 || c == 0x7F) ? Ascii::Hex : Ascii::Literal;
    table['\\'] = Ascii::Escaped;
    table['{'] = Ascii::Escaped;
    table['}'] = Ascii::Escaped;
    table['\t'] = Ascii::Tab;
    return table;
}

constexpr auto kAscii = makeAsciiTable();
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char16_t kLineSeparator = 0x2028;
constexpr qsizetype kHexBytesPerLine = 64;

} // namespace

RtfOutput::RtfOutput(qsizetype reserve)
{
    m_out.resize(std::max<qsizetype>(reserve, 64));
}

QByteArray RtfOutput::take()
{
    m_out.truncate(m_used);
    m_used = 0;
    return std::move(m_out);
}

char* RtfOutput::room(qsizetype n)
{
    if (m_used + n > m_out.size())
        m_out.resize(std::max(m_out.size() * 2, m_used + n));
    return m_out.data() + m_used;
}

void RtfOutput::append(const char* bytes, qsizetype n)
{
    std::memcpy(room(n), bytes, size_t(n));
    m_used += n;
}

void RtfOutput::controlWord(const char* word)
{
    append(word, qsizetype(std::strlen(word)));
    m_afterControlWord = true;
}

void RtfOutput::controlWord(const char* word, int value)
{
    append(word, qsizetype(std::strlen(word)));
    char* dst = room(12);
    m_used += std::to_chars(dst, dst + 12, value).ptr - dst;
    m_afterControlWord = true;
}

void RtfOutput::raw(QByteArrayView bytes)
{
    append(bytes.data(), bytes.size());
    m_afterControlWord = false;
}

void RtfOutput::lineEnd()
{
    append("\r\n", 2);
    m_afterControlWord = false;
}

void RtfOutput::text(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            switch (kAscii[u]) {
            case Ascii::Literal:
                literal(char(u));
                break;
            case Ascii::Escaped: {
                const char escaped[2] = {'\\', char(u)};
                append(escaped, 2);
                m_afterControlWord = false;
                break;
            }
            case Ascii::Tab:
                controlWord("\\tab");
                break;
            case Ascii::Hex:
                hexEscape(u);
                break;
            }
            continue;
        }
        if (u == kLineSeparator) {
            controlWord("\\line");
            continue;
        }
        const int byte = CodePage::encodeChar(ch);
        if (byte >= 0)
            hexEscape(byte);
        else
            unicodeEscape(u);
    }
}

void RtfOutput::hexLines(QByteArrayView bytes)
{
    char* dst = room(bytes.size() * 2 + (bytes.size() / kHexBytesPerLine + 1) * 2);
    char* const start = dst;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i % kHexBytesPerLine == 0) {
            *dst++ = '\r';
            *dst++ = '\n';
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        *dst++ = kHexDigits[b >> 4];
        *dst++ = kHexDigits[b & 0xF];
    }
    m_used += dst - start;
    m_afterControlWord = false;
}

void RtfOutput::literal(char ch)
{
    char* dst = room(2);
    if (m_afterControlWord) {
        *dst++ = ' ';
        ++m_used;
        m_afterControlWord = false;
    }
    *dst = ch;
    ++m_used;
}

void RtfOutput::hexEscape(int byte)
{
    const char escape[4] = {'\\', '\'', kHexDigits[(byte >> 4) & 0xF], kHexDigits[byte & 0xF]};
    append(escape, 4);
    m_afterControlWord = false;
}

void RtfOutput::unicodeEscape(char16_t unit)
{
    // \u takes a signed 16-bit number; the '?' is the fallback that readers
    // without Unicode show and \uc1 tells the others to skip.
    controlWord("\\u", int(static_cast<qint16>(unit)));
    append("?", 1);
    m_afterControlWord = false;
}
