#include "richtext/rtf_parser.h"

#include "richtext/rtf_symbol_field.h"
#include "richtext/rtf_symbol_fonts.h"

#include <algorithm>

namespace {

bool isSpace(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Characters a document block cannot hold as text: they would become block
// separators or frame markers inside QTextDocument.
bool isDropped(char16_t ch)
{
    return ch == 0 || ch == '\r' || ch == '\n' || ch == QChar::ObjectReplacementCharacter ||
           ch == 0xFDD0 || ch == 0xFDD1 || ch == QChar::LineSeparator ||
           ch == QChar::ParagraphSeparator;
}

// Control characters and the table's separator have no place in a font name
// and could not be written back.
bool isFontNameChar(char16_t ch)
{
    return ch >= 0x20 && ch != ';' && !isDropped(ch);
}

int clampTwips(int value)
{
    return std::clamp(value, -RtfParser::MaxTwips, RtfParser::MaxTwips);
}

// Bytes RTF gives a meaning of their own; as the trail byte of a double-byte
// character they are escaped, or follow a raw lead byte as they are.
bool isEscapedByte(char c)
{
    return c == '\\' || c == '{' || c == '}';
}

// Word writes a symbol font's characters as \u with the font's byte in the
// private-use block, the way Windows keeps them.
bool isPrivateSymbol(char16_t ch)
{
    return ch >= RtfSymbolFonts::PrivateUseBase && ch <= RtfSymbolFonts::PrivateUseBase + 0xFF;
}

bool flagValue(const RtfToken& token)
{
    return !token.hasParam || token.param != 0;
}

// The list number format a note numbering word names; the words of each kind
// come in the order arabic, lower letter, upper letter, lower roman, upper roman.
int noteFormat(RtfWord word, RtfWord arabic)
{
    static constexpr int formats[] = {0, 4, 3, 2, 1};
    return formats[static_cast<int>(word) - static_cast<int>(arabic)];
}

} // namespace

RtfParser::RtfParser(QByteArrayView rtf, RtfContentSink& sink)
    : m_tokenizer(rtf.sliced(std::min(rtf.size(), std::max<qsizetype>(0, rtf.indexOf('{'))))),
      m_sink(sink)
{}

bool RtfParser::isRtf(QByteArrayView data)
{
    qsizetype i = 0;
    while (i < data.size() && isSpace(static_cast<unsigned char>(data[i])))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

bool RtfParser::isRtf(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isSpace(text[i].unicode()))
        ++i;
    return text.sliced(i).startsWith(u"{\\rtf");
}

void RtfParser::parse()
{
    RtfToken first = m_tokenizer.next();
    if (first.kind != RtfToken::Kind::GroupStart)
        return finish();
    m_groups.push_back(GroupState{});
    while (!m_ended) {
        RtfToken token = m_tokenizer.next();
        const bool starred = std::exchange(m_starPending, false);
        const bool groupStart = std::exchange(m_groupStart, false);
        if (!continuesDoubleByte(token))
            flushDoubleByte();
        if (m_skip > 0 && consumeSkipped(token))
            continue;
        handleToken(token, starred, groupStart);
        if (m_starPending)
            m_groupStart = groupStart;
    }
    finish();
}

// A character of a double-byte code page may be spread over several tokens:
// raw bytes, \'hh and, as its trail byte, an escaped \\, \{ or \}.
// A lead byte waits for its trail byte over group boundaries and words that
// only change the look of the text.
bool RtfParser::continuesDoubleByte(const RtfToken& token) const
{
    switch (token.kind) {
    case RtfToken::Kind::Text:
    case RtfToken::Kind::HexByte:
        return true;
    case RtfToken::Kind::Symbol:
        return m_trailExpected && (isEscapedByte(token.symbol) || token.symbol == '*');
    case RtfToken::Kind::GroupStart:
    case RtfToken::Kind::GroupEnd:
        return m_trailExpected;
    case RtfToken::Kind::Word:
        return m_trailExpected && leavesTextAlone(RtfControlWords::lookup(token.text));
    default:
        return false;
    }
}

bool RtfParser::leavesTextAlone(RtfWord word)
{
    switch (word) {
    case RtfWord::Unknown:
    case RtfWord::Plain:
    case RtfWord::Bold:
    case RtfWord::Italic:
    case RtfWord::Underline:
    case RtfWord::UnderlineNone:
    case RtfWord::Strike:
    case RtfWord::FontSize:
    case RtfWord::ColorIndex:
    case RtfWord::Highlight:
    case RtfWord::Font:
        return true;
    default:
        return false;
    }
}

// The fallback characters after \u: a text byte, \'hh, a control word or
// \bin each count as one; a group boundary ends the fallback.
bool RtfParser::consumeSkipped(RtfToken& token)
{
    switch (token.kind) {
    case RtfToken::Kind::End:
    case RtfToken::Kind::GroupStart:
    case RtfToken::Kind::GroupEnd:
        m_skip = 0;
        return false;
    case RtfToken::Kind::Text:
        if (token.text.size() <= m_skip) {
            m_skip -= static_cast<int>(token.text.size());
            return true;
        }
        token.text = token.text.sliced(m_skip);
        m_skip = 0;
        return false;
    default:
        --m_skip;
        return true;
    }
}

void RtfParser::handleToken(RtfToken& token, bool starred, bool groupStart)
{
    switch (token.kind) {
    case RtfToken::Kind::End:
        m_ended = true;
        break;
    case RtfToken::Kind::GroupStart:
        openGroup(token.offset);
        m_groupStart = true;
        break;
    case RtfToken::Kind::GroupEnd:
        m_ended = closeGroup(token.offset);
        break;
    case RtfToken::Kind::Word:
        handleWord(token, starred, groupStart);
        break;
    case RtfToken::Kind::Symbol:
        handleSymbol(token.symbol);
        break;
    case RtfToken::Kind::HexByte:
        handleByte(token.byte);
        break;
    case RtfToken::Kind::Text:
        handleText(token.text);
        break;
    case RtfToken::Kind::Binary:
        if (top().destination == Destination::Picture && m_overflow == 0)
            m_picture.data.append(token.text);
        break;
    }
}

void RtfParser::openGroup(qsizetype offset)
{
    m_skip = 0;
    if (top().destination == Destination::Picture && m_overflow == 0) {
        // Nothing inside a picture's subgroups is picture data.
        const qsizetype close = m_tokenizer.skipGroup();
        m_ended = close >= m_tokenizer.input().size();
        return;
    }
    if (m_groups.size() >= MaxDepth) {
        ++m_overflow;
        return;
    }
    GroupState state = top();
    state.start = offset;
    state.ownsPicture = false;
    state.nestedRowProperties = false;
    m_groups.push_back(std::move(state));
}

// True when the document's outermost group closes.
bool RtfParser::closeGroup(qsizetype offset)
{
    m_skip = 0;
    if (m_overflow > 0) {
        --m_overflow;
        return false;
    }
    if (m_groups.size() == 1)
        return true;
    const GroupState closed = std::move(m_groups.back());
    m_groups.pop_back();
    m_charsDirty = true;
    // A font entry ends with its own group, not with a subgroup such as \*\fname.
    if (closed.destination == Destination::FontTable && m_groups.size() < m_fontEntry.depth)
        commitFont();
    if (closed.ownsPicture)
        finishPicture(closed, offset);
    if (closed.nestedRowProperties && closed.contentAtStart == m_content)
        endNestedRow();
    while (!m_fields.empty() && m_fields.back().depth > m_groups.size())
        finishField();
    if (closed.destination != top().destination)
        endDestination(closed.destination);
    return false;
}

void RtfParser::skipCurrentGroup()
{
    const qsizetype close = m_tokenizer.skipGroup();
    if (close >= m_tokenizer.input().size()) {
        m_ended = true;
        return;
    }
    m_ended = closeGroup(close);
}

void RtfParser::finish()
{
    flushDoubleByte();
    if (m_groups.empty())
        return;
    if (!m_pendingBreak) {
        flushRun();
        m_sink.setBlockFormat(top().paragraph);
    }
}

void RtfParser::handleWord(const RtfToken& token, bool starred, bool groupStart)
{
    const RtfWord word = RtfControlWords::lookup(token.text);
    const bool destination =
        word == RtfWord::FontTable || word == RtfWord::ColorTable || word == RtfWord::Picture ||
        word == RtfWord::ShapePicture || word == RtfWord::NestedTableProperties ||
        word == RtfWord::ListTable || word == RtfWord::ListOverrideTable ||
        word == RtfWord::Footnote || word == RtfWord::FieldInstruction ||
        word == RtfWord::ParagraphNumbering || word == RtfWord::SkippedDestination;
    if (destination || starred) {
        // The outermost group is the document itself and is never skipped.
        if (m_groups.size() > 1 || m_overflow > 0)
            handleDestination(destination ? word : RtfWord::SkippedDestination, groupStart);
        return;
    }
    switch (top().destination) {
    case Destination::Text:
        handleTextWord(word, token);
        break;
    case Destination::FontTable:
        handleFontWord(word, token);
        break;
    case Destination::ColorTable:
        handleColorWord(word, token);
        break;
    case Destination::Picture:
        handlePictureWord(word, token);
        break;
    case Destination::FieldInstruction:
        if (word == RtfWord::Unicode)
            m_skip = top().unicodeSkip;
        break;
    case Destination::LegacyNumbering:
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter:
        handleLegacyNumberingWord(word, token);
        break;
    default:
        handleListWord(word, token);
        break;
    }
}

void RtfParser::handleDestination(RtfWord word, bool groupStart)
{
    GroupState& group = top();
    const bool inText = group.destination == Destination::Text && m_overflow == 0;
    if (word == RtfWord::ShapePicture && inText)
        return;
    // Some writers put a nested cell's text among its row's properties.
    if (word == RtfWord::NestedTableProperties && inText) {
        group.nestedRowProperties = true;
        group.contentAtStart = m_content;
        return;
    }
    if (word == RtfWord::FieldInstruction && inText && !m_fields.empty() &&
        m_fields.back().depth + 1 == m_groups.size()) {
        group.destination = Destination::FieldInstruction;
        return;
    }
    if (word == RtfWord::ParagraphNumbering && inText) {
        group.destination = Destination::LegacyNumbering;
        m_legacyDefinition = RtfLegacyNumbering::Definition{};
        m_legacyFont = -1;
        m_legacyBefore.clear();
        m_legacyAfter.clear();
        return;
    }
    if (word == RtfWord::Footnote && inText)
        appendNoteMark();
    if (word == RtfWord::ListTable && inText) {
        group.destination = Destination::ListTable;
        return;
    }
    if (word == RtfWord::ListOverrideTable && inText) {
        group.destination = Destination::ListOverrideTable;
        return;
    }
    if (word == RtfWord::FontTable && inText) {
        group.destination = Destination::FontTable;
        m_fontEntry = FontEntry{};
        return;
    }
    if (word == RtfWord::ColorTable && inText) {
        group.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorEntry = ColorEntry{};
        invalidateTables();
        return;
    }
    // A picture is kept as its group's source, so the group must be nothing
    // but the picture; one that began as something else is dropped.
    if (word == RtfWord::Picture && inText && groupStart) {
        group.destination = Destination::Picture;
        group.ownsPicture = true;
        m_picture = RtfPictureData{};
        m_pictureNibble = -1;
        return;
    }
    skipCurrentGroup();
}

void RtfParser::handleTextWord(RtfWord word, const RtfToken& token)
{
    if (handleCharacterWord(word, token) || handleParagraphWord(word, token) ||
        handleSpecialCharacter(word) || handleNoteWord(word, token))
        return;
    const int p = token.param;
    switch (word) {
    case RtfWord::Ansi:
        m_ansiCodePage = RtfCodePages::Default;
        break;
    case RtfWord::Mac:
        m_ansiCodePage = 10000;
        break;
    case RtfWord::Pc:
        m_ansiCodePage = 437;
        break;
    case RtfWord::Pca:
        m_ansiCodePage = 850;
        break;
    case RtfWord::AnsiCodePage:
        if (token.hasParam && p > 0 && p <= 0xFFFF)
            m_ansiCodePage = p;
        break;
    case RtfWord::DefaultFont:
        m_defaultFont = token.hasParam ? p : 0;
        break;
    case RtfWord::UnicodeSkip:
        top().unicodeSkip = token.hasParam ? std::clamp(p, 0, MaxUnicodeSkip) : 1;
        return;
    case RtfWord::Unicode:
        handleUnicode(token);
        return;
    case RtfWord::ListOverrideIndex:
        top().list = std::max(0, p);
        return;
    case RtfWord::ListLevelIndex:
        top().listLevel = std::clamp(p, 0, RtfListTable::Levels - 1);
        return;
    default:
        return;
    }
    invalidateTables();
}

bool RtfParser::handleCharacterWord(RtfWord word, const RtfToken& token)
{
    CharState& chars = top().chars;
    const int p = token.param;
    switch (word) {
    case RtfWord::Plain:
        chars = CharState{};
        break;
    case RtfWord::Bold:
        chars.bold = flagValue(token);
        break;
    case RtfWord::Italic:
        chars.italic = flagValue(token);
        break;
    case RtfWord::Underline:
        chars.underline = flagValue(token);
        break;
    case RtfWord::UnderlineNone:
        chars.underline = false;
        break;
    case RtfWord::Strike:
        chars.strike = flagValue(token);
        break;
    case RtfWord::Hidden:
        chars.hidden = flagValue(token);
        break;
    case RtfWord::Font:
        chars.font = token.hasParam ? std::max(0, p) : 0;
        break;
    case RtfWord::FontSize:
        chars.halfPoints = token.hasParam && p > 0 ? std::min(p, 3276) : 24;
        break;
    case RtfWord::ColorIndex:
        chars.color = std::max(0, p);
        break;
    case RtfWord::Highlight:
        chars.highlight = std::max(0, p);
        break;
    default:
        return false;
    }
    m_charsDirty = true;
    return true;
}

bool RtfParser::handleParagraphWord(RtfWord word, const RtfToken& token)
{
    GroupState& group = top();
    RtfParagraphFormat& paragraph = group.paragraph;
    const int p = token.hasParam ? token.param : 0;
    switch (word) {
    case RtfWord::ParagraphDefault:
        paragraph = RtfParagraphFormat{};
        group.nextTabType = QTextOption::LeftTab;
        group.list = 0;
        group.listLevel = 0;
        group.legacyNumbering = -1;
        break;
    case RtfWord::AlignLeft:
        paragraph.alignment = Qt::AlignLeft;
        break;
    case RtfWord::AlignCenter:
        paragraph.alignment = Qt::AlignHCenter;
        break;
    case RtfWord::AlignRight:
        paragraph.alignment = Qt::AlignRight;
        break;
    case RtfWord::AlignJustify:
        paragraph.alignment = Qt::AlignJustify;
        break;
    case RtfWord::LeftIndent:
        paragraph.leftIndent = clampTwips(p);
        break;
    case RtfWord::RightIndent:
        paragraph.rightIndent = clampTwips(p);
        break;
    case RtfWord::FirstLineIndent:
        paragraph.firstLineIndent = clampTwips(p);
        break;
    case RtfWord::TabPosition:
        addTab(p);
        break;
    case RtfWord::TabRight:
        group.nextTabType = QTextOption::RightTab;
        break;
    case RtfWord::TabCenter:
        group.nextTabType = QTextOption::CenterTab;
        break;
    case RtfWord::TabDecimal:
        group.nextTabType = QTextOption::DelimiterTab;
        break;
    case RtfWord::TabBar:
        group.nextTabType = QTextOption::LeftTab;
        break;
    case RtfWord::Paragraph:
        endParagraph();
        breakBlock();
        break;
    case RtfWord::Line:
        breakBlock();
        break;
    case RtfWord::Cell:
        endParagraph();
        m_row.cells = std::min(m_row.cells + 1, MaxCellsInRow);
        break;
    case RtfWord::NestedCell:
        endParagraph();
        m_nestedRow.cells = std::min(m_nestedRow.cells + 1, MaxCellsInRow);
        break;
    case RtfWord::Row:
        endRow(m_row);
        break;
    case RtfWord::NestedRow:
        endNestedRow();
        break;
    default:
        return false;
    }
    return true;
}

bool RtfParser::handleSpecialCharacter(RtfWord word)
{
    char16_t ch = 0;
    switch (word) {
    case RtfWord::Tab:
        ch = u'\t';
        break;
    case RtfWord::EmDash:
        ch = u'\u2014';
        break;
    case RtfWord::EnDash:
        ch = u'\u2013';
        break;
    case RtfWord::Bullet:
        ch = u'\u2022';
        break;
    case RtfWord::LeftQuote:
        ch = u'\u2018';
        break;
    case RtfWord::RightQuote:
        ch = u'\u2019';
        break;
    case RtfWord::LeftDoubleQuote:
        ch = u'\u201C';
        break;
    case RtfWord::RightDoubleQuote:
        ch = u'\u201D';
        break;
    case RtfWord::EmSpace:
        ch = u'\u2003';
        break;
    case RtfWord::EnSpace:
        ch = u'\u2002';
        break;
    case RtfWord::QuarterEmSpace:
        ch = u'\u2005';
        break;
    case RtfWord::ZeroWidthJoiner:
        ch = u'\u200D';
        break;
    case RtfWord::ZeroWidthNonJoiner:
        ch = u'\u200C';
        break;
    case RtfWord::ZeroWidthBreak:
        ch = u'\u200B';
        break;
    default:
        return false;
    }
    appendChar(ch);
    return true;
}

void RtfParser::handleFontWord(RtfWord word, const RtfToken& token)
{
    switch (word) {
    case RtfWord::Font:
        commitFont();
        m_fontEntry = FontEntry{};
        m_fontEntry.open = true;
        m_fontEntry.id = token.hasParam ? std::max(0, token.param) : 0;
        m_fontEntry.depth = m_groups.size();
        break;
    case RtfWord::FontCharset:
        m_fontEntry.charset = token.param;
        break;
    case RtfWord::FontCodePage:
        m_fontEntry.codePage = token.param > 0 && token.param <= 0xFFFF ? token.param : 0;
        break;
    case RtfWord::Unicode:
        if (m_fontEntry.open && token.hasParam && m_fontEntry.name.size() < 4 * MaxFontNameLength) {
            flushFontBytes();
            const char16_t ch = static_cast<char16_t>(token.param);
            if (isFontNameChar(ch))
                m_fontEntry.name.append(QChar(ch));
        }
        m_skip = top().unicodeSkip;
        break;
    default:
        break;
    }
}

void RtfParser::handleColorWord(RtfWord word, const RtfToken& token)
{
    const int value = std::clamp(token.param, 0, 255);
    switch (word) {
    case RtfWord::Red:
        m_colorEntry.red = value;
        break;
    case RtfWord::Green:
        m_colorEntry.green = value;
        break;
    case RtfWord::Blue:
        m_colorEntry.blue = value;
        break;
    default:
        return;
    }
    m_colorEntry.any = true;
}

void RtfParser::handlePictureWord(RtfWord word, const RtfToken& token)
{
    const int p = std::clamp(token.param, 0, MaxTwips);
    switch (word) {
    case RtfWord::PngBlip:
        m_picture.kind = RtfPictureData::Kind::Png;
        break;
    case RtfWord::JpegBlip:
        m_picture.kind = RtfPictureData::Kind::Jpeg;
        break;
    case RtfWord::EmfBlip:
        m_picture.kind = RtfPictureData::Kind::Emf;
        break;
    case RtfWord::WindowsMetafile:
        m_picture.kind = RtfPictureData::Kind::Wmf;
        break;
    case RtfWord::Bitmap:
        m_picture.kind = RtfPictureData::Kind::Bitmap;
        break;
    case RtfWord::OtherPictureFormat:
        m_picture.kind = RtfPictureData::Kind::Unknown;
        break;
    case RtfWord::PictureWidth:
        m_picture.width = p;
        break;
    case RtfWord::PictureHeight:
        m_picture.height = p;
        break;
    case RtfWord::PictureGoalWidth:
        m_picture.goalWidth = p;
        break;
    case RtfWord::PictureGoalHeight:
        m_picture.goalHeight = p;
        break;
    case RtfWord::PictureScaleX:
        m_picture.scaleX = token.hasParam ? p : 100;
        break;
    case RtfWord::PictureScaleY:
        m_picture.scaleY = token.hasParam ? p : 100;
        break;
    case RtfWord::Unicode:
        m_skip = top().unicodeSkip;
        break;
    default:
        break;
    }
}

void RtfParser::handleSymbol(char symbol)
{
    if (symbol == '*') {
        m_starPending = true;
        return;
    }
    const Destination destination = top().destination;
    if ((destination == Destination::FontTable || destination == Destination::FieldInstruction) &&
        isEscapedByte(symbol))
        return handleByte(static_cast<unsigned char>(symbol));
    if (destination != Destination::Text)
        return;
    if (m_trailExpected && isEscapedByte(symbol))
        return handleByte(static_cast<unsigned char>(symbol));
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        appendChar(static_cast<char16_t>(symbol));
        break;
    case '~':
        appendChar(u'\u00A0');
        break;
    case '_':
        appendChar(u'\u2011');
        break;
    case '\r':
    case '\n':
        endParagraph();
        breakBlock();
        break;
    default:
        break;
    }
}

