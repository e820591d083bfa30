#include "document/data_file.h"

#include "core/code_page.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr int kOverflow = 6;

AppError pastEnd(const char* detail = "")
{
    return {AppError::InputPastEndOfFile,
            QStringLiteral("Input past end of file") + QLatin1String(detail)};
}

// One forward pass over the file bytes. Fields are cut out as byte ranges,
// decoded later and only where wanted, so a large book costs one copy of its
// text and one page costs one page.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_begin(bytes.data()), m_pos(bytes.data()), m_end(bytes.data() + bytes.size())
    {}

    bool readCount(int& count)
    {
        skipBlanks();
        if (m_pos == m_end)
            return fail(pastEnd());
        const std::optional<qint64> value = readNumber();
        skipBlanks();
        if (!value || (m_pos < m_end && *m_pos != '\r' && *m_pos != '\n'))
            return fail(
                {AppError::TypeMismatch, "Type mismatch: the first line is not a page count"});
        if (*value < 1)
            return fail({AppError::InvalidCountOfSections, "Invalid count of sections"});
        if (*value > DataFile::MaxPages)
            return fail({kOverflow, QStringLiteral("Overflow: the first line gives more pages "
                                                   "than the %1 a book can hold")
                                        .arg(DataFile::MaxPages)});
        count = static_cast<int>(*value);
        skipLineEnd();
        return true;
    }

    // `quoteFree` tells whether the field surely holds no double quote, as a
    // quoted one never does.
    bool readField(QByteArrayView& out, bool* quoteFree = nullptr)
    {
        skipBlanks();
        if (m_pos == m_end)
            return fail(pastEnd());
        if (*m_pos == '"')
            return readQuoted(out);
        readUnquoted(out);
        if (quoteFree)
            *quoteFree = !out.contains('"');
        return true;
    }

    const char* position() const { return m_pos; }
    // Lines are counted only where one is reported: a book that reads well
    // costs no pass over its bytes for them.
    int lineAt(const char* pos) const
    {
        return 1 + static_cast<int>(std::count(m_begin, pos, '\n'));
    }
    size_t remaining() const { return static_cast<size_t>(m_end - m_pos); }

    // The line where something other than blank lines is left, or 0. A NUL
    // or an end-of-file mark there is what old editors left, not text.
    int trailingLine()
    {
        for (; m_pos < m_end; ++m_pos) {
            switch (*m_pos) {
            case '\n':
            case '\r':
            case ' ':
            case '\t':
            case '\0':
            case '\x1a':
                break;
            default:
                return lineAt(m_pos);
            }
        }
        return 0;
    }
    // The line is counted only when asked for: a part of a file that ends
    // inside a record costs no count of its lines.
    DataFile::Error error() const { return {m_error, lineAt(m_errorAt)}; }

