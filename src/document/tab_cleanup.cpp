#include "document/tab_cleanup.h"

#include "document/tab_runs.h"
#include "richtext/rtf_opening.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_symbol_fonts.h"
#include "richtext/rtf_tokenizer.h"
#include "richtext/rtf_writer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

using namespace std::string_view_literals;

struct Range
{
    int from;
    int to;
};

// Appends the surplus tabs of one block, in document positions, in ascending
// order. A line break typed with Shift+Enter stays inside its block, so it
// starts a line too. Pictures take no room in the plain text needsCollapse
// looks at, so they do not end the start of a line here either: both must
// agree on what would change.
void collectSurplusTabs(const QTextBlock& block, std::vector<Range>& ranges)
{
    const QString text = block.text();
    const int base = block.position();
    bool atLineStart = true;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) != u'\t') {
            const QChar ch = text.at(i);
            atLineStart = TabRuns::isLineBreak(ch) ||
                          (atLineStart && ch == QChar::ObjectReplacementCharacter);
            ++i;
            continue;
        }
        const qsizetype runStart = i;
        while (i < text.size() && text.at(i) == u'\t')
            ++i;
        const qsizetype keep = TabRuns::kept(atLineStart);
        if (i - runStart > keep)
            ranges.push_back(
                {base + static_cast<int>(runStart + keep), base + static_cast<int>(i)});
        atLineStart = false;
    }
}