void RtfParser::handleByte(unsigned char byte)
{
    switch (top().destination) {
    case Destination::Text:
        appendBytes(QByteArrayView(reinterpret_cast<const char*>(&byte), 1));
        break;
    case Destination::FontTable:
        if (m_fontEntry.open && m_fontEntry.pendingBytes.size() < 4 * MaxFontNameLength)
            m_fontEntry.pendingBytes.append(static_cast<char>(byte));
        break;
    case Destination::LevelText:
    case Destination::LevelNumbers:
        handleListText(QByteArrayView(reinterpret_cast<const char*>(&byte), 1));
        break;
    case Destination::FieldInstruction:
        if (m_fields.back().instruction.size() < MaxFieldInstruction)
            m_fields.back().instruction.append(static_cast<char>(byte));
        break;
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter: {
        QByteArray& text =
            top().destination == Destination::LegacyTextBefore ? m_legacyBefore : m_legacyAfter;
        if (text.size() < MaxLegacyText)
            text.append(static_cast<char>(byte));
        break;
    }
    default:
        break;
    }
}

void RtfParser::handleText(QByteArrayView text)
{
    switch (top().destination) {
    case Destination::Text:
        appendBytes(text);
        takeRawTrailByte();
        break;
    case Destination::FontTable:
        for (char c : text) {
            if (c == ';')
                commitFont();
            else
                handleByte(static_cast<unsigned char>(c));
        }
        break;
    case Destination::ColorTable:
        for (char c : text) {
            if (c == ';')
                commitColor();
        }
        break;
    case Destination::Picture:
        appendPictureHex(text);
        break;
    case Destination::LegacyNumbering:
        break;
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter:
        for (char c : text)
            handleByte(static_cast<unsigned char>(c));
        break;
    case Destination::FieldInstruction:
        m_fields.back().instruction.append(text.first(
            std::min(text.size(), MaxFieldInstruction - m_fields.back().instruction.size())));
        break;
    default:
        handleListText(text);
        break;
    }
}

