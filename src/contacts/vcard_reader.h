#pragma once

#include "contacts/contact.h"

#include <QStringView>

// Reads the cards of vCard 4.0, 3.0 and 2.1 files, as phones and other
// address books write them: lines ending in CR LF, LF, CR or CR CR LF,
// folded lines, escapes, the TYPE of numbers, and the quoted-printable values
// with a CHARSET that older phones write. The name is FN with the additional
// name of N where FN lacks it, else N, else the organisation. BDAY is the
// birthday; ORG, TITLE, ADR, URL, NICKNAME and CATEGORIES are fields, and so
// is any value a label names ("item1.X-ABLabel"); a labelled number keeps its
// label. Properties with no place in an entry (pictures, keys, the program's
// own X- lines) are passed over.
class VCardReader
{
public:
    // Whether the text's first line that is not blank opens a card.
    static bool looksLikeVCard(QStringView text);
    // Every card, or the first bad line and no contacts at all.
    static ContactsRead read(QStringView text, const StopRequest& stop = {});
};
