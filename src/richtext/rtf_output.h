#pragma once

#include <QByteArray>
#include <QStringView>

// The byte stream of an RTF document being written: control words, groups and
// text escaped so that the output stays pure ASCII. Tracks whether the last thing
// written was a control word, so that text after it gets its delimiting space
// only where a reader would otherwise run the two together.
class RtfOutput
{
public:
    explicit RtfOutput(qsizetype reserve);

    void controlWord(const char* word);
    void controlWord(const char* word, int value);
    void raw(QByteArrayView bytes);
    void lineEnd();
    void text(QStringView text);
    void hexLines(QByteArrayView bytes);

    qsizetype size() const { return m_used; }
    QByteArray take();

private:
    // Room for n more bytes; the buffer grows geometrically, so writing stays
    // linear without a capacity check in every QByteArray call.
    char* room(qsizetype n);
    void append(const char* bytes, qsizetype n);
    void literal(char ch);
    void hexEscape(int byte);
    void unicodeEscape(char16_t unit);

    QByteArray m_out;
    qsizetype m_used = 0;
    bool m_afterControlWord = false;
};
