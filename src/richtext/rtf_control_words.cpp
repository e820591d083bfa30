#include "richtext/rtf_control_words.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace {

struct Entry
{
    std::string_view name;
    RtfWord word;
};

// Destinations whose content is never part of the page's text: document
// properties, headers and footers, annotations, old list definitions, style definitions, embedded
// object data and the fallbacks of pictures and nested tables.
constexpr std::string_view kSkipped[] = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atndate",
    "atnicn",
    "atnid",
    "atnparent",
    "atnref",
    "atntime",
    "atrfend",
    "atrfstart",
    "author",
    "bkmkend",
    "bkmkstart",
    "buptim",
    "category",
    "colorschememapping",
    "comment",
    "company",
    "creatim",
    "datastore",
    "do",
    "doccomm",
    "docvar",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "ftncn",
    "ftnsep",
    "ftnsepc",
    "filetbl",
    "generator",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "hlinkbase",
    "info",
    "keywords",
    "latentstyles",
    "listtext",
    "manager",
    "mmathPr",
    "nonshppict",
    "nonesttables",
    "objalias",
    "objclass",
    "objdata",
    "objname",
    "objsect",
    "objtime",
    "operator",
    "panose",
    "pntext",
    "pgdsctbl",
    "printim",
    "private",
    "revtbl",
    "revtim",
    "rsidtbl",
    "rxe",
    "shpinst",
    "stylesheet",
    "subject",
    "tc",
    "template",
    "themedata",
    "title",
    "txe",
    "userprops",
    "xe",
    "xmlnstbl",
};

constexpr Entry kWords[] = {
    {"rtf", RtfWord::Rtf},
    {"ansi", RtfWord::Ansi},
    {"mac", RtfWord::Mac},
    {"pc", RtfWord::Pc},
    {"pca", RtfWord::Pca},
    {"ansicpg", RtfWord::AnsiCodePage},
    {"deff", RtfWord::DefaultFont},
    {"uc", RtfWord::UnicodeSkip},
    {"u", RtfWord::Unicode},
    {"fonttbl", RtfWord::FontTable},
    {"listtable", RtfWord::ListTable},
    {"listoverridetable", RtfWord::ListOverrideTable},
    {"list", RtfWord::List},
    {"listlevel", RtfWord::ListLevel},
    {"leveltext", RtfWord::LevelText},
    {"levelnumbers", RtfWord::LevelNumbers},
    {"levelnfc", RtfWord::LevelFormat},
    {"levelstartat", RtfWord::LevelStartAt},
    {"levelfollow", RtfWord::LevelFollow},
    {"listid", RtfWord::ListId},
    {"listoverride", RtfWord::ListOverride},
    {"ls", RtfWord::ListOverrideIndex},
    {"ilvl", RtfWord::ListLevelIndex},
    {"pn", RtfWord::ParagraphNumbering},
    {"pnlvlbody", RtfWord::NumberingBody},
    {"pnlvl", RtfWord::NumberingBody},
    {"pnlvlblt", RtfWord::NumberingBullet},
    {"pnlvlcont", RtfWord::NumberingContinued},
    {"pndec", RtfWord::NumberingDecimal},
    {"pnucrm", RtfWord::NumberingUpperRoman},
    {"pnlcrm", RtfWord::NumberingLowerRoman},
    {"pnucltr", RtfWord::NumberingUpperLetter},
    {"pnlcltr", RtfWord::NumberingLowerLetter},
    {"pnstart", RtfWord::NumberingStart},
    {"pnf", RtfWord::NumberingFont},
    {"pntxtb", RtfWord::NumberingTextBefore},
    {"pntxta", RtfWord::NumberingTextAfter},
    {"colortbl", RtfWord::ColorTable},
    {"pict", RtfWord::Picture},
    {"shppict", RtfWord::ShapePicture},
    {"f", RtfWord::Font},
    {"fcharset", RtfWord::FontCharset},
    {"cpg", RtfWord::FontCodePage},
    {"red", RtfWord::Red},
    {"green", RtfWord::Green},
    {"blue", RtfWord::Blue},
    {"plain", RtfWord::Plain},
    {"b", RtfWord::Bold},
    {"i", RtfWord::Italic},
    {"ul", RtfWord::Underline},
    {"uld", RtfWord::Underline},
    {"uldash", RtfWord::Underline},
    {"uldashd", RtfWord::Underline},
    {"uldashdd", RtfWord::Underline},
    {"uldb", RtfWord::Underline},
    {"ulhwave", RtfWord::Underline},
    {"ulldash", RtfWord::Underline},
    {"ulth", RtfWord::Underline},
    {"ulthd", RtfWord::Underline},
    {"ulthdash", RtfWord::Underline},
    {"ulthdashd", RtfWord::Underline},
    {"ulthdashdd", RtfWord::Underline},
    {"ulthldash", RtfWord::Underline},
    {"ululdbwave", RtfWord::Underline},
    {"ulw", RtfWord::Underline},
    {"ulwave", RtfWord::Underline},
    {"ulnone", RtfWord::UnderlineNone},
    {"strike", RtfWord::Strike},
    {"striked", RtfWord::Strike},
    {"fs", RtfWord::FontSize},
    {"cf", RtfWord::ColorIndex},
    {"highlight", RtfWord::Highlight},
    {"v", RtfWord::Hidden},
    {"pard", RtfWord::ParagraphDefault},
    {"ql", RtfWord::AlignLeft},
    {"qc", RtfWord::AlignCenter},
    {"qr", RtfWord::AlignRight},
    {"qj", RtfWord::AlignJustify},
    {"qd", RtfWord::AlignJustify},
    {"li", RtfWord::LeftIndent},
    {"lin", RtfWord::LeftIndent},
    {"ri", RtfWord::RightIndent},
    {"rin", RtfWord::RightIndent},
    {"fi", RtfWord::FirstLineIndent},
    {"tx", RtfWord::TabPosition},
    {"tqr", RtfWord::TabRight},
    {"tqc", RtfWord::TabCenter},
    {"tqdec", RtfWord::TabDecimal},
    {"tb", RtfWord::TabBar},
    {"par", RtfWord::Paragraph},
    {"page", RtfWord::Paragraph},
    {"sect", RtfWord::Paragraph},
    {"column", RtfWord::Paragraph},
    {"line", RtfWord::Line},
    {"cell", RtfWord::Cell},
    {"row", RtfWord::Row},
    {"nestcell", RtfWord::NestedCell},
    {"nestrow", RtfWord::NestedRow},
    {"nesttableprops", RtfWord::NestedTableProperties},
    {"field", RtfWord::Field},
    {"fldinst", RtfWord::FieldInstruction},
    {"footnote", RtfWord::Footnote},
    {"ftnalt", RtfWord::EndnoteFlag},
    {"ftnstart", RtfWord::FootnoteStart},
    {"aftnstart", RtfWord::EndnoteStart},
    {"ftnnar", RtfWord::FootnoteArabic},
    {"ftnnalc", RtfWord::FootnoteLowerLetter},
    {"ftnnauc", RtfWord::FootnoteUpperLetter},
    {"ftnnrlc", RtfWord::FootnoteLowerRoman},
    {"ftnnruc", RtfWord::FootnoteUpperRoman},
    {"aftnnar", RtfWord::EndnoteArabic},
    {"aftnnalc", RtfWord::EndnoteLowerLetter},
    {"aftnnauc", RtfWord::EndnoteUpperLetter},
    {"aftnnrlc", RtfWord::EndnoteLowerRoman},
    {"aftnnruc", RtfWord::EndnoteUpperRoman},
    {"lfolevel", RtfWord::OverrideLevel},
    {"listoverridestartat", RtfWord::OverrideStartAt},
    {"tab", RtfWord::Tab},
    {"emdash", RtfWord::EmDash},
    {"endash", RtfWord::EnDash},
    {"bullet", RtfWord::Bullet},
    {"lquote", RtfWord::LeftQuote},
    {"rquote", RtfWord::RightQuote},
    {"ldblquote", RtfWord::LeftDoubleQuote},
    {"rdblquote", RtfWord::RightDoubleQuote},
    {"emspace", RtfWord::EmSpace},
    {"enspace", RtfWord::EnSpace},
    {"qmspace", RtfWord::QuarterEmSpace},
    {"zwj", RtfWord::ZeroWidthJoiner},
    {"zwnj", RtfWord::ZeroWidthNonJoiner},
    {"zwbo", RtfWord::ZeroWidthBreak},
    {"pngblip", RtfWord::PngBlip},
    {"jpegblip", RtfWord::JpegBlip},
    {"emfblip", RtfWord::EmfBlip},
    {"wmetafile", RtfWord::WindowsMetafile},
    {"dibitmap", RtfWord::Bitmap},
    {"wbitmap", RtfWord::Bitmap},
    {"macpict", RtfWord::OtherPictureFormat},
    {"pmmetafile", RtfWord::OtherPictureFormat},
    {"picw", RtfWord::PictureWidth},
    {"pich", RtfWord::PictureHeight},
    {"picwgoal", RtfWord::PictureGoalWidth},
    {"pichgoal", RtfWord::PictureGoalHeight},
    {"picscalex", RtfWord::PictureScaleX},
    {"picscaley", RtfWord::PictureScaleY},
};

