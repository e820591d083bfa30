#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// What a SYMBOL field names, as Word writes it in the field's instruction:
// SYMBOL 74 \f "Wingdings" \s 12. The number is decimal or 0x-hexadecimal;
// \u makes it a Unicode code point, otherwise it is a byte of the named font
// (or of the current one when no font is named).
struct RtfSymbolField
{
    static constexpr int MaxCode = 0x10FFFF;

    int code = 0;
    QString font;
    bool unicode = false;

    bool operator==(const RtfSymbolField&) const = default;

    // The field's instruction text as written, escapes resolved; nothing for
    // another kind of field or a number out of range.
    static std::optional<RtfSymbolField> parse(QByteArrayView instruction);
};