void RtfParser::handleUnicode(const RtfToken& token)
{
    if (token.hasParam) {
        const int code = token.param < 0 ? token.param + 0x10000 : token.param;
        if (code >= 0 && code <= 0xFFFF)
            appendUnicode(code);
    }
    m_skip = top().unicodeSkip;
}

void RtfParser::appendBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty() || top().chars.hidden)
        return;
    if (m_trailExpected) {
        // The trail byte of a character whose lead byte stood before a group
        // boundary or a formatting word.
        m_doubleBytes.append(bytes.front());
        m_trailExpected = false;
        bytes = bytes.sliced(1);
    }
    const int cp = codePage();
    if (!m_doubleBytes.isEmpty() && cp != m_doubleByteCodePage)
        flushDoubleByte();
    if (bytes.isEmpty())
        return;
    if (RtfCodePages::isDoubleByte(cp)) {
        m_doubleBytes.append(bytes);
        m_doubleByteCodePage = cp;
        for (char b : bytes)
            m_trailExpected = !m_trailExpected && RtfCodePages::isLeadByte(cp, b);
        return;
    }
    prepareForContent();
    const RtfCodePages::Table& table = *m_table;
    for (char b : bytes) {
        const char16_t ch = table[static_cast<unsigned char>(b)];
        if (ch != 0)
            m_run.append(QChar(ch));
    }
}