private:
    // A signed decimal; values past any page count saturate instead of overflowing.
    std::optional<qint64> readNumber()
    {
        bool negative = false;
        if (*m_pos == '-' || *m_pos == '+')
            negative = *m_pos++ == '-';
        const char* digits = m_pos;
        qint64 value = 0;
        for (; m_pos < m_end && *m_pos >= '0' && *m_pos <= '9'; ++m_pos)
            value = std::min<qint64>(value * 10 + (*m_pos - '0'), qint64(1) << 40);
        if (m_pos == digits)
            return std::nullopt;
        return negative ? -value : value;
    }

    bool readQuoted(QByteArrayView& out)
    {
        const char* start = m_pos + 1;
        const auto* close = static_cast<const char*>(std::memchr(start, '"', m_end - start));
        if (!close)
            return fail(pastEnd(": a quoted field opened on this line is never closed"));
        out = QByteArrayView(start, close - start);
        m_pos = close + 1;
        skipToDelimiter();
        return true;
    }

    void readUnquoted(QByteArrayView& out)
    {
        const char* start = m_pos;
        while (m_pos < m_end && *m_pos != ',' && *m_pos != '\r' && *m_pos != '\n')
            ++m_pos;
        const char* stop = m_pos;
        while (stop > start && (stop[-1] == ' ' || stop[-1] == '\t'))
            --stop;
        out = QByteArrayView(start, stop - start);
        consumeDelimiter();
    }

    void skipToDelimiter()
    {
        while (m_pos < m_end && *m_pos != ',' && *m_pos != '\r' && *m_pos != '\n')
            ++m_pos;
        consumeDelimiter();
    }

    void consumeDelimiter()
    {
        if (m_pos == m_end)
            return;
        if (*m_pos == ',') {
            ++m_pos;
            return;
        }
        skipLineEnd();
    }

    void skipLineEnd()
    {
        if (m_pos < m_end && *m_pos == '\r')
            ++m_pos;
        if (m_pos < m_end && *m_pos == '\n')
            ++m_pos;
    }

    void skipBlanks()
    {
        while (m_pos < m_end && (*m_pos == ' ' || *m_pos == '\t'))
            ++m_pos;
    }

    bool fail(const AppError& error)
    {
        m_error = error;
        m_errorAt = m_pos;
        return false;
    }

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    AppError m_error;
    const char* m_errorAt = nullptr;
};

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

// Appends `text` in Windows-1251 with double quotes as two apostrophes;
// records the characters that have no code.
char* appendField(char* dst, const QString& text, QString& badChars)
{
    for (QChar ch : text) {
        if (ch == u'"') {
            *dst++ = '\'';
            *dst++ = '\'';
            continue;
        }
        // RTF is mostly ASCII, which Windows-1251 keeps as it is.
        if (ch.unicode() < 0x80) {
            *dst++ = static_cast<char>(ch.unicode());
            continue;
        }
        const int code = CodePage::encodeChar(ch);
        if (code < 0) {
            if (!badChars.contains(ch))
                badChars.append(ch);
            *dst++ = '?';
            continue;
        }
        *dst++ = static_cast<char>(code);
    }
    return dst;
}

// A text still as it was read is written back as its bytes, without being
// decoded; the file gives the same bytes for it either way.
bool storedBytesHold(const PageText& text)
{
    return text.isStored() && !text.storedAsUtf8() && text.storedQuoteFree();
}

qsizetype textSize(const PageText& text)
{
    return storedBytesHold(text) ? text.storedField().size() : text.text().size();
}

char* appendText(char* dst, const PageText& text, QString& badChars)
{
    if (!storedBytesHold(text))
        return appendField(dst, text, badChars);
    const QByteArrayView bytes = text.storedField();
    std::memcpy(dst, bytes.data(), size_t(bytes.size()));
    return dst + bytes.size();
}

constexpr std::array<const char16_t*, 14> kDefaultTitles = {u"АБ", u"ВГ", u"ДЕ", u"ЖЗ", u"ИК",
                                                            u"ЛМ", u"НО", u"ПР", u"СТ", u"УФ",
                                                            u"ХЦ", u"ЧШ", u"ЩЭ", u"ЮЯ"};

} // namespace

QString DataFile::Error::text() const
{
    return QStringLiteral("line %1: %2 (%3)")
        .arg(QString::number(line), error.description, QString::number(error.number));
}

namespace {

// A byte-order mark alone does not make a file UTF-8: an editor may have put
// one before Windows-1251 bytes. Such a file is read as Windows-1251 without
// the mark, so that every letter is kept and the book saves again; read as
// UTF-8, its letters would become U+FFFD in every later copy.
DataFile::Charset takeCharset(QByteArrayView& bytes)
{
    if (!bytes.startsWith(kUtf8Bom))
        return DataFile::Charset::Windows1251;
    bytes = bytes.sliced(kUtf8Bom.size());
    if (!CodePage::scanUtf8(bytes).valid())
        return DataFile::Charset::Windows1251;
    return DataFile::Charset::Utf8WithBom;
}

} // namespace

