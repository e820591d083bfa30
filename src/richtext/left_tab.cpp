#include "richtext/left_tab.h"

namespace {

constexpr QChar kNeverInParagraph = QChar::ParagraphSeparator;

} // namespace

QTextOption::Tab LeftTab::at(qreal position)
{
    return QTextOption::Tab(position, QTextOption::DelimiterTab, kNeverInParagraph);
}

QTextOption::TabType LeftTab::kindOf(const QTextOption::Tab& tab)
{
    if (tab.type == QTextOption::DelimiterTab && tab.delimiter == kNeverInParagraph)
        return QTextOption::LeftTab;
    return tab.type;
}
