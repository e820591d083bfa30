#pragma once

#include "contacts/contact.h"
#include "contacts/contact_entry.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <map>

// What of a card the book speaks for, and an update that changes only that.
//
// The book owns a card's name (FN and N), its numbers (TEL with their kind or
// label), e-mail addresses, note, birthday and categories, and the
// organisation, job title, role, addresses, web sites and nickname an entry
// holds as "label: value" lines; the lines of messengers, anniversaries and
// spouses are the card's own and stay out of the note. Each property is compared as a sorted list of
// keys, its values as the book reads them. Every other line of a card
// (pictures, messengers, other programs' X- lines, labels of `itemN` groups,
// parameters the book has no word for) is passed on byte for byte.
class CardMerge
{
public:
    using Owned = QMap<QString, QStringList>; // property -> keys

    // `labels`: the words entries were given in front of what a card holds,
    // in each language they may have been written in.
    explicit CardMerge(std::vector<ContactEntry::Labels> labels = {});

    // The words as a list, and back, for the state file.
    static QStringList listOf(const ContactEntry::Labels& labels);
    static ContactEntry::Labels labelsOf(const QStringList& list);

    // What an entry says. `card` is the card it was taken from, if any: the
    // lines that card's other properties put into the entry are none of its
    // note.
    Owned ofEntry(const Contact& entry, const QByteArray& card = {}) const;
    Owned ofCard(const QByteArray& card) const;
    // What the entry a card became, filed under `category`, says: where the
    // entry's own earlier words are not known.
    Owned ofCardAsEntry(const QByteArray& card, const QString& category) const;

    // The properties whose keys differ.
    static QStringList changed(const Owned& before, const Owned& after);
    // The owned properties whose lines differ between two versions of a card.
    static QStringList changedLines(const QByteArray& before, const QByteArray& after);

    // `server` with each property the entry changed since `before` written as
    // the entry now has it: a value the entry dropped loses its line, a new one
    // gets a line, and every other line stays as it was. `card` is the one the
    // entry was taken from (see ofEntry).
    QByteArray merged(const QByteArray& server, const Owned& before, const Contact& entry,
                      const QByteArray& card) const;

private:
    struct Value
    {
        QString key;
        QByteArray line = {}; // the content line the book writes for it, unfolded
        QString label = {};   // a number's own label, written to its group
    };
    using Values = std::map<QString, std::vector<Value>>;

    Values valuesOf(const Contact& contact, bool entry) const;
    Values entryValues(const Contact& entry, const QByteArray& card) const;
    static Owned keysOf(const Values& values);

    std::vector<ContactEntry::Labels> m_labels;
};