std::optional<int> DataFile::pageCountOf(QByteArrayView head)
{
    takeCharset(head);
    const qsizetype lineEnd = head.indexOf('\n');
    Reader reader(lineEnd < 0 ? head : head.first(lineEnd + 1));
    int count = 0;
    if (!reader.readCount(count))
        return std::nullopt;
    return count;
}

namespace {

// Reads the first `pages` records (all when 0) and keeps those from `keepFrom`
// (0-based) on.
// Reads the records of pages 1 to `pages` (all for 0) and hands those from
// `keepFrom` (0-based) on to `take`, after telling `reserve` how many at most
// are to come; the index holds none of them.
template <typename Reserve, typename Take>
DataFile::Index readRecords(QByteArrayView bytes, int pages, int keepFrom, Reserve reserve,
                            Take take)
{
    using Index = DataFile::Index;
    using Error = DataFile::Error;
    Index result;
    result.charset = takeCharset(bytes);
    Reader reader(bytes);
    int count = 0;
    if (!reader.readCount(count)) {
        result.error = reader.error();
        return result;
    }
    result.count = count;
    const int wanted = pages > 0 ? std::min(pages, count) : count;
    result.first = size_t(std::min(keepFrom, wanted));
    // The count line may promise more than the file holds; a record takes at
    // least five bytes, so never reserve beyond what the bytes can carry.
    reserve(std::min<size_t>(size_t(wanted) - result.first, reader.remaining() / 5 + 1));
    for (int i = 0; i < wanted; ++i) {
        DataFile::Record record;
        const char* titleAt = reader.position();
        if (!reader.readField(record.title) || !reader.readField(record.text, &record.quoteFree)) {
            result.error = reader.error();
            return result;
        }
        // A page without a title could not be shown nor written back.
        if (record.title.isEmpty() || record.title == "~") {
            result.error =
                Error{{AppError::TypeMismatch, "A page without a title"}, reader.lineAt(titleAt)};
            return result;
        }
        if (size_t(i) >= result.first)
            take(result, record);
    }
    if (wanted == count)
        result.trailingLine = reader.trailingLine();
    return result;
}

DataFile::Index indexRecords(QByteArrayView bytes, int pages, int keepFrom)
{
    std::vector<DataFile::Record> records;
    DataFile::Index result = readRecords(
        bytes, pages, keepFrom, [&records](size_t count) { records.reserve(count); },
        [&records](const DataFile::Index&, const DataFile::Record& record) {
            records.push_back(record);
        });
    if (result.ok())
        result.records = std::move(records);
    return result;
}

} // namespace

std::optional<int> DataFile::countLine(QByteArrayView head, qsizetype& length)
{
    if (head.startsWith(kUtf8Bom))
        return std::nullopt;
    const qsizetype lineEnd = head.indexOf('\n');
    if (lineEnd < 0)
        return std::nullopt;
    Reader reader(head);
    int count = 0;
    if (!reader.readCount(count))
        return std::nullopt;
    length = reader.position() - head.data();
    return count;
}

DataFile::Run DataFile::readRun(QByteArrayView bytes, bool atEnd, int most)
{
    Run run;
    Reader reader(bytes);
    for (; run.pages < most; ++run.pages) {
        Record record;
        const bool read =
            reader.readField(record.title) && reader.readField(record.text, &record.quoteFree);
        const qsizetype length = reader.position() - bytes.data();
        // A record read to the last byte might go on in bytes not yet read.
        if (!atEnd && (!read || length == bytes.size()))
            break;
        if (!read || record.title.isEmpty() || record.title == "~") {
            if (run.pages == 0)
                run.length = -1;
            break;
        }
        run.length = length;
        run.last = record;
    }
    return run;
}

DataFile::Index DataFile::index(QByteArrayView bytes)
{
    return indexRecords(bytes, 0, 0);
}

DataFile::Index DataFile::indexPage(QByteArrayView bytes, int page)
{
    return indexRecords(bytes, page, page - 1);
}

