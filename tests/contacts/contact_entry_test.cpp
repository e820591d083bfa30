#include "contact_printer.h"
#include "contacts/contact_entry.h"
#include "document/page_entries.h"
#include "document/page_record.h"
#include "unit_test.h"

namespace {

using Kind = ContactPhone::Kind;

const ContactEntry::Labels kLabels{u"моб."_qs,        u"раб."_qs,          u"дом."_qs,
                                   u"факс"_qs,        u"День рождения"_qs, u"Прозвище"_qs,
                                   u"Организация"_qs, u"Должность"_qs,     u"Адрес"_qs,
                                   u"Сайт"_qs,        u"Группы"_qs};

QStringList split(const QString& text)
{
    QStringList entries;
    for (const QStringView entry : PageEntries::split(text))
        entries << entry.toString();
    return entries;
}

// The entry read as a contact of the page "АБ", or "none".
QString contactOf(const QString& entry)
{
    const std::optional<Contact> contact = ContactEntry::toContact(entry, u"АБ"_qs);
    return contact ? described(*contact) : u"none"_qs;
}

} // namespace

TEST(PageEntries, AnEntryTakesItsIndentedAndEmptyLinesAndLosesItsSpaces)
{
    EXPECT_EQ(split(u"  Петров \t555\r\n\tул. Ленина\r\n  кв. 5\r\n\r\nАнна\r\n"_qs),
              (QStringList{u"Петров \t555\r\n\tул. Ленина\r\n  кв. 5\r\n"_qs, u"Анна\r\n"_qs}));
    // The first line starts an entry even when it is indented.
    EXPECT_EQ(split(u"\tзаметка\r\nБорис"_qs), (QStringList{u"\tзаметка"_qs, u"Борис"_qs}));
    EXPECT_EQ(split(QString()), QStringList{QString()});
}

// The name is before the first tab and follow-on lines are details; without a
// tab it is what is left when the numbers are taken out. Labels give a
// number's kind; house numbers, postcodes, dates and accounts are no numbers;
// a labelled date is the birthday, day first where either could be; mail
// addresses end before the punctuation after them.
TEST(ContactEntry, EntriesReadAsContactsAndAContactBecomesAnEntryThatReadsBackTheSame)
{
    for (const DataCase& c : readCases("contacts/contact_entries.cases")) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(contactOf(c.lines(0)), c.text(1));
    }
    // A contact becomes an entry that reads back the same.
    Contact full{u"Иванов\tИван\r\nИванович"_qs,
                 {{u"8 916 123-45-67"_qs, Kind::Cell},
                  {u"+7 (495) 555-12-12"_qs, Kind::Other},
                  {u"2-22-22-22"_qs, Kind::Fax}},
                 {u"ivan@mail.ru"_qs, u"i.ivanov@work.ru"_qs},
                 u"Москва,\tул. Ленина\n\n  подъезд 2  "_qs,
                 u"АБ"_qs};
    const Contact more{u"Анна"_qs,
                       {{u"1-11-11-11"_qs, Kind::Cell, u"Дача"_qs}},
                       {},
                       u"заметка"_qs,
                       {},
                       0,
                       u"1990-05-17"_qs,
                       {{ContactField::Kind::Organisation, u"ООО Ромашка"_qs},
                        {ContactField::Kind::Labelled, u"ул. Мира, 1\nМосква"_qs, u"Дача"_qs}}};
    const Contact onlyNote{{}, {}, {}, u"первая\nвторая"_qs, {}};
    const Contact onlyMail{u"Петров"_qs, {}, {u"p@x.ru"_qs}, {}, {}};
    QStringList entries;
    for (const Contact& contact : {full, more, onlyNote, onlyMail, Contact{}})
        entries << ContactEntry::toEntry(contact, kLabels);
    EXPECT_EQ(entries,
              QStringList({u"Иванов Иван Иванович\tмоб. 8 916 123-45-67, +7 (495) 555-12-12, факс "
                           "2-22-22-22\r\n\t\tivan@mail.ru, i.ivanov@work.ru\r\n\t\tМосква, ул. "
                           "Ленина\r\n\t\tподъезд 2"_qs,
                           u"Анна\tДача: 1-11-11-11\r\n\t\tДень рождения: 17.05.1990\r\n\t\t"
                           "Организация: ООО Ромашка\r\n\t\tДача: ул. Мира, 1\r\n\t\tДача: Москва"
                           "\r\n\t\tзаметка"_qs,
                           u"первая\tвторая"_qs, u"Петров\tp@x.ru"_qs, QString()}));

    // On a page the entries stay whole, and each reads back as it was.
    full.name = u"Иванов Иван Иванович"_qs;
    full.note = u"Москва, ул. Ленина\nподъезд 2"_qs;
    const PageRecord page{u"АБ"_qs, entries[0] + u"\r\n"_qs + entries[3] + u"\r\n"_qs,
                          PageRecord::AddressPage};
    EXPECT_EQ(described(ContactEntry::ofPage(page)),
              QStringList({described(full), u"Петров||p@x.ru||АБ"_qs}));
}
