#pragma once

#include "contacts/contact.h"

#include <QStringView>
#include <optional>
#include <vector>

struct PageRecord;

// An entry of an address page as a contact, and a contact as an entry. The
// name is what comes before the entry's first tab; telephone numbers and
// e-mail addresses are recognised anywhere in the details, together with the
// word in front of them ("тел.", "моб.", "раб.", "дом.", "факс", "e-mail:"),
// which gives a number its kind; a date after a birthday label ("др",
// "День рождения:", "Birthday:") is the birthday; what remains of the
// details is the note.
// An entry without a tab is a name with numbers or addresses in it.
class ContactEntry
{
public:
    // The words imported numbers of each kind get in front of them, in the
    // user's language; numbers of no particular kind get none. Then the
    // words before the lines of what else the contact holds.
    struct Labels
    {
        QString cell;
        QString work;
        QString home;
        QString fax;
        QString birthday = {};
        QString nickname = {};
        QString organisation = {};
        QString title = {};
        QString address = {};
        QString url = {};
        QString categories = {};
        QString role = {};
        QString messenger = {};
        QString anniversary = {};
        QString spouse = {};
        QString phone = {}; // before a number too short to read as one alone
    };

    // The contact an entry (as PageEntries gives it) describes, filed under
    // `category`; nullopt for an entry with nothing in it.
    static std::optional<Contact> toContact(QStringView entry, const QString& category);
    // The contacts of every entry of the page, filed under its title.
    static std::vector<Contact> ofPage(const PageRecord& page);

    // The entry that holds the contact, as a person would type it: the name,
    // a tab and the numbers; the e-mail addresses and each line of the note
    // on lines of their own, then the birthday and the other fields as
    // "label: value" lines, each indented by two tabs, so the entry stays whole
    // under the sort and lines up under the details column. Empty for a
    // contact with nothing in it. The category is left out: the page is it,
    // and so is a group of the page's title among the fields. `stop` is asked
    // after each line of a field or the note; the entry ends where it said so.
    static QString toEntry(const Contact& contact, const Labels& labels,
                           const StopRequest& stop = {});
};
