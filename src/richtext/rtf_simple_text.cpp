#include "richtext/rtf_simple_text.h"

#include "core/code_page.h"
#include "richtext/rtf_symbol_fonts.h"
#include "richtext/rtf_tokenizer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr int kCyrillicCharset = 204;
constexpr int kCyrillicCodePage = 1251;

// Words that change only how text looks or where it sits, never what it is.
constexpr std::array kLookOnly = {
    "rtf"sv,      "ansi"sv,   "deff"sv,   "deflang"sv, "deflangfe"sv, "deftab"sv,
    "viewkind"sv, "uc"sv,     "pard"sv,   "plain"sv,   "b"sv,         "i"sv,
    "ul"sv,       "ulnone"sv, "strike"sv, "cf"sv,      "highlight"sv, "fs"sv,
    "f"sv,        "lang"sv,   "langfe"sv, "langnp"sv,  "langfenp"sv,  "tx"sv,
    "li"sv,       "ri"sv,     "fi"sv,     "ql"sv,      "qr"sv,        "qc"sv,
    "qj"sv,       "sa"sv,     "sb"sv,     "sl"sv,      "slmult"sv,    "nowidctlpar"sv,
    "widctlpar"sv};
// Groups that hold no text of the page.
constexpr std::array kNoText = {"colortbl"sv, "stylesheet"sv, "info"sv};
// Ignorable groups known to hold no text (others may: numbering, fields).
constexpr std::array kStarredNoText = {"fname"sv, "generator"sv, "panose"sv, "falt"sv};
constexpr std::array kFontWords = {"f"sv,       "fnil"sv,   "froman"sv, "fswiss"sv, "fmodern"sv,
                                   "fscript"sv, "fdecor"sv, "ftech"sv,  "fbidi"sv,  "fprq"sv};

template <size_t N> bool isOneOf(QByteArrayView word, const std::array<std::string_view, N>& set)
{
    const std::string_view name(word.data(), size_t(word.size()));
    return std::find(set.begin(), set.end(), name) != set.end();
}

class SimpleReader
{
public:
    explicit SimpleReader(QByteArrayView rtf) : m_tokens(rtf) { m_text.reserve(rtf.size() / 4); }

    std::optional<QString> read()
    {
        if (next().kind != RtfToken::Kind::GroupStart)
            return std::nullopt;
        int depth = 1;
        while (depth > 0) {
            const RtfToken token = next();
            switch (token.kind) {
            case RtfToken::Kind::GroupStart: {
                const Group group = openGroup();
                if (group == Group::Unreadable)
                    return std::nullopt;
                depth += group == Group::Entered ? 1 : 0;
                break;
            }
            case RtfToken::Kind::GroupEnd:
                --depth;
                break;
            case RtfToken::Kind::Word:
                if (!word(token))
                    return std::nullopt;
                break;
            case RtfToken::Kind::Symbol:
                if (token.symbol != '\\' && token.symbol != '{' && token.symbol != '}')
                    return std::nullopt;
                append(QChar(token.symbol));
                break;
            case RtfToken::Kind::HexByte:
                if (token.byte < 0x20)
                    return std::nullopt;
                append(CodePage::decodeByte(token.byte));
                break;
            case RtfToken::Kind::Text:
                if (!text(token.text))
                    return std::nullopt;
                break;
            default:
                return std::nullopt;
            }
        }
        if (!m_codePageKnown || !restIsBlank())
            return std::nullopt;
        return std::move(m_text);
    }

private:
    RtfToken next()
    {
        if (!m_pushed)
            return m_tokens.next();
        const RtfToken token = *m_pushed;
        m_pushed.reset();
        return token;
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
        if (first.kind == RtfToken::Kind::Word && first.text == "fonttbl")
            return fontTable() ? Group::PassedOver : Group::Unreadable;
        m_pushed = first;
        return Group::Entered;
    }

    // A starred group known to hold no text is passed over (true); any other
    // starred group fails the reader.
    bool skippedStarred()
    {
        const RtfToken star = next();
        if (star.kind != RtfToken::Kind::Symbol || star.symbol != '*') {
            m_pushed = star;
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
        if (token.text == "f") {
            if (!closeFont())
                return false;
            m_fontOpen = true;
            m_charsetPending = true;
            return true;
        }
        if (token.text == "fcharset") {
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
        if (token.text == "par") {
            if (m_pendingBreak)
                m_text += QLatin1StringView("\r\n");
            m_pendingBreak = true;
            return true;
        }
        if (token.text == "tab") {
            append(u'\t');
            return true;
        }
        if (token.text == "ansicpg") {
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
        m_text += CodePage::decode(bytes);
        return true;
    }

    void append(QChar ch)
    {
        landBreak();
        m_text += ch;
    }

    // A separator from \par lands only when content follows it, so the final
    // \par the rich-edit control writes adds no empty line.
    void landBreak()
    {
        if (!m_pendingBreak)
            return;
        m_pendingBreak = false;
        m_text += QLatin1StringView("\r\n");
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
    std::optional<RtfToken> m_pushed;
    QString m_text;
    QByteArray m_fontName;
    bool m_fontOpen = false;
    bool m_failed = false;
    bool m_pendingBreak = false;
    bool m_charsetPending = false;
    bool m_codePageKnown = false;
};

} // namespace

std::optional<QString> RtfSimpleText::extract(QByteArrayView rtf)
{
    return SimpleReader(rtf).read();
}
