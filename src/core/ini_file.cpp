#include "core/ini_file.h"

#include "core/bounded_file.h"
#include "core/code_page.h"

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");

class LineReader
{
public:
    explicit LineReader(QByteArrayView content) : m_content(content)
    {
        m_utf8 = m_content.startsWith(utf8Bom);
        if (m_utf8)
            m_position = utf8Bom.size();
    }

    bool next(QByteArrayView& line)
    {
        if (m_position >= m_content.size())
            return false;
        qsizetype end = m_content.indexOf('\n', m_position);
        if (end < 0)
            end = m_content.size();
        line = m_content.sliced(m_position, end - m_position).trimmed();
        m_position = end + 1;
        return true;
    }

    QString decode(QByteArrayView bytes) const
    {
        return m_utf8 ? QString::fromUtf8(bytes) : CodePage::decode(bytes);
    }

private:
    QByteArrayView m_content;
    qsizetype m_position = 0;
    bool m_utf8 = false;
};

QString withoutEnclosingQuotes(const QString& value)
{
    if (value.size() < 2)
        return value;
    const QChar first = value.front();
    if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
        return value.mid(1, value.size() - 2);
    return value;
}

bool sameName(const QString& a, QStringView b)
{
    return QStringView(a).compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString IniFile::readString(const QString& path, QStringView section, QStringView key,
                            const QString& defaultValue)
{
    return read(path, section, key).value_or(trimSpaces(defaultValue.left(maxValueLength)));
}

std::optional<QString> IniFile::read(const QString& path, QStringView section, QStringView key)
{
    // A translation is well under a megabyte; a larger file reads as missing.
    constexpr qint64 maxFileBytes = qint64(16) << 20;
    const BoundedFile::Result file = BoundedFile::read(path, maxFileBytes);
    if (!file.bytes)
        return std::nullopt;
    const std::optional<QString> value = findValue(*file.bytes, section, key);
    if (!value)
        return std::nullopt;
    return trimSpaces(value->left(maxValueLength));
}

std::optional<QString> IniFile::findValue(QByteArrayView content, QStringView section,
                                          QStringView key)
{
    LineReader reader(content);
    bool inSection = false;
    QByteArrayView line;
    while (reader.next(line)) {
        if (line.startsWith('[')) {
            // Only the first section of that name is searched.
            if (inSection)
                return std::nullopt;
            qsizetype close = line.indexOf(']');
            if (close < 0)
                close = line.size();
            inSection = sameName(reader.decode(line.sliced(1, close - 1)).trimmed(), section);
            continue;
        }
        if (!inSection || line.startsWith(';'))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        if (sameName(reader.decode(line.first(equals)).trimmed(), key))
            return withoutEnclosingQuotes(reader.decode(line.sliced(equals + 1)).trimmed());
    }
    return std::nullopt;
}

QString IniFile::trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
