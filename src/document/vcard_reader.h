#pragma once

#include "document/contact.h"

#include <QStringView>

// Reads the cards of vCard 4.0, 3.0 and 2.1 files, as phones and other
// address books write them: folded lines, escapes, the TYPE of numbers, and
// the quoted-printable values with a CHARSET that older phones write. The
// name is FN, else N, else the organisation; ORG, TITLE, ADR and URL go into
// the note before NOTE itself. Properties with no place in an entry
// (pictures, keys, the program's own X- lines) are passed over.
class VCardReader
{
public:
    // Whether the text's first line that is not blank opens a card.
    static bool looksLikeVCard(QStringView text);
    // Every card, or the first bad line and no contacts at all.
    static ContactsRead read(QStringView text, const StopRequest& stop = {});
};
