#include "document/stored_text_filter.h"

#include "core/code_page.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_tokenizer.h"
#include "richtext/text_finder.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr int kCyrillicCharset = 204;
constexpr int kCyrillicCodePage = 1251;

bool isLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// One pass over the stored bytes: which anchors their text may hold, and
// whether they leave Windows-1251 or make text of their own.
class Scan
{
public:
    using Checkpoint = StoredTextFilter::Checkpoint;
    using Checkpoints = StoredTextFilter::Checkpoints;
    // Bytes a token may look at past its end before it ends.
    static constexpr qsizetype kPeek = 8;

    explicit Scan(QByteArrayView bytes)
        : m_begin(bytes.data()), m_pos(bytes.data()), m_end(bytes.data() + bytes.size())
    {}

    // `points` were taken on a page whose first `sameBytes` bytes are these;
    // the look goes on from the last of them those bytes vouch for, and
    // leaves this page's own.
    template <typename ByteAnchors, typename UnicodeAnchors>
    quint32 run(const ByteAnchors& byteAnchors, const UnicodeAnchors& unicodeAnchors,
                Checkpoints& points, qsizetype sameBytes)
    {
        quint32 found = 0;
        size_t next = 0;
        for (size_t i = points.size(); i-- > 0;) {
            if (points[i].at > 0 && points[i].at + kPeek <= sameBytes) {
                found = resume(points[i]);
                next = i + 1;
                break;
            }
        }
        while (m_pos < m_end) {
            if (next < points.size() &&
                m_pos - m_begin >= qsizetype(next + 1) * StoredTextFilter::kCheckpointBytes)
                points[next++] = checkpoint(found);
            const auto byte = static_cast<unsigned char>(*m_pos++);
            if (byte != '\\') {
                found |= byteAnchors[byte];
                passHeader(byte);
                continue;
            }
            if (m_pos == m_end)
                break;
            if (*m_pos == '\'') {
                m_inHeader = false;
                found |= hexEscape(byteAnchors);
                continue;
            }
            if (!isLetter(*m_pos)) {
                // A control symbol: a space, a dash or a quote, or the byte itself.
                m_inHeader = false;
                found |= byteAnchors[static_cast<unsigned char>(*m_pos++)];
                continue;
            }
            const std::string_view name = word();
            if (name == "u"sv) {
                m_inHeader = false;
                if (m_hasParam)
                    found |= unicodeAnchors(m_param < 0 ? m_param + 0x10000 : m_param);
            } else if (leavesCodePage(name)) {
                m_risky = true;
            }
        }
        for (; next < points.size(); ++next)
            points[next] = {};
        return found;
    }

    // Text the plain text may hold beyond what the bytes spell in
    // Windows-1251: another code page, a symbol font, list numbers, note
    // marks, fields.
    bool risky() const { return m_risky || !m_codePageSeen; }

private:
    Checkpoint checkpoint(quint32 found) const
    {
        return {m_pos - m_begin, found, m_risky, m_codePageSeen, m_opened, m_inHeader};
    }

    quint32 resume(const Checkpoint& point)
    {
        m_pos = m_begin + point.at;
        m_risky = point.risky;
        m_codePageSeen = point.codePageSeen;
        m_opened = point.opened;
        m_inHeader = point.inHeader;
        return point.found;
    }

    template <typename ByteAnchors> quint32 hexEscape(const ByteAnchors& byteAnchors)
    {
        // Before the code page is named, an escape is read in another one.
        m_risky = m_risky || !m_codePageSeen;
        ++m_pos;
        int value = 0;
        int digits = 0;
        for (; digits < 2 && m_pos < m_end && RtfTokenizer::hexDigitValue(*m_pos) >= 0; ++digits)
            value = value * 16 + RtfTokenizer::hexDigitValue(*m_pos++);
        return digits > 0 ? byteAnchors[value] : 0;
    }