QString DataFile::decodeField(QByteArrayView bytes, Charset charset)
{
    // Only a hand-edited field can hold a double quote. It is read as the two
    // apostrophes it is written as, so that an apostrophe before it reads back
    // the same after a save.
    if (bytes.contains('"'))
        return decodeField(bytes.toByteArray().replace('"', "''"), charset);
    QString text =
        charset == Charset::Utf8WithBom ? QString::fromUtf8(bytes) : CodePage::decode(bytes);
    // Qt's search for a two-byte needle hashes every byte; this is a plain
    // compare and most fields hold no pair at all.
    const auto pair = [](QChar a, QChar b) { return a == u'\'' && b == u'\''; };
    if (std::adjacent_find(text.cbegin(), text.cend(), pair) != text.cend())
        text.replace(QLatin1String("''"), QLatin1String("\""));
    return text;
}

PageRecord DataFile::Index::page(size_t i) const
{
    return {decodeTitle(i), decodeField(record(i).text, charset), kindOf(i)};
}

PageRecord DataFile::Index::storedPage(size_t i, const StoredFile& file) const
{
    return storedPage(record(i), file);
}

PageRecord DataFile::Index::storedPage(const Record& stored, const StoredFile& file) const
{
    const bool textPage = stored.title.startsWith('~');
    return {decodeField(textPage ? stored.title.sliced(1) : stored.title, charset),
            storedText(stored, file), textPage ? PageRecord::TextPage : PageRecord::AddressPage};
}

PageText DataFile::Index::storedText(size_t i, const StoredFile& file) const
{
    return storedText(record(i), file);
}

PageText DataFile::Index::storedText(const Record& stored, const StoredFile& file) const
{
    return PageText::stored(file, stored.text, charset == Charset::Utf8WithBom, stored.quoteFree);
}

std::optional<QByteArrayView> DataFile::Index::windows1251Title(size_t i) const
{
    const QByteArrayView title = storedTitle(i);
    const auto quote = [](char a, char b) { return a == '"' || (a == '\'' && b == '\''); };
    if (charset != Charset::Windows1251 ||
        std::adjacent_find(title.begin(), title.end(), quote) != title.end() || title.endsWith('"'))
        return std::nullopt;
    return title;
}

QByteArrayView DataFile::Index::storedTitle(size_t i) const
{
    const QByteArrayView title = record(i).title;
    return title.startsWith('~') ? title.sliced(1) : title;
}

QString DataFile::Index::decodeTitle(size_t i) const
{
    return decodeField(storedTitle(i), charset);
}

DataFile::ParseResult DataFile::parse(QByteArrayView bytes)
{
    ParseResult result;
    const Index index = DataFile::index(bytes);
    result.error = index.error;
    result.trailingLine = index.trailingLine;
    result.charset = index.charset;
    result.pages.reserve(index.records.size());
    for (size_t i = 0; i < index.records.size(); ++i)
        result.pages.push_back(index.page(i));
    return result;
}

DataFile::ParseResult DataFile::parseInPlace(const QByteArray& bytes)
{
    // Page by page as the records are read: no index of them is made.
    ParseResult result;
    const StoredFile file(new StoredBytes(bytes));
    std::vector<PageRecord>& pages = result.pages;
    const Index index = readRecords(
        bytes, 0, 0,
        // One slot more: the book puts its unused page 0 in front without a copy.
        [&pages](size_t count) { pages.reserve(count + 1); },
        [&](const Index& read, const Record& record) {
            pages.push_back(read.storedPage(record, file));
        });
    result.error = index.error;
    result.trailingLine = index.trailingLine;
    result.charset = index.charset;
    if (!result.ok())
        pages.clear();
    return result;
}

