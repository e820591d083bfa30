#include "core/sequential_file_reader.h"

#include "core/bounded_file.h"
#include "core/code_page.h"

#include <algorithm>

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';
constexpr char16_t kSpace = u' ';

bool isLineEndChar(QChar ch)
{
    return ch == u'\r' || ch == u'\n';
}

} // namespace

SequentialFileReader::SequentialFileReader(QString text) : m_text(std::move(text)) {}

QString SequentialFileReader::decode(QByteArrayView bytes)
{
    static constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Bom))
        return QString::fromUtf8(bytes.sliced(utf8Bom.size()));
    return CodePage::decode(bytes);
}

std::optional<QStringList> SequentialFileReader::readFields(const QString& path, qint64 maxBytes,
                                                            BoundedFile::Result* failure)
{
    BoundedFile::Result file = BoundedFile::read(path, maxBytes);
    if (!file.bytes) {
        if (failure)
            *failure = std::move(file);
        return std::nullopt;
    }
    SequentialFileReader reader(decode(*file.bytes));
    QStringList fields;
    while (!reader.atEnd())
        fields.append(reader.readField());
    return fields;
}

QString SequentialFileReader::readField()
{
    skipSpaces();
    if (atEnd())
        return QString();
    if (m_text.at(m_pos) == kQuote)
        return readQuoted();
    return readUnquoted();
}

QString SequentialFileReader::readLine()
{
    const qsizetype start = m_pos;
    while (!atEnd() && !isLineEnd())
        ++m_pos;
    const QString line = m_text.sliced(start, m_pos - start);
    takeLineEnd();
    return line;
}

QString SequentialFileReader::readQuoted()
{
    const qsizetype start = m_pos + 1;
    qsizetype end = m_text.indexOf(kQuote, start);
    if (end < 0)
        end = m_text.size();
    const QString field = m_text.sliced(start, end - start);
    m_pos = std::min(end + 1, m_text.size());
    skipSpaces();
    takeSeparator();
    return field;
}

QString SequentialFileReader::readUnquoted()
{
    const qsizetype start = m_pos;
    while (!atEnd() && m_text.at(m_pos) != kComma && !isLineEnd())
        ++m_pos;
    qsizetype end = m_pos;
    while (end > start && m_text.at(end - 1) == kSpace)
        --end;
    takeSeparator();
    return m_text.sliced(start, end - start);
}

void SequentialFileReader::skipSpaces()
{
    while (!atEnd() && m_text.at(m_pos) == kSpace)
        ++m_pos;
}

bool SequentialFileReader::isLineEnd() const
{
    return isLineEndChar(m_text.at(m_pos));
}

void SequentialFileReader::takeSeparator()
{
    if (atEnd())
        return;
    if (m_text.at(m_pos) == kComma)
        ++m_pos;
    else if (isLineEnd())
        takeLineEnd();
}

void SequentialFileReader::takeLineEnd()
{
    if (atEnd())
        return;
    const bool cr = m_text.at(m_pos) == u'\r';
    ++m_pos;
    if (cr && !atEnd() && m_text.at(m_pos) == u'\n')
        ++m_pos;
}
