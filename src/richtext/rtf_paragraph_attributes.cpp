#include "richtext/rtf_paragraph_attributes.h"

#include "richtext/document_units.h"
#include "richtext/left_tab.h"
#include "richtext/rtf_output.h"

#include <QTextBlockFormat>
#include <cmath>

namespace {

char alignmentOf(Qt::Alignment alignment, Qt::LayoutDirection direction)
{
    const Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignJustify)
        return 'j';
    if (h & Qt::AlignHCenter)
        return 'c';
    if (h & Qt::AlignRight)
        return 'r';
    if ((h & Qt::AlignTrailing) && direction != Qt::RightToLeft)
        return 'r';
    return 'l';
}

} // namespace

RtfParagraphAttributes RtfParagraphAttributes::of(const QTextBlockFormat& format,
                                                  double indentWidth)
{
    const auto twips = [](double units) { return int(std::lround(DocumentUnits::toTwips(units))); };
    RtfParagraphAttributes a;
    a.alignment = alignmentOf(format.alignment(), format.layoutDirection());
    a.leftIndent = twips(format.leftMargin() + format.indent() * indentWidth);
    a.rightIndent = twips(format.rightMargin());
    a.firstIndent = twips(format.textIndent());
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    a.tabs.reserve(tabs.size());
    // Qt counts a stop from where the first line begins, the file from the margin.
    for (const QTextOption::Tab& tab : tabs)
        a.tabs.append(
            {twips(tab.position) + a.leftIndent + a.firstIndent, int(LeftTab::kindOf(tab))});
    return a;
}

void RtfParagraphAttributes::write(RtfOutput& out) const
{
    out.controlWord("\\pard");
    if (firstIndent != 0)
        out.controlWord("\\fi", firstIndent);
    if (leftIndent != 0)
        out.controlWord("\\li", leftIndent);
    if (rightIndent != 0)
        out.controlWord("\\ri", rightIndent);
    switch (alignment) {
    case 'c':
        out.controlWord("\\qc");
        break;
    case 'r':
        out.controlWord("\\qr");
        break;
    case 'j':
        out.controlWord("\\qj");
        break;
    default:
        break;
    }
    for (const TabStop& tab : tabs) {
        switch (tab.kind) {
        case QTextOption::RightTab:
            out.controlWord("\\tqr");
            break;
        case QTextOption::CenterTab:
            out.controlWord("\\tqc");
            break;
        case QTextOption::DelimiterTab:
            out.controlWord("\\tqdec");
            break;
        default:
            break;
        }
        out.controlWord("\\tx", tab.twips);
    }
}
