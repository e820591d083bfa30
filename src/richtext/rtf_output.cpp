#include "richtext/rtf_output.h"

#include "core/code_page.h"

#include <array>
#include <charconv>

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
    m_out.reserve(reserve);
}

void RtfOutput::controlWord(const char* word)
{
    m_out.append(word);
    m_afterControlWord = true;
}

void RtfOutput::controlWord(const char* word, int value)
{
    m_out.append(word);
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_out.append(digits, result.ptr - digits);
    m_afterControlWord = true;
}

void RtfOutput::raw(QByteArrayView bytes)
{
    m_out.append(bytes);
    m_afterControlWord = false;
}

void RtfOutput::lineEnd()
{
    m_out.append("\r\n", 2);
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
            case Ascii::Escaped:
                m_out.append('\\');
                m_out.append(char(u));
                m_afterControlWord = false;
                break;
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
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i % kHexBytesPerLine == 0)
            m_out.append("\r\n", 2);
        const auto b = static_cast<unsigned char>(bytes[i]);
        m_out.append(kHexDigits[b >> 4]);
        m_out.append(kHexDigits[b & 0xF]);
    }
    m_afterControlWord = false;
}

void RtfOutput::literal(char ch)
{
    if (m_afterControlWord) {
        m_out.append(' ');
        m_afterControlWord = false;
    }
    m_out.append(ch);
}

void RtfOutput::hexEscape(int byte)
{
    const char escape[4] = {'\\', '\'', kHexDigits[(byte >> 4) & 0xF], kHexDigits[byte & 0xF]};
    m_out.append(escape, 4);
    m_afterControlWord = false;
}

void RtfOutput::unicodeEscape(char16_t unit)
{
    // \u takes a signed 16-bit number; the '?' is the fallback that readers
    // without Unicode show and \uc1 tells the others to skip.
    controlWord("\\u", int(static_cast<qint16>(unit)));
    m_out.append('?');
    m_afterControlWord = false;
}