constexpr std::size_t kCount = std::size(kWords) + std::size(kSkipped);

constexpr std::array<Entry, kCount> sortedTable()
{
    std::array<Entry, kCount> table{};
    std::size_t n = 0;
    for (const Entry& entry : kWords)
        table[n++] = entry;
    for (std::string_view name : kSkipped)
        table[n++] = Entry{name, RtfWord::SkippedDestination};
    std::sort(table.begin(), table.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return table;
}

constexpr std::array<Entry, kCount> kTable = sortedTable();

// Every control word of every page is looked up, so the table is also kept as
// an open-addressed hash of positions in kTable: one short hash and, as a
// rule, one comparison instead of a binary search.
constexpr std::size_t kSlots = std::bit_ceil(kCount * 2);
constexpr std::uint16_t kEmptySlot = 0xFFFF;
static_assert(kCount < kEmptySlot);

constexpr std::size_t slotOf(std::string_view name)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash & (kSlots - 1);
}

constexpr std::array<std::uint16_t, kSlots> hashedTable()
{
    std::array<std::uint16_t, kSlots> slots{};
    slots.fill(kEmptySlot);
    for (std::size_t i = 0; i < kCount; ++i) {
        std::size_t slot = slotOf(kTable[i].name);
        while (slots[slot] != kEmptySlot)
            slot = (slot + 1) & (kSlots - 1);
        slots[slot] = static_cast<std::uint16_t>(i);
    }
    return slots;
}

constexpr std::array<std::uint16_t, kSlots> kSlotTable = hashedTable();

} // namespace

RtfWord RtfControlWords::lookup(QByteArrayView name)
{
    const std::string_view key(name.data(), static_cast<std::size_t>(name.size()));
    for (std::size_t slot = slotOf(key); kSlotTable[slot] != kEmptySlot;
         slot = (slot + 1) & (kSlots - 1)) {
        const Entry& entry = kTable[kSlotTable[slot]];
        if (entry.name == key)
            return entry.word;
    }
    return RtfWord::Unknown;
}