void RtfParser::appendChar(char16_t ch)
{
    if (isDropped(ch) || top().chars.hidden)
        return;
    prepareForContent();
    m_run.append(QChar(ch));
}

void RtfParser::appendUnicode(int code)
{
    if (top().chars.hidden)
        return;
    char16_t ch = static_cast<char16_t>(code);
    if (isPrivateSymbol(ch)) {
        codePage();
        if (m_symbols != nullptr)
            ch = (*m_symbols)[ch - RtfSymbolFonts::PrivateUseBase];
    }
    if (ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator)
        return breakBlock();
    if (QChar::isHighSurrogate(ch)) {
        prepareForContent();
        m_highSurrogate = ch;
        return;
    }
    if (QChar::isLowSurrogate(ch)) {
        const char16_t high = std::exchange(m_highSurrogate, 0);
        prepareForContent();
        if (high != 0) {
            m_run.append(QChar(high));
            m_run.append(QChar(ch));
        } else {
            m_run.append(QChar(QChar::ReplacementCharacter));
        }
        return;
    }
    appendChar(ch);
}

// Text stops at a backslash or a brace, but after a raw lead byte the next
// byte is its trail byte whatever it is, as the control reads it. Only a
// following \'hh is taken for the trail byte it spells.
void RtfParser::takeRawTrailByte()
{
    const QByteArrayView input = m_tokenizer.input();
    const qsizetype at = m_tokenizer.position();
    if (!m_trailExpected || at >= input.size() || !isEscapedByte(input[at]))
        return;
    const bool hexEscape = input.sliced(at).startsWith("\\'") && at + 3 < input.size() &&
                           RtfTokenizer::hexDigitValue(input[at + 2]) >= 0 &&
                           RtfTokenizer::hexDigitValue(input[at + 3]) >= 0;
    if (!hexEscape)
        handleByte(static_cast<unsigned char>(m_tokenizer.takeRawByte()));
}