// Follows the RTF source as RtfTokenizer splits it and tells whether two tabs
// could end up side by side in the text. A tab is safe once the token right
// after it (formatting words aside) is sure to put a character or a line
// break into the text whenever the tab itself got there: same group, same
// hidden state, no pending \u fallback. Whatever can place a tab away from
// its source (table cells, list numbers), join bytes into one character
// (double-byte code pages) or hide bytes from the tokenizer
// (\bin) makes the page a candidate outright.
template <typename View> class TabLook
{
public:
    explicit TabLook(View rtf) : m_rtf(rtf) {}

    bool mayNeedCollapse()
    {
        resumeAfterOpening();
        while (m_pos < m_rtf.size()) {
            if (m_openingKnown && !m_awaiting && !skipUneventful())
                break;
            const qsizetype start = m_pos;
            const Kind kind = next();
            if (kind == Kind::Candidate || (kind == Kind::Tab && m_openTab))
                return true;
            // The tables before the text hold names, which count here too.
            if ((kind == Kind::Tab || kind == Kind::Separator) && m_depth == 1)
                rememberOpening(start);
            step(kind);
        }
        return false;
    }

private:
    enum class Kind
    {
        Tab,       // puts a tab into the text
        Separator, // puts a character other than a tab, or a line break
        Format,    // changes nothing but the look of what follows
        Other,     // anything else: a group, a symbol, a word we do not follow
        Candidate  // a feature this look does not follow
    };

    void step(Kind kind)
    {
        if (kind == Kind::Tab) {
            m_openTab = true;
            m_awaiting = true;
            return;
        }
        if (kind == Kind::Separator && m_awaiting)
            m_openTab = false;
        if (kind != Kind::Format)
            m_awaiting = false;
    }

    // Stored bytes hold a double quote as two apostrophes; wherever either
    // stands, the bytes may read otherwise than the text they stand for.
    static constexpr bool Stored = std::is_same_v<View, QByteArrayView>;

    // Pages of one book open alike: the same tables and formatting before
    // the first character of their text. Until a tab this look keeps the
    // state it starts in, so the next stored page that opens with the same
    // bytes is looked at from there in that state.
    void resumeAfterOpening()
    {
        if constexpr (Stored) {
            const QByteArrayView opening = t_lastStoredOpening.bytes();
            if (!opening.isEmpty() && m_rtf.startsWith(opening)) {
                m_pos = opening.size();
                m_openingKnown = true;
                m_depth = 1;
            }
        }
    }

    // Remembers the bytes before `start`, where the first character or tab
    // stands, when the token before it cannot go on past it.
    void rememberOpening(qsizetype start)
    {
        if constexpr (Stored) {
            // Only where the look is still in the state it starts in.
            if (m_openingKnown || m_openTab || m_awaiting)
                return;
            m_openingKnown = true;
            const char before = start > 0 ? m_rtf[start - 1] : 0;
            if (before == ' ' || before == '{' || before == '}' || before == '\r' || before == '\n')
                t_lastStoredOpening.keep(m_rtf.first(start));
        }
    }

    bool storedQuoteAt(qsizetype i) const
    {
        return Stored && i + 1 < m_rtf.size() && at(i) == u'\'' && at(i + 1) == u'\'';
    }

    Kind next()
    {
        const char16_t ch = at(m_pos++);
        if (Stored && (ch == u'"' || storedQuoteAt(m_pos - 1)))
            return Kind::Candidate;
        switch (ch) {
        case u'\r':
        case u'\n':
            return Kind::Format; // skipped between tokens
        case u'{':
            ++m_depth;
            return Kind::Other;
        case u'}':
            --m_depth;
            return Kind::Other;
        case u'\\':
            return escape();
        case u'\t':
            return Kind::Tab;
        case 0:
            return Kind::Other; // dropped from the text
        default:
            skipText();
            return Kind::Separator;
        }
    }

    // Once the opening is behind and no tab waits on what follows it, only a
    // tab or a feature the look does not follow can change the answer:
    // letters, escaped or not, and braces are passed over here without a
    // token each. False at the end of the text.
    bool skipUneventful()
    {
        const qsizetype size = m_rtf.size();
        while (m_pos < size) {
            const char16_t ch = at(m_pos);
            if (ch == u'\\') {
                if (!isLetterEscape(m_pos))
                    return true;
                m_pos += 4;
                continue;
            }
            if (ch == u'\t' || ch == u'"' || ch == u'\'')
                return true;
            ++m_pos;
        }
        return false;
    }

    // "\'hh" with both digits, for a byte other than a tab.
    bool isLetterEscape(qsizetype i) const
    {
        if (i + 3 >= m_rtf.size() || at(i + 1) != u'\'')
            return false;
        const int high = hexValue(at(i + 2));
        const int low = hexValue(at(i + 3));
        return high >= 0 && low >= 0 && high * 16 + low != '\t';
    }

    // The rest of a run of text says no more than its first character.
    void skipText()
    {
        while (m_pos < m_rtf.size() && !endsText(at(m_pos)))
            ++m_pos;
    }

    static bool endsText(char16_t ch)
    {
        return ch == u'\\' || ch == u'{' || ch == u'}' || ch == u'\r' || ch == u'\n' ||
               ch == u'\t' || ch == 0 || (Stored && (ch == u'\'' || ch == u'"'));
    }

    Kind escape()
    {
        if (m_pos >= m_rtf.size())
            return Kind::Other;
        const char16_t ch = at(m_pos);
        if (isLetter(ch))
            return word();
        if (Stored && (ch == u'"' || storedQuoteAt(m_pos)))
            return Kind::Candidate;
        ++m_pos;
        if (ch == u'\'')
            return hexByte();
        return Kind::Other;
    }

    Kind hexByte()
    {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_rtf.size() && hexValue(at(m_pos)) >= 0) {
            value = value * 16 + hexValue(at(m_pos++));
            ++digits;
        }
        if (digits == 0)
            return Kind::Other;
        if (value == '\t')
            return Kind::Tab;
        const bool dropped = value == 0 || value == '\r' || value == '\n';
        return dropped ? Kind::Other : Kind::Separator;
    }

    Kind word()
    {
        const qsizetype nameStart = m_pos;
        while (m_pos < m_rtf.size() && isLetter(at(m_pos)))
            ++m_pos;
        const std::u16string_view name = nameAt(nameStart, m_pos - nameStart);
        const std::optional<int> param = readParam();
        if (m_pos < m_rtf.size() && at(m_pos) == u' ')
            ++m_pos;
        return wordKind(name, param);
    }

    std::optional<int> readParam()
    {
        const bool negative =
            m_pos + 1 < m_rtf.size() && at(m_pos) == u'-' && isDigit(at(m_pos + 1));
        if (negative)
            ++m_pos;
        if (m_pos >= m_rtf.size() || !isDigit(at(m_pos)))
            return std::nullopt;
        constexpr qint64 limit = std::numeric_limits<int>::max();
        qint64 value = 0;
        for (; m_pos < m_rtf.size() && isDigit(at(m_pos)); ++m_pos)
            value = std::min(limit + 1, value * 10 + (at(m_pos) - u'0'));
        return negative ? static_cast<int>(-value) : static_cast<int>(std::min(value, limit));
    }

    static Kind wordKind(std::u16string_view name, std::optional<int> param)
    {
        if (name == u"tab"sv)
            return Kind::Tab;
        if (isOneOf(name, kBreaks))
            return Kind::Separator;
        if (isOneOf(name, kFormats))
            return Kind::Format;
        if (isOneOf(name, kNotFollowed))
            return Kind::Candidate;
        const int p = param.value_or(0);
        if (name == u"u"sv && isUnicodeTab(p < 0 ? p + 0x10000 : p))
            return Kind::Candidate;
        if (name == u"ansicpg"sv && isOneOf(p, kDoubleByteCodePages))
            return Kind::Candidate;
        if (name == u"fcharset"sv && isOneOf(p, kCharsetsNotFollowed))
            return Kind::Candidate;
        return Kind::Other;
    }

    template <typename Value, size_t N>
    static bool isOneOf(Value value, const std::array<Value, N>& set)
    {
        return std::find(set.begin(), set.end(), value) != set.end();
    }

    static bool isLetter(char16_t ch)
    {
        return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
    }
    // A symbol font shows its private-use characters as its bytes.
    static bool isUnicodeTab(int code)
    {
        return code == '\t' || code == RtfSymbolFonts::PrivateUseBase + '\t';
    }
    static bool isDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }
    static int hexValue(char16_t ch)
    {
        return ch < 0x80 ? RtfTokenizer::hexDigitValue(char(ch)) : -1;
    }

    static constexpr std::array<std::u16string_view, 5> kBreaks = {u"par", u"page", u"sect",
                                                                   u"column", u"line"};
    // Character formatting that can neither hide text nor change its code page.
    static constexpr std::array<std::u16string_view, 9> kFormats = {
        u"b", u"i", u"ul", u"ulnone", u"strike", u"cf", u"highlight", u"fs", u"lang"};
    static constexpr std::array<std::u16string_view, 6> kNotFollowed = {
        u"bin", u"cpg", u"ls", u"pn", u"cell", u"nestcell"};
    static constexpr std::array<int, 5> kDoubleByteCodePages = {932, 936, 949, 950, 1361};
    static constexpr std::array<int, 5> kCharsetsNotFollowed = {128, 129, 130, 134, 136};

    // The RTF as characters, or as bytes whose ASCII is all this look follows.
    char16_t at(qsizetype i) const
    {
        if constexpr (std::is_same_v<View, QStringView>)
            return m_rtf[i].unicode();
        else
            return static_cast<unsigned char>(m_rtf[i]);
    }
    std::u16string_view nameAt(qsizetype start, qsizetype length)
    {
        if constexpr (std::is_same_v<View, QStringView>) {
            return {m_rtf.utf16() + start, size_t(length)};
        } else {
            // No word this look knows is longer; a longer one is none of them.
            length = std::min<qsizetype>(length, qsizetype(m_name.size()));
            for (qsizetype i = 0; i < length; ++i)
                m_name[size_t(i)] = at(start + i);
            return {m_name.data(), size_t(length)};
        }
    }

    View m_rtf;
    std::array<char16_t, 16> m_name = {};
    qsizetype m_pos = 0;
    bool m_openTab = false;  // a tab not yet known to be followed by text
    bool m_awaiting = false; // only formatting has come since that tab
    bool m_openingKnown = false;
    int m_depth = 0; // of groups, as far as the braces tell
    static thread_local RtfOpening t_lastStoredOpening;
};

