#pragma once

#include <QRect>
#include <QSize>

// `frmHelp` laid out in twips, without widgets: the topic list across the
// top with the copy button at its right, and the topic text in its frame
// below. Margins are fixed, so a window narrower or lower than they are
// (down to a minimized one) gets empty rectangles, never negative sizes,
// and no control leaves the window's left or top edge.
class HelpLayout
{
public:
    static constexpr int CopyButtonSize = 355;

    struct Geometry
    {
        QRect copyButton;
        QRect contents;
        QRect frame;
        QRect text;
    };

    // `innerSize`: the window's client area; `comboHeight`: the topic list's own height.
    static Geometry layOut(QSize innerSize, int comboHeight);

    // The window's size before the user gives it one: the topic text gets
    // lines of a comfortable length for reading and a screenful of them,
    // measured by the text's average character width and its line height.
    static QSize firstSize(int characterWidth, int lineHeight);
};
