#pragma once

#include <QTextOption>

// A left tab stop as page documents hold it. For every left tab it places,
// Qt measures the text from the tab to the end of its paragraph, so a long
// paragraph full of tabs takes quadratic time to lay out. A delimiter tab
// whose delimiter can never occur inside a paragraph (the paragraph
// separator) is placed exactly where a left tab is, without that measuring.
class LeftTab
{
public:
    static QTextOption::Tab at(qreal position);
    // The kind a stop is written as: both forms of a left stop are LeftTab.
    static QTextOption::TabType kindOf(const QTextOption::Tab& tab);
};