template <typename View> thread_local RtfOpening TabLook<View>::t_lastStoredOpening;

} // namespace

QString TabCleanup::clean(const QString& pageText)
{
    if (!mayNeedCollapse(pageText))
        return pageText;
    // A page with nothing to clean up is kept byte for byte, plain text too:
    // the editor shows it as it is, and a book opened and saved unchanged
    // keeps its bytes.
    if (!needsCollapse(pageText))
        return pageText;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(pageText, doc);
    collapseTabs(doc);
    return RtfWriter::writeString(doc);
}

void TabCleanup::collapseTabs(QTextDocument& doc)
{
    std::vector<Range> ranges;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        collectSurplusTabs(block, ranges);
    if (ranges.empty())
        return;
    // Deleting from the end keeps the positions of the ranges still to come valid.
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
        cursor.setPosition(it->from);
        cursor.setPosition(it->to, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
}

bool TabCleanup::needsCollapse(const QString& pageText)
{
    return TabRuns::hasSurplus(RtfPlainText::extract(pageText));
}

bool TabCleanup::mayNeedCollapse(const QString& pageText)
{
    if (!RtfParser::isRtf(QStringView(pageText)))
        return true;
    return TabLook<QStringView>(pageText).mayNeedCollapse();
}

// The look follows ASCII only, and Windows-1251 keeps ASCII as it is: every
// other byte is text to it whatever letter it stands for, so it reads the
// stored bytes as they are. Only a stored double quote ("''") reads
// differently, so the look stops at the first it meets: a candidate.
bool TabCleanup::mayNeedCollapseStored(QByteArrayView storedText)
{
    if (!RtfParser::isRtf(storedText))
        return true;
    return TabLook<QByteArrayView>(storedText).mayNeedCollapse();
}
