#include "richtext/rtf_symbol_field.h"

#include <QByteArray>
#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Scanner
{
public:
    explicit Scanner(QByteArrayView text) : m_text(text) {}

    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }

    // A word up to the next blank, or a quoted text without its quotes.
    QByteArrayView word()
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const qsizetype start = ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != '"')
                ++m_pos;
            const QByteArrayView quoted = m_text.sliced(start, m_pos - start);
            m_pos = std::min(m_pos + 1, m_text.size());
            return quoted;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !isBlank(m_text[m_pos]))
            ++m_pos;
        return m_text.sliced(start, m_pos - start);
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

std::optional<int> parseCode(QByteArrayView text)
{
    const bool hex = text.startsWith("0x") || text.startsWith("0X");
    bool ok = false;
    const qlonglong value =
        (hex ? text.sliced(2) : text).toByteArray().toLongLong(&ok, hex ? 16 : 10);
    if (!ok || value < 0 || value > RtfSymbolField::MaxCode)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<RtfSymbolField> RtfSymbolField::parse(QByteArrayView instruction)
{
    Scanner scanner(instruction);
    if (scanner.word().toByteArray().toUpper() != "SYMBOL")
        return std::nullopt;
    const std::optional<int> code = parseCode(scanner.word());
    if (!code)
        return std::nullopt;
    RtfSymbolField field;
    field.code = *code;
    while (!scanner.atEnd()) {
        const QByteArrayView word = scanner.word();
        if (word.compare("\\f", Qt::CaseInsensitive) == 0)
            field.font = QString::fromLatin1(scanner.word()).trimmed();
        else if (word.compare("\\u", Qt::CaseInsensitive) == 0)
            field.unicode = true;
        else if (word.compare("\\s", Qt::CaseInsensitive) == 0)
            scanner.word();
    }
    return field;
}
