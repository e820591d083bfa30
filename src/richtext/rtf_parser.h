#pragma once

#include "richtext/rtf_code_pages.h"
#include "richtext/rtf_content_sink.h"
#include "richtext/rtf_control_words.h"
#include "richtext/rtf_legacy_numbering.h"
#include "richtext/rtf_list_table.h"
#include "richtext/rtf_tokenizer.h"

#include <QHash>
#include <QList>
#include <optional>
#include <vector>

// Interprets RTF tokens with an explicit group stack and hands the content to
// a sink. Shared by the document reader and the plain-text fast path, so both
// see exactly the same text, breaks and pictures. Every table and every nesting
// level is bounded, so hostile input costs at most time linear in its size.
class RtfParser
{
public:
    static constexpr int MaxDepth = 512;
    static constexpr int MaxFonts = 4096;
    static constexpr int MaxColors = 4096;
    static constexpr int MaxTabs = 64;
    static constexpr int MaxFontNameLength = 256;
    static constexpr int MaxTwips = 1'000'000;
    static constexpr int MaxCellsInRow = 4096;
    static constexpr int MaxUnicodeSkip = 16;
    static constexpr int MaxFieldInstruction = 256;
    static constexpr int MaxLegacyNumberings = 1024;
    static constexpr int MaxLegacyText = 32;

    RtfParser(QByteArrayView rtf, RtfContentSink& sink);
    void parse();

    // After optional leading whitespace the input starts with "{\rtf".
    static bool isRtf(QByteArrayView data);
    static bool isRtf(QStringView text);

private:
    static constexpr int SymbolCharset = 2;

    enum class Destination
    {
        Text,
        FontTable,
        ColorTable,
        Picture,
        ListTable,
        List,
        ListLevel,
        LevelText,
        LevelNumbers,
        ListOverrideTable,
        ListOverride,
        FieldInstruction,
        LegacyNumbering,
        LegacyTextBefore,
        LegacyTextAfter
    };

    struct CharState
    {
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        int font = -1; // -1: the document's default font
        int halfPoints = 24;
        int color = 0;
        int highlight = 0;

        bool operator==(const CharState&) const = default;
    };

    struct GroupState
    {
        CharState chars;
        RtfParagraphFormat paragraph;
        QTextOption::TabType nextTabType = QTextOption::LeftTab;
        int unicodeSkip = 1;
        Destination destination = Destination::Text;
        qsizetype start = 0;
        bool ownsPicture = false;
        bool nestedRowProperties = false; // a {\*\nesttableprops} group
        quint64 contentAtStart = 0;       // the content count when the group began
        int list = 0;                     // \ls: the paragraph's list override, 0 for none
        int listLevel = 0;
        int legacyNumbering = -1; // {\*\pn}: the paragraph's old-style number, -1 for none
    };

    // One character of a \leveltext as written: a byte is only decoded once
    // the level's font is known, which Word writes after the text.
    struct LevelTextUnit
    {
        char16_t value = 0;
        bool byte = false;
    };

    struct Font
    {
        QString name;
        int codePage = RtfCodePages::Default;
        const RtfCodePages::Table* symbols = nullptr; // a symbol font's own characters
    };

    struct FontEntry
    {
        bool open = false;
        int id = 0;
        int charset = -1;
        int codePage = 0;
        std::size_t depth = 0; // group depth of the entry's \f
        QString name;
        QByteArray pendingBytes; // decoded once the entry's code page is known
        int fontCodePage(int ansiCodePage) const;
    };

    struct TableRow
    {
        int cells = 0; // cells ended in the row so far
        int tabs = 0;  // tabs written for them; written only when content follows
    };

    // A \field group being read: its instruction, and the content count when
    // it began, which tells whether its result showed anything.
    struct Field
    {
        std::size_t depth = 0;
        quint64 contentAtStart = 0;
        QByteArray instruction;
    };

    // How the notes of one kind are numbered.
    struct NoteNumbering
    {
        int next = 1;
        int format = 0; // a list number format
    };

    struct ColorEntry
    {
        bool any = false;
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    GroupState& top() { return m_groups.back(); }
    bool continuesDoubleByte(const RtfToken& token) const;
    static bool leavesTextAlone(RtfWord word);
    bool consumeSkipped(RtfToken& token);
    void handleToken(RtfToken& token, bool starred, bool groupStart);
    void openGroup(qsizetype offset);
    bool closeGroup(qsizetype offset);
    void skipCurrentGroup();
    void finish();

