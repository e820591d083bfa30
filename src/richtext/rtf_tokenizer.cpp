#include "richtext/rtf_tokenizer.h"

#include <limits>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool endsText(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

} // namespace

int RtfTokenizer::peek() const
{
    return m_pos < m_input.size() ? static_cast<unsigned char>(m_input[m_pos]) : -1;
}

int RtfTokenizer::takeRawByte()
{
    const int byte = peek();
    if (byte >= 0)
        ++m_pos;
    return byte;
}

RtfToken RtfTokenizer::next()
{
    while (m_pos < m_input.size() && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n'))
        ++m_pos;
    const qsizetype start = m_pos;
    if (m_pos >= m_input.size())
        return RtfToken{RtfToken::Kind::End, {}, 0, false, 0, 0, start};
    const char c = m_input[m_pos];
    if (c == '{' || c == '}') {
        ++m_pos;
        const auto kind = c == '{' ? RtfToken::Kind::GroupStart : RtfToken::Kind::GroupEnd;
        return RtfToken{kind, {}, 0, false, 0, 0, start};
    }
    if (c == '\\')
        return readEscape();
    return readText(start);
}

RtfToken RtfTokenizer::readText(qsizetype start)
{
    qsizetype end = start;
    while (end < m_input.size() && !endsText(m_input[end]))
        ++end;
    m_pos = end;
    return RtfToken{
        RtfToken::Kind::Text, m_input.sliced(start, end - start), 0, false, 0, 0, start};
}

RtfToken RtfTokenizer::readEscape()
{
    const qsizetype start = m_pos++;
    const int c = peek();
    if (c < 0)
        return RtfToken{RtfToken::Kind::End, {}, 0, false, 0, 0, start};
    if (isLetter(static_cast<char>(c))) {
        RtfToken word = readWord(start);
        if (word.text.size() == 3 && word.text == "bin")
            return readBinary(word);
        return word;
    }
    ++m_pos;
    if (c == '\'')
        return readHex(start);
    return RtfToken{RtfToken::Kind::Symbol, {}, 0, false, static_cast<char>(c), 0, start};
}

RtfToken RtfTokenizer::readWord(qsizetype start)
{
    const qsizetype nameStart = m_pos;
    while (m_pos < m_input.size() && isLetter(m_input[m_pos]))
        ++m_pos;
    RtfToken token{RtfToken::Kind::Word, {}, 0, false, 0, 0, start};
    // An over-long name is no word we know; keeping it empty makes it ignored.
    if (m_pos - nameStart <= MaxWordLength)
        token.text = m_input.sliced(nameStart, m_pos - nameStart);
    const bool negative =
        peek() == '-' && m_pos + 1 < m_input.size() && isDigit(m_input[m_pos + 1]);
    if (negative)
        ++m_pos;
    if (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
        constexpr qint64 limit = std::numeric_limits<int>::max();
        qint64 value = 0;
        while (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
            value = std::min(limit + 1, value * 10 + (m_input[m_pos] - '0'));
            ++m_pos;
        }
        token.hasParam = true;
        token.param =
            negative ? static_cast<int>(-value) : static_cast<int>(std::min(value, limit));
    }
    if (peek() == ' ')
        ++m_pos;
    return token;
}

RtfToken RtfTokenizer::readHex(qsizetype start)
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && m_pos < m_input.size() && hexDigitValue(m_input[m_pos]) >= 0) {
        value = value * 16 + hexDigitValue(m_input[m_pos]);
        ++m_pos;
        ++digits;
    }
    if (digits == 0)
        return RtfToken{RtfToken::Kind::Symbol, {}, 0, false, '\'', 0, start};
    return RtfToken{RtfToken::Kind::HexByte,           {},   0, false, 0,
                    static_cast<unsigned char>(value), start};
}

RtfToken RtfTokenizer::readBinary(const RtfToken& word)
{
    const qsizetype length = word.hasParam ? std::max(0, word.param) : 0;
    const qsizetype available = std::min(length, m_input.size() - m_pos);
    RtfToken token{
        RtfToken::Kind::Binary, m_input.sliced(m_pos, available), 0, false, 0, 0, word.offset};
    m_pos += available;
    return token;
}

qsizetype RtfTokenizer::skipGroup()
{
    int depth = 1;
    while (m_pos < m_input.size()) {
        const char c = m_input[m_pos];
        if (c == '{') {
            ++depth;
            ++m_pos;
        } else if (c == '}') {
            if (--depth == 0)
                return m_pos++;
            ++m_pos;
        } else if (c == '\\') {
            const RtfToken token = readEscape();
            if (token.kind == RtfToken::Kind::End)
                break;
        } else {
            ++m_pos;
        }
    }
    return m_input.size();
}
