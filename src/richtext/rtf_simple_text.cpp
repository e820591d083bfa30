#include "richtext/rtf_simple_text.h"

#include "core/code_page.h"
#include "richtext/rtf_opening.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_symbol_fonts.h"
#include "richtext/rtf_tokenizer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr int kCyrillicCharset = 204;
constexpr int kCyrillicCodePage = 1251;

// Words that change only how text looks or where it sits, never what it is;
// those a page's text is full of first.
constexpr std::array kLookOnly = {
    "pard"sv,     "tx"sv,        "cf"sv,       "f"sv,        "fs"sv,        "b"sv,
    "i"sv,        "ul"sv,        "ulnone"sv,   "plain"sv,    "li"sv,        "fi"sv,
    "ri"sv,       "ql"sv,        "qr"sv,       "qc"sv,       "qj"sv,        "sa"sv,
    "sb"sv,       "sl"sv,        "slmult"sv,   "strike"sv,   "highlight"sv, "lang"sv,
    "langfe"sv,   "langnp"sv,    "langfenp"sv, "rtf"sv,      "ansi"sv,      "deff"sv,
    "deflang"sv,  "deflangfe"sv, "deftab"sv,   "viewkind"sv, "uc"sv,        "nowidctlpar"sv,
    "widctlpar"sv};
// Groups that hold no text of the page.
constexpr std::array kNoText = {"colortbl"sv, "stylesheet"sv, "info"sv};
// Ignorable groups known to hold no text (others may: numbering, fields).
constexpr std::array kStarredNoText = {"fname"sv, "generator"sv, "panose"sv, "falt"sv};
constexpr std::array kFontWords = {"f"sv,       "fnil"sv,   "froman"sv, "fswiss"sv, "fmodern"sv,
                                   "fscript"sv, "fdecor"sv, "ftech"sv,  "fbidi"sv,  "fprq"sv};

bool is(QByteArrayView word, std::string_view name)
{
    return std::string_view(word.data(), size_t(word.size())) == name;
}

template <size_t N> bool isOneOf(QByteArrayView word, const std::array<std::string_view, N>& set)
{
    // The first letter first: most names differ there.
    const std::string_view name(word.data(), size_t(word.size()));
    return !name.empty() && std::any_of(set.begin(), set.end(), [name](std::string_view known) {
        return known.front() == name.front() && known == name;
    });
}

// Where the reader puts the text: characters, or the Windows-1251 bytes
// themselves, which every font of a page it reads stands for.
struct CharactersOut
{
    QString& text;
    void append(char ascii) { text += QLatin1Char(ascii); }
    void appendByte(unsigned char byte) { text += CodePage::decodeByte(byte); }
    void appendBytes(QByteArrayView bytes) { text += CodePage::decode(bytes); }
};

// Writes straight into room made beforehand: no byte of text takes fewer
// bytes of RTF than it gives.
struct BytesOut
{
    char* at;
    void append(char ascii) { *at++ = ascii; }
    void appendByte(unsigned char byte) { *at++ = char(byte); }
    void appendBytes(QByteArrayView bytes)
    {
        std::memcpy(at, bytes.data(), size_t(bytes.size()));
        at += bytes.size();
    }
};

// Pages the same control writes open alike: the same font and colour tables
// and formatting before their first letter. What the reader knows when it
// reaches that letter follows from the bytes before it alone, so the next
// page that opens with the same bytes goes on from there.
struct Opening
{
    RtfOpening bytes;
    int depth = 0;
    bool codePageKnown = false;
};
thread_local Opening t_lastOpening;

// A token that starts after one of these bytes starts there whatever comes
// next; after a word without its space, the word might go on.
bool endsAToken(char byte)
{
    return byte == ' ' || byte == '{' || byte == '}' || byte == '\r' || byte == '\n';
}

