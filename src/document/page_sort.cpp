#include "document/page_sort.h"

#include "document/page_entries.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numeric>
#include <queue>
#include <string_view>
#include <vector>

namespace {

const QLatin1StringView kLineBreak("\r\n");

std::u16string_view codeUnits(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())};
}

// Equal keys get equal ranks, so ranks compare as the keys do.
std::vector<std::uint32_t> ranksOf(const std::vector<QString>& keys)
{
    std::vector<std::uint32_t> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::sort(byKey.begin(), byKey.end(), [&keys](std::uint32_t a, std::uint32_t b) {
        return codeUnits(keys[a]) < codeUnits(keys[b]);
    });
    std::vector<std::uint32_t> ranks(keys.size());
    std::uint32_t rank = 0;
    for (size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && codeUnits(keys[byKey[i - 1]]) != codeUnits(keys[byKey[i]]))
            ++rank;
        ranks[byKey[i]] = rank;
    }
    return ranks;
}

// The order a selection sort leaves: for each position i in turn, the first
// entry with the smallest key at or after i is exchanged with the entry at i.
// The exchange moves the entry at i behind equal keys, so the order of equal
// keys depends on the whole run. A heap of (rank, position) finds that first
// smallest entry in O(log n) instead of a scan of the rest: every position
// not yet passed has exactly one current item in it, and the items of passed
// positions are dropped as they come up.
std::vector<std::uint32_t> selectionSortOrder(const std::vector<QString>& keys)
{
    const std::vector<std::uint32_t> rank = ranksOf(keys);
    const auto item = [](std::uint32_t r, std::uint32_t position) {
        return (std::uint64_t(r) << 32) | position;
    };
    std::vector<std::uint64_t> items(keys.size());
    for (std::uint32_t p = 0; p < keys.size(); ++p)
        items[p] = item(rank[p], p);
    std::priority_queue<std::uint64_t, std::vector<std::uint64_t>, std::greater<>> heap(
        std::greater<>(), std::move(items));

    std::vector<std::uint32_t> at(keys.size());
    std::iota(at.begin(), at.end(), 0u);
    for (std::uint32_t i = 0; i < at.size(); ++i) {
        while (std::uint32_t(heap.top()) < i)
            heap.pop();
        const std::uint32_t smallest = std::uint32_t(heap.top());
        heap.pop();
        std::swap(at[i], at[smallest]);
        if (smallest != i)
            heap.push(item(rank[at[smallest]], smallest));
    }
    return at;
}

bool isPlainParagraph(const QTextBlockFormat& format)
{
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    return (horizontal == Qt::AlignLeft || horizontal == Qt::AlignLeading) &&
           format.leftMargin() == 0 && format.rightMargin() == 0 && format.textIndent() == 0;
}

bool isPageFamily(const QTextCharFormat& format, const QFont& pageFont)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? QString() : families.first();
    return family.isEmpty() || family.compare(pageFont.family(), Qt::CaseInsensitive) == 0 ||
           family.compare(QLatin1StringView("Tahoma"), Qt::CaseInsensitive) == 0;
}

bool isPageSize(const QTextCharFormat& format, const QFont& pageFont)
{
    // Sizes are kept in half points.
    return !format.hasProperty(QTextFormat::FontPointSize) ||
           std::abs(format.fontPointSize() - pageFont.pointSizeF()) < 0.25;
}

bool isAutomaticColor(const QTextCharFormat& format)
{
    return !format.hasProperty(QTextFormat::ForegroundBrush) ||
           format.foreground().color() == QColor(Qt::black);
}

bool isPlainCharacters(const QTextCharFormat& format, const QFont& pageFont)
{
    return !format.isImageFormat() && format.fontWeight() == QFont::Normal &&
           !format.fontItalic() && !format.fontUnderline() && !format.fontStrikeOut() &&
           !format.hasProperty(QTextFormat::BackgroundBrush) && isAutomaticColor(format) &&
           isPageFamily(format, pageFont) && isPageSize(format, pageFont);
}

bool isPlainBlock(const QTextBlock& block, const QFont& pageFont)
{
    if (!isPlainParagraph(block.blockFormat()))
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (!isPlainCharacters(it.fragment().charFormat(), pageFont))
            return false;
    }
    return true;
}

} // namespace

QString PageSort::sortedText(const QString& plainText)
{
    const std::vector<QStringView> entries = PageEntries::split(plainText);
    std::vector<QString> keys;
    keys.reserve(entries.size());
    for (const QStringView entry : entries)
        keys.push_back(entry.toString().toLower());

    QString sorted;
    sorted.reserve(plainText.size() + 2);
    for (const std::uint32_t index : selectionSortOrder(keys)) {
        sorted += entries[index];
        sorted += kLineBreak;
    }
    return sorted;
}

bool PageSort::losesFormatting(const QString& storedText, const QFont& pageFont)
{
    if (!RtfParser::isRtf(QStringView(storedText)))
        return false;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(storedText, doc);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!isPlainBlock(block, pageFont))
            return true;
    }
    return false;
}