    void handleWord(const RtfToken& token, bool starred, bool groupStart);
    void handleDestination(RtfWord word, bool groupStart);
    void handleTextWord(RtfWord word, const RtfToken& token);
    bool handleCharacterWord(RtfWord word, const RtfToken& token);
    bool handleParagraphWord(RtfWord word, const RtfToken& token);
    bool handleSpecialCharacter(RtfWord word);
    void handleFontWord(RtfWord word, const RtfToken& token);
    void handleColorWord(RtfWord word, const RtfToken& token);
    void handlePictureWord(RtfWord word, const RtfToken& token);
    void handleListWord(RtfWord word, const RtfToken& token);
    void handleListText(QByteArrayView text);
    void handleLegacyNumberingWord(RtfWord word, const RtfToken& token);
    void finishLegacyNumbering();
    bool handleNoteWord(RtfWord word, const RtfToken& token);
    void appendNoteMark();
    bool noteIsEndnote() const;
    void startField();
    void finishField();
    void appendSymbolField(QByteArrayView instruction);
    void endDestination(Destination destination);
    void finishLevel();
    QString levelText();
    const RtfCodePages::Table& fontTable(int font);
    void appendListNumber();
    void endParagraph();
    void handleSymbol(char symbol);
    void handleByte(unsigned char byte);
    void handleText(QByteArrayView text);
    void handleUnicode(const RtfToken& token);

    void appendBytes(QByteArrayView bytes);
    void appendChar(char16_t ch);
    void appendUnicode(int code);
    void appendCodePoint(int code);
    void takeRawTrailByte();
    void flushDoubleByte();
    void prepareForContent();
    void flushRun();
    void breakBlock();
    void padCells(TableRow& row);
    void endRow(TableRow& row);
    void endNestedRow();
    void addTab(int twips);
    void appendPictureHex(QByteArrayView text);
    void finishPicture(const GroupState& closed, qsizetype closeOffset);
    void flushFontBytes();
    void commitFont();
    void commitColor();
    int codePage();
    const RtfRunFormat& resolve(const CharState& chars);
    void invalidateTables();

    RtfTokenizer m_tokenizer;
    RtfContentSink& m_sink;
    RtfCodePages m_codePages;
    std::vector<GroupState> m_groups;
    int m_overflow = 0; // groups opened beyond MaxDepth, read as part of their parent
    bool m_ended = false;
    bool m_starPending = false;
    bool m_groupStart = false; // nothing but \* read since the last '{'
    int m_skip = 0;            // fallback characters still to skip after \u

    int m_ansiCodePage = RtfCodePages::Default;
    int m_defaultFont = 0;
    QHash<int, Font> m_fonts;
    FontEntry m_fontEntry;
    QList<std::optional<QColor>> m_colors;
    ColorEntry m_colorEntry;

    QString m_run;
    CharState m_runChars;
    bool m_charsDirty = true;
    bool m_pendingBreak = false;
    char16_t m_highSurrogate = 0;
    TableRow m_row;
    TableRow m_nestedRow;
    QByteArray m_doubleBytes;
    int m_doubleByteCodePage = 0;
    bool m_trailExpected = false; // the last double-byte byte read was a lead byte

    int m_cachedFont = 0;
    int m_cachedCodePage = 0;
    const RtfCodePages::Table* m_table = nullptr;
    const RtfCodePages::Table* m_symbols = nullptr; // the current font's, if a symbol font

    CharState m_resolvedChars;
    RtfRunFormat m_resolved;
    bool m_resolvedValid = false;

    RtfListTable m_lists;
    RtfListTable::Level m_level;
    int m_levelFont = -1;
    QList<LevelTextUnit> m_levelText;
    QByteArray m_levelNumbers;
    QList<RtfListTable::LevelOverride> m_overrideLevels; // the last is the \lfolevel being read
    bool m_overrideRestarts = false;                     // it has \listoverridestartat
    bool m_levelInOverride = false;                      // m_level defines an override's level
    int m_overrideIndex = 0;
    int m_overrideList = 0;
    bool m_numberDone = false; // the paragraph's list number is shown or counted
    RtfLegacyNumbering m_legacyNumbering;
    QList<RtfLegacyNumbering::Definition> m_legacyDefinitions;
    RtfLegacyNumbering::Definition m_legacyDefinition; // the one being read
    int m_legacyFont = -1;
    QByteArray m_legacyBefore;
    QByteArray m_legacyAfter;

    std::vector<Field> m_fields;
    quint64 m_content = 0; // counts additions of content to the text
    NoteNumbering m_footnotes;
    NoteNumbering m_endnotes{1, 2};

    RtfPictureData m_picture;
    int m_pictureNibble = -1;
};