void RtfParser::flushDoubleByte()
{
    m_trailExpected = false;
    if (m_doubleBytes.isEmpty())
        return;
    const QString decoded = RtfCodePages::decodeDoubleByte(m_doubleByteCodePage, m_doubleBytes);
    m_doubleBytes.clear();
    for (QChar ch : decoded)
        appendChar(ch.unicode());
}

// Everything that must happen before content lands in the current run: a
// pending block separator, a change of character format, the tabs between
// table cells, an unpaired high surrogate.
void RtfParser::prepareForContent()
{
    ++m_content;
    if (m_pendingBreak) {
        m_pendingBreak = false;
        flushRun();
        m_sink.startBlock(resolve(top().chars));
    }
    if (m_charsDirty) {
        m_charsDirty = false;
        if (!(top().chars == m_runChars)) {
            flushRun();
            m_runChars = top().chars;
        }
    }
    padCells(m_row);
    padCells(m_nestedRow);
    if (!m_numberDone && (top().list > 0 || top().legacyNumbering >= 0))
        appendListNumber();
    if (m_highSurrogate != 0) {
        m_highSurrogate = 0;
        m_run.append(QChar(QChar::ReplacementCharacter));
    }
}

void RtfParser::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_sink.appendText(m_run, resolve(m_runChars));
    m_run.resize(0);
}

// A block is only opened when content follows its separator, so the final
// \par the rich-edit control writes does not add an empty line.
void RtfParser::breakBlock()
{
    if (top().chars.hidden)
        return;
    m_highSurrogate = 0;
    if (m_pendingBreak) {
        m_pendingBreak = false;
        flushRun();
        m_sink.startBlock(resolve(top().chars));
    }
    flushRun();
    m_sink.setBlockFormat(top().paragraph);
    m_pendingBreak = true;
}

void RtfParser::padCells(TableRow& row)
{
    if (row.tabs < row.cells) {
        m_run.append(QString(row.cells - row.tabs, u'\t'));
        row.tabs = row.cells;
    }
}

void RtfParser::endRow(TableRow& row)
{
    if (row.cells > 0 && !top().chars.hidden) {
        row.cells -= 1;
        if (row.tabs < row.cells)
            prepareForContent();
    }
    row = TableRow{};
    breakBlock();
}

// A nested row ends with \nestrow inside its row properties; the properties'
// group ends it for writers that leave the word out, but only once.
void RtfParser::endNestedRow()
{
    if (m_nestedRow.cells > 0)
        endRow(m_nestedRow);
}

void RtfParser::addTab(int twips)
{
    GroupState& group = top();
    const RtfTabStop stop{std::clamp(twips, 0, MaxTwips), group.nextTabType};
    group.nextTabType = QTextOption::LeftTab;
    QList<RtfTabStop>& tabs = group.paragraph.tabs;
    const auto at = std::lower_bound(
        tabs.begin(), tabs.end(), stop,
        [](const RtfTabStop& a, const RtfTabStop& b) { return a.twips < b.twips; });
    if (at != tabs.end() && at->twips == stop.twips) {
        *at = stop;
        return;
    }
    if (tabs.size() < MaxTabs)
        tabs.insert(at, stop);
}

