#pragma once

#include <QByteArrayView>

// One lexical element of RTF. Views point into the tokenizer's input.
struct RtfToken
{
    enum class Kind
    {
        End,
        GroupStart,
        GroupEnd,
        Word,
        Symbol,
        HexByte,
        Text,
        Binary
    };

    Kind kind = Kind::End;
    QByteArrayView text; // word name, text run or binary data
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
    qsizetype offset = 0; // where the token starts in the input
};

// Splits RTF into tokens without interpreting them. Whatever the bytes, every
// call makes progress and every view stays inside the input.
class RtfTokenizer
{
public:
    static constexpr int MaxWordLength = 32;

    // 0-15 for a hex digit of either case, -1 otherwise.
    static int hexDigitValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    explicit RtfTokenizer(QByteArrayView input) : m_input(input) {}
    // Goes on from `from`, where a token of `input` starts.
    RtfTokenizer(QByteArrayView input, qsizetype from) : m_input(input), m_pos(from) {}

    RtfToken next();
    // Takes a hex escape (\'hh) standing next, as next() would read it;
    // false, nothing taken, for anything else.
    bool takeHexByte(unsigned char& byte)
    {
        if (m_input.size() - m_pos < 4 || m_input[m_pos] != '\\' || m_input[m_pos + 1] != '\'')
            return false;
        const int high = hexDigitValue(m_input[m_pos + 2]);
        const int low = hexDigitValue(m_input[m_pos + 3]);
        if (high < 0 || low < 0)
            return false;
        byte = static_cast<unsigned char>(high * 16 + low);
        m_pos += 4;
        return true;
    }
    // Skips to the end of the group whose opening brace was the last one read,
    // honouring escapes and \bin; returns the offset of its closing brace, or
    // the input size when the group is never closed.
    qsizetype skipGroup();
    // The next input byte taken as it is, whatever it means to RTF; -1 at the end.
    int takeRawByte();
    qsizetype position() const { return m_pos; }
    QByteArrayView input() const { return m_input; }

private:
    RtfToken readEscape();
    RtfToken readWord(qsizetype start);
    RtfToken readHex(qsizetype start);
    RtfToken readText(qsizetype start);
    RtfToken readBinary(const RtfToken& word);
    int peek() const;

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};