template <typename Out> class SimpleReader
{
public:
    SimpleReader(QByteArrayView rtf, Out out) : m_tokens(rtf), m_out(out) {}
    const Out& out() const { return m_out; }

    // Appends the text to the output; false when the page is not of the
    // plain kind, and then the output holds a part of it.
    bool read()
    {
        int depth = resumed();
        if (depth == 0) {
            if (next().kind != RtfToken::Kind::GroupStart)
                return false;
            depth = 1;
        }
        while (depth > 0) {
            // The letters of a Cyrillic page are mostly hex escapes: taken
            // here, without a token each.
            if (unsigned char byte = 0;
                m_openingKnown && !m_hasPushed && m_tokens.takeHexByte(byte)) {
                if (byte < 0x20)
                    return false;
                landBreak();
                m_out.appendByte(byte);
                continue;
            }
            const RtfToken token = next();
            // A letter before the code page is named reads in another one.
            if (showsText(token) && !m_codePageKnown)
                return false;
            if (!m_openingKnown && showsText(token))
                rememberOpening(token.offset, depth);
            switch (token.kind) {
            case RtfToken::Kind::GroupStart: {
                const Group group = openGroup();
                if (group == Group::Unreadable)
                    return false;
                depth += group == Group::Entered ? 1 : 0;
                break;
            }
            case RtfToken::Kind::GroupEnd:
                --depth;
                break;
            case RtfToken::Kind::Word:
                if (!word(token))
                    return false;
                break;
            case RtfToken::Kind::Symbol:
                if (token.symbol != '\\' && token.symbol != '{' && token.symbol != '}')
                    return false;
                append(token.symbol);
                break;
            case RtfToken::Kind::HexByte:
                if (token.byte < 0x20)
                    return false;
                landBreak();
                m_out.appendByte(token.byte);
                break;
            case RtfToken::Kind::Text:
                if (!text(token.text))
                    return false;
                break;
            default:
                return false;
            }
        }
        return m_codePageKnown && restIsBlank();
    }

private:
    // The depth to go on at after the last page's opening, or 0 to read from
    // the start.
    int resumed()
    {
        const Opening& last = t_lastOpening;
        if (last.bytes.isEmpty() || !m_tokens.input().startsWith(last.bytes.bytes()))
            return 0;
        m_tokens = RtfTokenizer(m_tokens.input(), last.bytes.bytes().size());
        m_codePageKnown = last.codePageKnown;
        m_openingKnown = true;
        return last.depth;
    }

    static bool showsText(const RtfToken& token)
    {
        switch (token.kind) {
        case RtfToken::Kind::Symbol:
        case RtfToken::Kind::HexByte:
        case RtfToken::Kind::Text:
            return true;
        case RtfToken::Kind::Word:
            return is(token.text, "par"sv) || is(token.text, "tab"sv);
        default:
            return false;
        }
    }

    void rememberOpening(qsizetype offset, int depth)
    {
        m_openingKnown = true;
        const QByteArrayView input = m_tokens.input();
        if (offset == 0 || !endsAToken(input.at(offset - 1)) || m_failed)
            return;
        t_lastOpening.bytes.keep(input.first(offset));
        t_lastOpening.depth = depth;
        t_lastOpening.codePageKnown = m_codePageKnown;
    }

    RtfToken next()
    {
        if (!m_hasPushed)
            return m_tokens.next();
        m_hasPushed = false;
        return m_pushed;
    }

    void pushBack(const RtfToken& token)
    {
        m_pushed = token;
        m_hasPushed = true;
    }

    enum class Group
    {
        Entered,
        PassedOver, // read to its closing brace
        Unreadable
    };

    // A group that holds no text is passed over whole; the font table is
    // read for its code pages.
    Group openGroup()
    {
        if (skippedStarred())
            return Group::PassedOver;
        if (m_failed)
            return Group::Unreadable;
        const RtfToken first = next();
        if (first.kind == RtfToken::Kind::Word && isOneOf(first.text, kNoText)) {
            m_tokens.skipGroup();
            return Group::PassedOver;
        }
        if (first.kind == RtfToken::Kind::Word && is(first.text, "fonttbl"sv))
            return fontTable() ? Group::PassedOver : Group::Unreadable;
        pushBack(first);
        return Group::Entered;
    }

    // A starred group known to hold no text is passed over (true); any other
    // starred group fails the reader.
    bool skippedStarred()
    {
        const RtfToken star = next();
        if (star.kind != RtfToken::Kind::Symbol || star.symbol != '*') {
            pushBack(star);
            return false;
        }
        const RtfToken first = next();
        if (first.kind == RtfToken::Kind::Word && isOneOf(first.text, kStarredNoText)) {
            m_tokens.skipGroup();
            return true;
        }
        m_failed = true;
        return false;
    }

    // Every font must be a Cyrillic one that is no symbol font, so that each
    // byte of the text means its Windows-1251 letter whatever font it is in.
    bool fontTable()
    {
        int depth = 1;
        for (;;) {
            const RtfToken token = next();
            switch (token.kind) {
            case RtfToken::Kind::GroupStart:
                if (!skippedStarred() && !m_failed)
                    ++depth;
                break;
            case RtfToken::Kind::GroupEnd:
                if (!closeFont())
                    return false;
                if (--depth == 0)
                    return true;
                break;
            case RtfToken::Kind::Word:
                if (!fontWord(token))
                    return false;
                break;
            case RtfToken::Kind::Text:
                m_fontName += token.text.toByteArray();
                break;
            default:
                return false;
            }
            if (m_failed)
                return false;
        }
    }

    bool fontWord(const RtfToken& token)
    {
        if (is(token.text, "f"sv)) {
            if (!closeFont())
                return false;
            m_fontOpen = true;
            m_charsetPending = true;
            return true;
        }
        if (is(token.text, "fcharset"sv)) {
            m_charsetPending = false;
            return token.param == kCyrillicCharset;
        }
        return isOneOf(token.text, kFontWords);
    }

    bool closeFont()
    {
        if (!m_fontOpen)
            return true;
        m_fontOpen = false;
        if (m_charsetPending)
            return false;
        const qsizetype semicolon = m_fontName.indexOf(';');
        const QString face =
            QString::fromLatin1(semicolon < 0 ? m_fontName : m_fontName.first(semicolon)).trimmed();
        m_fontName.clear();
        return RtfSymbolFonts::table(face) == nullptr;
    }

    bool word(const RtfToken& token)
    {
        if (is(token.text, "par"sv)) {
            if (m_pendingBreak)
                appendBreak();
            m_pendingBreak = true;
            return true;
        }
        if (is(token.text, "tab"sv)) {
            append('\t');
            return true;
        }
        if (is(token.text, "ansicpg"sv)) {
            m_codePageKnown = token.param == kCyrillicCodePage;
            return m_codePageKnown;
        }
        return isOneOf(token.text, kLookOnly);
    }

    bool text(QByteArrayView bytes)
    {
        for (const char byte : bytes) {
            if (static_cast<unsigned char>(byte) < 0x20)
                return false;
        }
        landBreak();
        m_out.appendBytes(bytes);
        return true;
    }

    void append(char ascii)
    {
        landBreak();
        m_out.append(ascii);
    }

    void appendBreak()
    {
        m_out.append('\r');
        m_out.append('\n');
    }

    // A separator from \par lands only when content follows it, so the final
    // \par the rich-edit control writes adds no empty line.
    void landBreak()
    {
        if (!m_pendingBreak)
            return;
        m_pendingBreak = false;
        appendBreak();
    }

    // The control ended its RTF with a NUL; nothing else may follow.
    bool restIsBlank()
    {
        for (int byte = m_tokens.takeRawByte(); byte >= 0; byte = m_tokens.takeRawByte()) {
            if (byte != 0 && byte != '\r' && byte != '\n' && byte != ' ')
                return false;
        }
        return true;
    }

    RtfTokenizer m_tokens;
    // A token read ahead, given again by the next call of next().
    RtfToken m_pushed;
    bool m_hasPushed = false;
    Out m_out;
    QByteArray m_fontName;
    bool m_fontOpen = false;
    bool m_failed = false;
    bool m_openingKnown = false;
    bool m_pendingBreak = false;
    bool m_charsetPending = false;
    bool m_codePageKnown = false;
};

} // namespace

std::optional<QString> RtfSimpleText::extract(QByteArrayView rtf)
{
    QString text;
    text.reserve(rtf.size() / 4);
    if (!SimpleReader<CharactersOut>(rtf, {text}).read())
        return std::nullopt;
    return text;
}

bool RtfSimpleText::appendBytes(QByteArrayView rtf, QByteArray& out)
{
    if (!RtfParser::isRtf(rtf))
        return false;
    const qsizetype size = out.size();
    out.resize(size + rtf.size());
    SimpleReader<BytesOut> reader(rtf, {out.data() + size});
    const bool read = reader.read();
    out.truncate(read ? reader.out().at - out.constData() : size);
    return read;
}