void RtfParser::appendPictureHex(QByteArrayView text)
{
    for (char c : text) {
        const int value = RtfTokenizer::hexDigitValue(c);
        if (value < 0)
            continue;
        if (m_pictureNibble < 0) {
            m_pictureNibble = value;
        } else {
            m_picture.data.append(static_cast<char>(m_pictureNibble * 16 + value));
            m_pictureNibble = -1;
        }
    }
}

void RtfParser::finishPicture(const GroupState& closed, qsizetype closeOffset)
{
    m_picture.source =
        m_tokenizer.input().sliced(closed.start, closeOffset + 1 - closed.start).toByteArray();
    if (!closed.chars.hidden && top().destination == Destination::Text && m_overflow == 0) {
        prepareForContent();
        flushRun();
        m_sink.appendPicture(m_picture, resolve(closed.chars));
    }
    m_picture = RtfPictureData{};
}

int RtfParser::FontEntry::fontCodePage(int ansiCodePage) const
{
    return codePage > 0 ? codePage : RtfCodePages::fromCharset(charset, ansiCodePage);
}

void RtfParser::flushFontBytes()
{
    if (m_fontEntry.pendingBytes.isEmpty())
        return;
    const int cp = m_fontEntry.fontCodePage(m_ansiCodePage);
    if (RtfCodePages::isDoubleByte(cp)) {
        for (QChar ch : RtfCodePages::decodeDoubleByte(cp, m_fontEntry.pendingBytes)) {
            if (isFontNameChar(ch.unicode()))
                m_fontEntry.name.append(ch);
        }
    } else {
        const RtfCodePages::Table& table = m_codePages.table(cp);
        for (char b : std::as_const(m_fontEntry.pendingBytes)) {
            if (const char16_t ch = table[static_cast<unsigned char>(b)]; isFontNameChar(ch))
                m_fontEntry.name.append(QChar(ch));
        }
    }
    m_fontEntry.pendingBytes.clear();
}

void RtfParser::commitFont()
{
    if (!m_fontEntry.open)
        return;
    flushFontBytes();
    const FontEntry entry = std::exchange(m_fontEntry, FontEntry{});
    if (m_fonts.size() >= MaxFonts && !m_fonts.contains(entry.id))
        return;
    const QString name = entry.name.left(MaxFontNameLength).trimmed();
    const RtfCodePages::Table* symbols =
        entry.charset == SymbolCharset ? RtfSymbolFonts::table(name) : nullptr;
    m_fonts.insert(entry.id, Font{name, entry.fontCodePage(m_ansiCodePage), symbols});
    invalidateTables();
}

void RtfParser::commitColor()
{
    const ColorEntry entry = std::exchange(m_colorEntry, ColorEntry{});
    if (m_colors.size() >= MaxColors)
        return;
    if (entry.any)
        m_colors.append(QColor(entry.red, entry.green, entry.blue));
    else
        m_colors.append(std::nullopt);
    invalidateTables();
}

int RtfParser::codePage()
{
    const int font = top().chars.font < 0 ? m_defaultFont : top().chars.font;
    if (m_table != nullptr && font == m_cachedFont)
        return m_cachedCodePage;
    const auto it = m_fonts.constFind(font);
    m_cachedFont = font;
    m_cachedCodePage = it != m_fonts.constEnd() ? it->codePage : m_ansiCodePage;
    m_symbols = it != m_fonts.constEnd() ? it->symbols : nullptr;
    if (m_symbols != nullptr)
        m_table = m_symbols;
    else if (RtfCodePages::isDoubleByte(m_cachedCodePage))
        m_table = nullptr;
    else
        m_table = &m_codePages.table(m_cachedCodePage);
    return m_cachedCodePage;
}

const RtfRunFormat& RtfParser::resolve(const CharState& chars)
{
    if (m_resolvedValid && chars == m_resolvedChars)
        return m_resolved;
    RtfRunFormat format;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.strikeOut = chars.strike;
    format.family = m_fonts.value(chars.font < 0 ? m_defaultFont : chars.font).name;
    format.pointSize = chars.halfPoints / 2.0;
    if (chars.color > 0 && chars.color < m_colors.size())
        format.foreground = m_colors.at(chars.color);
    if (chars.highlight > 0 && chars.highlight < m_colors.size())
        format.background = m_colors.at(chars.highlight);
    m_resolved = std::move(format);
    m_resolvedChars = chars;
    m_resolvedValid = true;
    return m_resolved;
}

void RtfParser::invalidateTables()
{
    m_resolvedValid = false;
    m_table = nullptr;
}

