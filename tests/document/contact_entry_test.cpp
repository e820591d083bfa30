#include "contact_printer.h"
#include "document/contact_entry.h"
#include "document/page_entries.h"
#include "document/page_record.h"

#include <QStringList>
#include <gtest/gtest.h>

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
TEST(ContactEntry, EntriesReadAsContacts)
{
    const std::pair<QString, QString> cases[] = {
        {u"Иванов Иван\t+7 (495) 123-45-67, ivan@mail.ru\r\n\t\tМосква, ул. Ленина, 5\r\n"
         "  моб. 8-916-000-11-22\r\n\r\n\t\tдача: 8 (49644) 5-12-34"_qs,
         u"Иванов Иван|+7 (495) 123-45-67,8-916-000-11-22:c,8 (49644) 5-12-34|ivan@mail.ru|"
         "Москва, ул. Ленина, 5\nдача|АБ"_qs},
        // Tabs inside the details separate like spaces.
        {u"Петров\tраб.\t123-45-67\tдача в\t\tКратово"_qs,
         u"Петров|123-45-67:w||дача в Кратово|АБ"_qs},
        // Only the first tab ends the name; a line of tabs alone is nothing.
        {u"Мастер\t\t\tпо вызову\r\n\t\t\t"_qs, u"Мастер|||по вызову|АБ"_qs},
        {u"Сидоров Пётр 8 916 123 45 67, sidorov@ya.ru"_qs,
         u"Сидоров Пётр|8 916 123 45 67|sidorov@ya.ru||АБ"_qs},
        {u"Аптека на углу\r\n   до 22:00"_qs, u"Аптека на углу|||до 22:00|АБ"_qs},
        // A number alone is the name too, so the card has one.
        {u"123-45-67"_qs, u"123-45-67|123-45-67|||АБ"_qs},
        {QString(), u"none"_qs},
        {u"\t\t\r\n\r\n"_qs, u"none"_qs},
        {u"Имя\tмоб.: 8-916-1234567; раб. тел. 123-45-67, дом 765-43-21, факс 2-22-22"_qs,
         u"Имя|8-916-1234567:c,123-45-67:w,765-43-21:h,2-22-22:f|||АБ"_qs},
        {u"Имя\tтел. 123-45-67, e-mail: a@b.ru; Москва"_qs, u"Имя|123-45-67|a@b.ru|Москва|АБ"_qs},
        {u"Имя\tМосква, тел. 123-45-67, ул. Мира"_qs, u"Имя|123-45-67||Москва, ул. Мира|АБ"_qs},
        // A label word that is part of another word is not a label.
        {u"Имя\tЛот 1234567"_qs, u"Имя|1234567||Лот|АБ"_qs},
        // Old six-digit city numbers count when written as numbers are.
        {u"Имя\tтел. 12-34-56"_qs, u"Имя|12-34-56|||АБ"_qs},
        {u"Имя\t+7 495 1234567"_qs, u"Имя|+7 495 1234567|||АБ"_qs},
        {u"Имя\tдр 17.05.1990, 123-45-67"_qs, u"Имя|123-45-67|||АБ|1990-05-17"_qs},
        {u"Имя\tд.р. 12.03.1985"_qs, u"Имя||||АБ|1985-03-12"_qs},
        {u"Имя\tBirthday: 1990-05-17"_qs, u"Имя||||АБ|1990-05-17"_qs},
        {u"Имя\tДень рождения: 03/04/1970; дача"_qs, u"Имя|||дача|АБ|1970-04-03"_qs},
        {u"Имя\tbirthday 05/17/1990"_qs, u"Имя||||АБ|1990-05-17"_qs},
        {u"Имя\tдр 29.02"_qs, u"Имя||||АБ|--02-29"_qs},
        {u"Имя\tдр 31.02.1990"_qs, u"Имя|||др 31.02.1990|АБ"_qs},
        {u"Имя\tдр 1.1.2000, свадьба др 2.2.2002"_qs,
         u"Имя|||свадьба др 2.2.2002|АБ|2000-01-01"_qs},
        {u"Ольга\tпочта: olga.k@mail.ru. Второй: иван@почта.рф, не адрес: a@b, @x.ru"_qs,
         u"Ольга||olga.k@mail.ru,иван@почта.рф|Второй: не адрес: a@b, @x.ru|АБ"_qs},
    };
    for (const auto& [entry, contact] : cases)
        EXPECT_EQ(contactOf(entry), contact) << entry.toStdString();
    for (const QString& details :
         {u"ул. Ленина, д. 12, кв. 345, 123456"_qs, u"свадьба 12.03.1985"_qs, u"с 1990-05-17"_qs,
          u"до 17/05/1990"_qs, u"счёт 40817810099910004312"_qs, u"код 12-34"_qs,
          u"ИНН7701234567"_qs, u"долг 1 500 000"_qs})
        EXPECT_EQ(contactOf(u"Имя\t"_qs + details), u"Имя|||"_qs + details + u"|АБ"_qs);
}

TEST(ContactEntry, AContactBecomesAnEntryThatReadsBackTheSame)
{
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