    std::string_view word()
    {
        const char* start = m_pos;
        while (m_pos < m_end && isLetter(*m_pos))
            ++m_pos;
        const std::string_view name(start, size_t(m_pos - start));
        const bool negative = m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1]);
        if (negative)
            ++m_pos;
        m_hasParam = m_pos < m_end && isDigit(*m_pos);
        qint64 value = 0;
        for (; m_pos < m_end && isDigit(*m_pos); ++m_pos)
            value = std::min<qint64>(value * 10 + (*m_pos - '0'), 1 << 30);
        m_param = int(negative ? -value : value);
        return name;
    }

    bool leavesCodePage(std::string_view name)
    {
        if (name == "ansicpg"sv) {
            // The reader takes the code page only where it stands in the text
            // itself, not in a group it skips, after "\*" or as the character
            // a \u stands for; in the header none of these can be, nor text.
            m_codePageSeen = m_codePageSeen || m_inHeader;
            return m_param != kCyrillicCodePage;
        }
        if (name == "fcharset"sv)
            return m_param != kCyrillicCharset;
        if (name == "cpg"sv)
            return m_param != kCyrillicCodePage;
        // A code page named after the one the text is in.
        if (name == "ansi"sv || name == "mac"sv || name == "pc"sv || name == "pca"sv)
            return m_codePageSeen;
        // A note puts its number in the text. Binary data may end in a
        // backslash that would swallow the text after it.
        return name == "ls"sv || name.starts_with("pn"sv) || name == "footnote"sv ||
               name == "fldinst"sv || name == "bin"sv;
    }

    // The header is the run of control words right after the document's
    // opening brace; anything else ends it.
    void passHeader(unsigned char byte)
    {
        const bool opening = byte == '{' && !m_opened;
        m_opened = m_opened || opening;
        m_inHeader = opening || (m_inHeader && (byte == ' ' || byte == '\r' || byte == '\n'));
    }

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    int m_param = 0;
    bool m_hasParam = false;
    bool m_risky = false;
    bool m_codePageSeen = false;
    bool m_opened = false;
    bool m_inHeader = false;
};

} // namespace

StoredTextFilter::StoredTextFilter(const QString& sample, int options)
    : m_matchCase(options & TextFinder::matchCase), m_yoAsYe(options & TextFinder::yoAsYe)
{
    // Digits of a telephone number may stand apart in the text; nothing is
    // ruled out for them.
    if (options & TextFinder::digitsOnly)
        return;
    for (const QChar ch : sample) {
        if (m_anchors.size() == kMaxAnchors || !ch.isLetterOrNumber() || ch.isSurrogate())
            continue;
        bool known = false;
        for (int i = 0; i < m_anchors.size(); ++i)
            known = known || matchesAnchor(ch.unicode(), i);
        if (!known)
            m_anchors += ch;
    }
    m_allAnchors = m_anchors.isEmpty() ? 0 : quint32((quint64(1) << m_anchors.size()) - 1);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t ch = CodePage::decodeByte(static_cast<unsigned char>(byte)).unicode();
        for (int i = 0; i < m_anchors.size(); ++i)
            m_byteAnchors[size_t(byte)] |= matchesAnchor(ch, i) ? quint32(1) << i : 0;
    }
}

QChar StoredTextFilter::folded(QChar ch) const
{
    if (m_yoAsYe && ch == u'ё')
        ch = u'е';
    else if (m_yoAsYe && ch == u'Ё')
        ch = u'Е';
    return m_matchCase ? ch : ch.toCaseFolded();
}

bool StoredTextFilter::matchesAnchor(char16_t ch, int anchor) const
{
    return folded(QChar(ch)) == folded(m_anchors.at(anchor));
}

bool StoredTextFilter::mayHold(QByteArrayView storedField) const
{
    if (m_allAnchors == 0)
        return true;
    // Plain text is its bytes, backslashes and all.
    if (!RtfParser::isRtf(storedField)) {
        quint32 found = 0;
        for (const char byte : storedField)
            found |= m_byteAnchors[static_cast<unsigned char>(byte)];
        return found == m_allAnchors;
    }
    // The pages of a book mostly open with the same bytes (the font and
    // colour tables): the look goes on from where the last page's look had
    // got to where the two still agree.
    const qsizetype same = sameOpening(storedField);
    m_opening.resize(std::min<qsizetype>(storedField.size(), kOpeningBytes));
    std::memcpy(m_opening.data(), storedField.data(), size_t(m_opening.size()));
    Scan scan(storedField);
    const auto unicodeAnchors = [this](int code) {
        quint32 found = 0;
        for (int i = 0; i < m_anchors.size(); ++i)
            found |= code >= 0 && code <= 0xFFFF && matchesAnchor(char16_t(code), i) ? 1u << i : 0;
        return found;
    };
    const quint32 found = scan.run(m_byteAnchors, unicodeAnchors, m_checkpoints, same);
    return found == m_allAnchors || scan.risky();
}

qsizetype StoredTextFilter::sameOpening(QByteArrayView storedField) const
{
    const qsizetype limit = std::min(storedField.size(), m_opening.size());
    qsizetype same = 0;
    for (quint64 a = 0, b = 0; same + qsizetype(sizeof a) <= limit; same += qsizetype(sizeof a)) {
        std::memcpy(&a, m_opening.constData() + same, sizeof a);
        std::memcpy(&b, storedField.data() + same, sizeof b);
        if (a != b)
            break;
    }
    while (same < limit && m_opening.at(same) == storedField.at(same))
        ++same;
    return same;
}