void RtfParser::handleListWord(RtfWord word, const RtfToken& token)
{
    const Destination destination = top().destination;
    const int p = token.hasParam ? token.param : 0;
    switch (word) {
    case RtfWord::List:
        if (destination == Destination::ListTable) {
            top().destination = Destination::List;
            m_lists.startList();
        }
        break;
    case RtfWord::ListLevel:
        if (destination == Destination::List ||
            (destination == Destination::ListOverride && !m_overrideLevels.isEmpty())) {
            m_levelInOverride = destination == Destination::ListOverride;
            top().destination = Destination::ListLevel;
            m_level = RtfListTable::Level{};
            m_levelFont = -1;
            m_levelText.clear();
            m_levelNumbers.clear();
        }
        break;
    case RtfWord::LevelText:
    case RtfWord::LevelNumbers:
        if (destination == Destination::ListLevel)
            top().destination =
                word == RtfWord::LevelText ? Destination::LevelText : Destination::LevelNumbers;
        break;
    case RtfWord::LevelFormat:
        if (destination == Destination::ListLevel)
            m_level.format = p;
        break;
    case RtfWord::LevelStartAt:
        if (destination == Destination::ListLevel)
            m_level.startAt = std::clamp(p, 0, RtfListTable::MaxStartAt);
        else if (destination == Destination::ListOverride && !m_overrideLevels.isEmpty())
            m_overrideLevels.last().startAt = std::clamp(p, 0, RtfListTable::MaxStartAt);
        break;
    case RtfWord::OverrideLevel:
        if (destination == Destination::ListOverride &&
            m_overrideLevels.size() < RtfListTable::Levels) {
            m_overrideLevels.append({static_cast<int>(m_overrideLevels.size()), {}, {}});
            m_overrideRestarts = false;
        }
        break;
    case RtfWord::OverrideStartAt:
        m_overrideRestarts = destination == Destination::ListOverride;
        break;
    case RtfWord::LevelFollow:
        if (destination == Destination::ListLevel)
            m_level.follow = p;
        break;
    case RtfWord::Font:
        if (destination == Destination::ListLevel)
            m_levelFont = std::max(0, p);
        break;
    case RtfWord::ListId:
        if (destination == Destination::List)
            m_lists.setListId(p);
        else if (destination == Destination::ListOverride)
            m_overrideList = p;
        break;
    case RtfWord::ListOverride:
        if (destination == Destination::ListOverrideTable) {
            top().destination = Destination::ListOverride;
            m_overrideIndex = 0;
            m_overrideList = 0;
            m_overrideLevels.clear();
        }
        break;
    case RtfWord::ListOverrideIndex:
        if (destination == Destination::ListOverride)
            m_overrideIndex = p;
        break;
    case RtfWord::Unicode:
        if (destination == Destination::LevelText && token.hasParam &&
            m_levelText.size() <= RtfListTable::MaxLevelText)
            m_levelText.append(LevelTextUnit{static_cast<char16_t>(token.param), false});
        m_skip = top().unicodeSkip;
        break;
    default:
        break;
    }
}

void RtfParser::handleListText(QByteArrayView text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (top().destination == Destination::LevelNumbers) {
            if (m_levelNumbers.size() <= RtfListTable::MaxLevelText && c != ';')
                m_levelNumbers.append(c);
        } else if (top().destination == Destination::LevelText &&
                   m_levelText.size() <= RtfListTable::MaxLevelText) {
            m_levelText.append(LevelTextUnit{byte, true});
        }
    }
}

void RtfParser::endDestination(Destination destination)
{
    switch (destination) {
    case Destination::ListLevel:
        finishLevel();
        break;
    case Destination::List:
        m_lists.endList();
        break;
    case Destination::ListOverride:
        m_lists.addOverride(m_overrideIndex, m_overrideList, m_overrideLevels);
        break;
    case Destination::LegacyNumbering:
        finishLegacyNumbering();
        break;
    default:
        break;
    }
}

// A level inside an override defines it anew for that override; with
// \listoverridestartat its own start is where the override starts again.
void RtfParser::finishLevel()
{
    m_level.text = levelText();
    if (!std::exchange(m_levelInOverride, false)) {
        m_lists.addLevel(m_level);
        return;
    }
    RtfListTable::LevelOverride& level = m_overrideLevels.last();
    level.format = m_level;
    if (m_overrideRestarts && !level.startAt)
        level.startAt = m_level.startAt;
}

// The first character of \leveltext is its length; \levelnumbers holds the
// positions of the characters that stand for a level's number.
QString RtfParser::levelText()
{
    if (m_levelText.isEmpty())
        return {};
    const qsizetype length = std::min<qsizetype>(m_levelText[0].value, m_levelText.size() - 1);
    const RtfCodePages::Table& table = fontTable(m_levelFont < 0 ? m_defaultFont : m_levelFont);
    const RtfCodePages::Table* symbols = m_fonts.value(m_levelFont).symbols;
    QString out;
    for (qsizetype i = 1; i <= length; ++i) {
        const LevelTextUnit unit = m_levelText[i];
        if (m_levelNumbers.contains(static_cast<char>(i))) {
            if (unit.value < RtfListTable::Levels)
                out += QChar(unit.value);
            continue;
        }
        char16_t ch = unit.byte ? table[unit.value] : unit.value;
        if (!unit.byte && symbols != nullptr && isPrivateSymbol(ch))
            ch = (*symbols)[ch - RtfSymbolFonts::PrivateUseBase];
        if (ch >= 0x20 && !isDropped(ch))
            out += QChar(ch);
    }
    return out;
}

const RtfCodePages::Table& RtfParser::fontTable(int font)
{
    const auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd() && it->symbols != nullptr)
        return *it->symbols;
    const int cp = it != m_fonts.constEnd() ? it->codePage : m_ansiCodePage;
    return m_codePages.table(RtfCodePages::isDoubleByte(cp) ? RtfCodePages::Default : cp);
}

// A list table's number wins over an old-style one, even when the list is
// not defined. The number text a paragraph brings along (\listtext, \pntext)
// is only for readers without lists, and often out of date.
void RtfParser::appendListNumber()
{
    m_numberDone = true;
    const GroupState& group = top();
    if (group.list > 0)
        m_run += m_lists.nextNumber(group.list, group.listLevel);
    else
        m_run += m_legacyNumbering.next(m_legacyDefinitions.at(group.legacyNumbering));
}

// An empty list paragraph still shows its number.
void RtfParser::endParagraph()
{
    const bool numbered = top().list > 0 || top().legacyNumbering >= 0;
    if (!m_numberDone && numbered && !top().chars.hidden)
        prepareForContent();
    if (top().list > 0 || top().legacyNumbering < 0)
        m_legacyNumbering.interrupt();
    m_numberDone = false;
}

bool RtfParser::handleNoteWord(RtfWord word, const RtfToken& token)
{
    const int p = std::clamp(token.param, 0, RtfListTable::MaxStartAt);
    switch (word) {
    case RtfWord::Field:
        startField();
        break;
    case RtfWord::FootnoteStart:
        m_footnotes.next = p;
        break;
    case RtfWord::EndnoteStart:
        m_endnotes.next = p;
        break;
    case RtfWord::FootnoteArabic:
    case RtfWord::FootnoteLowerLetter:
    case RtfWord::FootnoteUpperLetter:
    case RtfWord::FootnoteLowerRoman:
    case RtfWord::FootnoteUpperRoman:
        m_footnotes.format = noteFormat(word, RtfWord::FootnoteArabic);
        break;
    case RtfWord::EndnoteArabic:
    case RtfWord::EndnoteLowerLetter:
    case RtfWord::EndnoteUpperLetter:
    case RtfWord::EndnoteLowerRoman:
    case RtfWord::EndnoteUpperRoman:
        m_endnotes.format = noteFormat(word, RtfWord::EndnoteArabic);
        break;
    default:
        return false;
    }
    return true;
}

