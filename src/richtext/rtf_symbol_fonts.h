#pragma once

#include "richtext/rtf_code_pages.h"

#include <QStringView>

// Fonts of the symbol character set (\fcharset2) draw their own pictures for
// byte values, so their text is no code page's: the Windows control shows a
// Greek alpha for an "a" in Symbol and a check mark for a "ü" in Wingdings.
// The reader turns what we know of such fonts into the Unicode characters
// they show, so that the text survives any font and is written back as such.
class RtfSymbolFonts
{
public:
    // Where Windows puts a symbol font's bytes in Unicode: U+F000 plus the byte.
    static constexpr char16_t PrivateUseBase = 0xF000;

    // The characters the font shows for each byte, or nullptr for a font we
    // know nothing of; bytes it has no character for stay at PrivateUseBase.
    static const RtfCodePages::Table* table(QStringView fontName);
};
