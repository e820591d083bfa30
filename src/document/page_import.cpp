#include "document/page_import.h"

#include "richtext/rtf_parser.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

struct Range
{
    int from;
    int to;
};

// A run of tabs at the start of a line keeps two, anywhere else one.
qsizetype tabsKept(bool atLineStart)
{
    return atLineStart ? 2 : 1;
}

bool isLineBreak(QChar ch)
{
    return ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator ||
           ch == QChar::ParagraphSeparator;
}

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
            atLineStart =
                isLineBreak(ch) || (atLineStart && ch == QChar::ObjectReplacementCharacter);
            ++i;
            continue;
        }
        const qsizetype runStart = i;
        while (i < text.size() && text.at(i) == u'\t')
            ++i;
        const qsizetype keep = tabsKept(atLineStart);
        if (i - runStart > keep)
            ranges.push_back(
                {base + static_cast<int>(runStart + keep), base + static_cast<int>(i)});
        atLineStart = false;
    }
}

} // namespace

QString PageImport::Import(const QString& pageText)
{
    const bool collapse = needsCollapse(pageText);
    if (!collapse && RtfParser::isRtf(pageText))
        return pageText;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(pageText, doc);
    if (collapse)
        CollapseTabs(doc);
    return RtfWriter::writeString(doc);
}

void PageImport::CollapseTabs(QTextDocument& doc)
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

bool PageImport::needsCollapse(const QString& pageText)
{
    const QString plain = RtfPlainText::extract(pageText);
    bool atLineStart = true;
    qsizetype i = 0;
    while (i < plain.size()) {
        if (plain.at(i) != u'\t') {
            atLineStart = isLineBreak(plain.at(i));
            ++i;
            continue;
        }
        const qsizetype runStart = i;
        while (i < plain.size() && plain.at(i) == u'\t')
            ++i;
        if (i - runStart > tabsKept(atLineStart))
            return true;
        atLineStart = false;
    }
    return false;
}