// A note shows its number where it is anchored, whatever mark the writer put
// before it; its text is not part of the page.
void RtfParser::appendNoteMark()
{
    if (top().chars.hidden)
        return;
    NoteNumbering& notes = noteIsEndnote() ? m_endnotes : m_footnotes;
    const QString mark = RtfListTable::formatNumber(notes.next, notes.format);
    notes.next = std::min(notes.next + 1, RtfListTable::MaxStartAt);
    for (QChar ch : mark)
        appendChar(ch.unicode());
}

// \ftnalt makes a note an endnote; it stands among the note's first words.
bool RtfParser::noteIsEndnote() const
{
    RtfTokenizer ahead(m_tokenizer.input().sliced(m_tokenizer.position()));
    for (int i = 0; i < 8; ++i) {
        const RtfToken token = ahead.next();
        if (token.kind != RtfToken::Kind::Word)
            return false;
        if (RtfControlWords::lookup(token.text) == RtfWord::EndnoteFlag)
            return true;
    }
    return false;
}

void RtfParser::startField()
{
    if (!m_fields.empty() && m_fields.back().depth == m_groups.size())
        m_fields.pop_back();
    m_fields.push_back(Field{m_groups.size(), m_content, {}});
}

// A field shows its result as it was saved; a symbol field saved without
// one shows the character it names.
void RtfParser::finishField()
{
    const Field field = std::move(m_fields.back());
    m_fields.pop_back();
    if (field.contentAtStart == m_content && top().destination == Destination::Text &&
        m_overflow == 0)
        appendSymbolField(field.instruction);
}

void RtfParser::appendSymbolField(QByteArrayView instruction)
{
    const std::optional<RtfSymbolField> field = RtfSymbolField::parse(instruction);
    if (!field)
        return;
    int code = field->code;
    const RtfCodePages::Table* symbols = nullptr;
    if (field->font.isEmpty()) {
        codePage();
        symbols = m_symbols;
    } else {
        symbols = RtfSymbolFonts::table(field->font);
    }
    if (!field->unicode && symbols != nullptr && code >= RtfSymbolFonts::PrivateUseBase &&
        code <= RtfSymbolFonts::PrivateUseBase + 0xFF)
        code -= RtfSymbolFonts::PrivateUseBase;
    if (field->unicode || code > 0xFF)
        return appendCodePoint(code);
    if (symbols != nullptr)
        return appendChar((*symbols)[code]);
    const int cp = field->font.isEmpty() ? codePage() : m_ansiCodePage;
    appendChar(
        m_codePages.table(RtfCodePages::isDoubleByte(cp) ? RtfCodePages::Default : cp)[code]);
}

void RtfParser::appendCodePoint(int code)
{
    if (code <= 0xFFFF) {
        if (!QChar::isSurrogate(static_cast<char32_t>(code)))
            appendChar(static_cast<char16_t>(code));
        return;
    }
    if (top().chars.hidden)
        return;
    prepareForContent();
    const auto units = QChar::fromUcs4(static_cast<char32_t>(code));
    m_run.append(QStringView(units));
}

void RtfParser::handleLegacyNumberingWord(RtfWord word, const RtfToken& token)
{
    using Kind = RtfLegacyNumbering::Definition::Kind;
    RtfLegacyNumbering::Definition& definition = m_legacyDefinition;
    switch (word) {
    case RtfWord::NumberingBody:
        definition.kind = Kind::Number;
        break;
    case RtfWord::NumberingBullet:
        definition.kind = Kind::Bullet;
        break;
    case RtfWord::NumberingContinued:
        definition.kind = Kind::Continued;
        break;
    case RtfWord::NumberingDecimal:
    case RtfWord::NumberingUpperRoman:
    case RtfWord::NumberingLowerRoman:
    case RtfWord::NumberingUpperLetter:
    case RtfWord::NumberingLowerLetter:
        definition.format = static_cast<int>(word) - static_cast<int>(RtfWord::NumberingDecimal);
        break;
    case RtfWord::NumberingStart:
        definition.startAt = std::clamp(token.param, 0, RtfListTable::MaxStartAt);
        break;
    case RtfWord::NumberingFont:
        m_legacyFont = std::max(0, token.param);
        break;
    case RtfWord::NumberingTextBefore:
    case RtfWord::NumberingTextAfter:
        if (top().destination == Destination::LegacyNumbering)
            top().destination = word == RtfWord::NumberingTextBefore ? Destination::LegacyTextBefore
                                                                     : Destination::LegacyTextAfter;
        break;
    case RtfWord::Unicode:
        m_skip = top().unicodeSkip;
        break;
    default:
        break;
    }
}

// The paragraph the definition stands in is numbered by it, until \pard.
void RtfParser::finishLegacyNumbering()
{
    const RtfCodePages::Table& table = fontTable(m_legacyFont < 0 ? m_defaultFont : m_legacyFont);
    const auto decode = [&table](const QByteArray& bytes) {
        QString out;
        for (char b : bytes) {
            const char16_t ch = table[static_cast<unsigned char>(b)];
            if (ch >= 0x20 && !isDropped(ch))
                out += QChar(ch);
        }
        return out;
    };
    m_legacyDefinition.before = decode(m_legacyBefore);
    m_legacyDefinition.after = decode(m_legacyAfter);
    if (m_legacyDefinitions.size() >= MaxLegacyNumberings)
        m_legacyDefinitions.removeLast();
    m_legacyDefinitions.append(m_legacyDefinition);
    top().legacyNumbering = static_cast<int>(m_legacyDefinitions.size() - 1);
}
