#include "contacts/csv_table.h"

namespace {

using Problem = ContactsRead::Problem;

QChar separatorOf(QStringView text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\r' || c == u'\n'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return semicolons > commas ? u';' : u',';
}

bool needsQuotes(QStringView field)
{
    for (const QChar c : field) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n' || c == u';')
            return true;
    }
    return false;
}

// How often a record asks whether to stop: a hostile record (millions of
// columns, one value of many megabytes) takes seconds on its own.
constexpr qsizetype kFieldsBetweenAsks = 1024;
constexpr qsizetype kCharsBetweenAsks = qsizetype(1) << 16;

// Reads one record from `pos`, counting the lines it spans.
class RecordReader
{
public:
    RecordReader(QStringView text, QChar separator, const StopRequest& stop)
        : m_text(text), m_separator(separator), m_stop(stop)
    {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }

    // False with `problem` set on a bad value.
    bool read(QStringList& fields, Problem& problem, int& problemLine)
    {
        fields.clear();
        for (;;) {
            QString value;
            const bool ok = atQuote() ? quoted(value, problem, problemLine)
                                      : plain(value, problem, problemLine);
            if (!ok)
                return false;
            fields << value;
            if (fields.size() % kFieldsBetweenAsks == 0 && stopped(problem, problemLine))
                return false;
            if (atEnd())
                return true;
            if (m_text[m_pos] == m_separator) {
                ++m_pos;
                continue;
            }
            skipLineBreak();
            return true;
        }
    }

    // Asked between records, and within one every so many values or characters.
    bool stopped(Problem& problem, int& problemLine) const
    {
        if (!m_stop || !m_stop())
            return false;
        problem = Problem::Stopped;
        problemLine = m_line;
        return true;
    }

private:
    bool atQuote() const { return !atEnd() && m_text[m_pos] == u'"'; }
    bool atRecordEnd() const
    {
        return atEnd() || m_text[m_pos] == m_separator || m_text[m_pos] == u'\r' ||
               m_text[m_pos] == u'\n';
    }

    void skipLineBreak()
    {
        if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    bool plain(QString& value, Problem& problem, int& problemLine)
    {
        const qsizetype start = m_pos;
        while (!atRecordEnd())
            ++m_pos;
        value = m_text.sliced(start, m_pos - start).toString();
        if (!value.contains(u'"'))
            return true;
        problem = Problem::QuoteInValue;
        problemLine = m_line;
        return false;
    }

    bool quoted(QString& value, Problem& problem, int& problemLine)
    {
        const int opened = m_line;
        ++m_pos;
        for (;;) {
            if (atEnd()) {
                problem = Problem::QuoteNotClosed;
                problemLine = opened;
                return false;
            }
            const QChar c = m_text[m_pos];
            if (c == u'"' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'"') {
                value += u'"';
                m_pos += 2;
            } else if (c == u'"') {
                ++m_pos;
                break;
            } else if (c == u'\r' || c == u'\n') {
                value += u'\n';
                skipLineBreak();
            } else {
                value += c;
                ++m_pos;
            }
            if (value.size() % kCharsBetweenAsks == 0 && stopped(problem, problemLine))
                return false;
        }
        if (atRecordEnd())
            return true;
        problem = Problem::TextAfterQuote;
        problemLine = m_line;
        return false;
    }

    QStringView m_text;
    QChar m_separator;
    const StopRequest& m_stop;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

CsvTable::Parsed CsvTable::parse(QStringView text, const StopRequest& stop)
{
    Parsed parsed;
    RecordReader reader(text, separatorOf(text), stop);
    while (!reader.atEnd()) {
        Row row;
        row.line = reader.line();
        if (reader.stopped(parsed.problem, parsed.line) ||
            !reader.read(row.fields, parsed.problem, parsed.line)) {
            parsed.rows.clear();
            return parsed;
        }
        if (row.fields.size() > 1 || !row.fields.constFirst().isEmpty())
            parsed.rows.push_back(std::move(row));
    }
    return parsed;
}

void CsvTable::appendRow(QString& out, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        const QString& field = fields[i];
        if (!needsQuotes(field)) {
            out += field;
            continue;
        }
        out += u'"';
        for (const QChar c : field) {
            if (c == u'"')
                out += u'"';
            out += c;
        }
        out += u'"';
    }
    out += QLatin1StringView("\r\n");
}
