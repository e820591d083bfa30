#pragma once

#include <QRect>
#include <QSize>

// `frmInputBoxEx` laid out in twips, without widgets. The window is drawn for
// a prompt of one design width; fitting it to the real prompt moves the text
// box and both buttons sideways so that the text box starts 180 twips right of
// the prompt, and makes the window narrower or wider by the same amount.
class InputBoxLayout
{
public:
    struct Geometry
    {
        QRect prompt;
        QRect text;
        QRect okButton;
        QRect cancelButton; // ends where `txtText` ends
        QSize clientSize;
    };

    // `promptSize`: the prompt's own size, as it sizes itself to its text.
    static Geometry fit(QSize promptSize);
};
