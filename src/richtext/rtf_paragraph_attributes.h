#pragma once

#include <QList>

class QTextBlockFormat;
class RtfOutput;

// A paragraph format as the rich-edit control stores it: alignment, indents and
// tab stops in twips.
struct RtfParagraphAttributes
{
    struct TabStop
    {
        int twips = 0;
        int kind = 0; // QTextOption::TabType

        bool operator==(const TabStop&) const = default;
    };

    char alignment = 'l';
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    QList<TabStop> tabs;

    bool operator==(const RtfParagraphAttributes&) const = default;

    static RtfParagraphAttributes of(const QTextBlockFormat& format, double indentWidth);
    void write(RtfOutput& out) const;
};