namespace {

QString quoted(const QString& field)
{
    return QString(field).replace(u'"', QLatin1String("''"));
}

// Rescue copies only: every character kept, speed of no concern.
QByteArray encodeUtf8(std::span<const PageRecord> pages)
{
    QString text;
    qsizetype written = 0;
    for (const PageRecord& page : pages) {
        if (page.title.isEmpty())
            continue;
        ++written;
        const QString marker = page.kind == PageRecord::TextPage ? QStringLiteral("~") : QString();
        text += u'"' + marker + quoted(page.title) + QLatin1String("\",\"") + quoted(page.text) +
                QLatin1String("\"\r\n");
    }
    return kUtf8Bom.toByteArray() + QByteArray::number(written) + "\r\n" + text.toUtf8();
}

constexpr qsizetype kPartBytes = qsizetype(256) << 10;

// One buffer, written out whenever the next page might not fit.
DataFile::Encoded encodeWindows1251(std::span<const PageRecord> pages,
                                    const DataFile::PartWriter& write)
{
    DataFile::Encoded result;
    const auto written = std::count_if(
        pages.begin(), pages.end(), [](const PageRecord& page) { return !page.title.isEmpty(); });
    const QByteArray countLine = QByteArray::number(qsizetype(written)) + "\r\n";
    QByteArray buffer(std::max(kPartBytes, countLine.size()), Qt::Uninitialized);
    char* dst = std::copy(countLine.begin(), countLine.end(), buffer.data());
    int number = 0;
    for (const PageRecord& page : pages) {
        ++number;
        if (page.title.isEmpty())
            continue;
        const qsizetype bound = 2 * (page.title.size() + textSize(page.text)) + 8;
        if (dst - buffer.data() + bound > buffer.size()) {
            if (!write(QByteArrayView(buffer.data(), dst - buffer.data())))
                return result;
            if (bound > buffer.size())
                buffer.resize(bound);
            dst = buffer.data();
        }
        QString badChars;
        *dst++ = '"';
        if (page.kind == PageRecord::TextPage)
            *dst++ = '~';
        dst = appendField(dst, page.title, badChars);
        dst = std::copy_n("\",\"", 3, dst);
        dst = appendText(dst, page.text, badChars);
        dst = std::copy_n("\"\r\n", 3, dst);
        if (!badChars.isEmpty() && result.ok()) {
            result.badPage = number;
            result.badChars = badChars;
        }
    }
    write(QByteArrayView(buffer.data(), dst - buffer.data()));
    return result;
}

} // namespace

DataFile::Encoded DataFile::encode(std::span<const PageRecord> pages, Charset charset)
{
    QByteArray bytes;
    Encoded result = encodeInParts(
        pages,
        [&bytes](QByteArrayView part) {
            bytes += part;
            return true;
        },
        charset);
    result.bytes = std::move(bytes);
    return result;
}

DataFile::Encoded DataFile::encodeInParts(std::span<const PageRecord> pages,
                                          const PartWriter& write, Charset charset)
{
    if (charset == Charset::Utf8WithBom) {
        write(encodeUtf8(pages));
        return {};
    }
    return encodeWindows1251(pages, write);
}

QStringList DataFile::defaultTitles()
{
    QStringList titles;
    for (const char16_t* title : kDefaultTitles)
        titles << QString::fromUtf16(title);
    return titles;
}

std::vector<PageRecord> DataFile::defaultPages(const QStringList& titles)
{
    std::vector<PageRecord> pages;
    pages.reserve(static_cast<std::size_t>(titles.size()));
    for (const QString& title : titles)
        pages.push_back({title, QString(), PageRecord::AddressPage});
    return pages;
}

std::optional<DataFile::TitleProblem> DataFile::titleProblem(const QString& title)
{
    if (title.startsWith(u'~'))
        return TitleProblem::LeadingTilde;
    if (quoted(title).replace(QLatin1String("''"), QLatin1String("\"")) != title)
        return TitleProblem::Apostrophes;
    if (!CodePage::canEncode(title))
        return TitleProblem::NoCodePageChar;
    return std::nullopt;
}
