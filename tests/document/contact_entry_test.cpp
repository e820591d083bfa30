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

Contact contactOf(const QString& entry)
{
    const std::optional<Contact> contact = ContactEntry::toContact(entry, u"АБ"_qs);
    EXPECT_TRUE(contact) << entry.toStdString();
    return contact.value_or(Contact{});
}

std::vector<ContactPhone> phonesOf(const QString& details)
{
    return contactOf(u"Имя\t"_qs + details).phones;
}

QString noteOf(const QString& details)
{
    return contactOf(u"Имя\t"_qs + details).note;
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

TEST(ContactEntry, TheNameIsBeforeTheFirstTabAndFollowOnLinesAreDetails)
{
    const Contact contact = contactOf(u"Иванов Иван\t+7 (495) 123-45-67, ivan@mail.ru\r\n"
                                      "\t\tМосква, ул. Ленина, 5\r\n"
                                      "  моб. 8-916-000-11-22\r\n"
                                      "\r\n"
                                      "\t\tдача: 8 (49644) 5-12-34"_qs);
    EXPECT_EQ(contact.name, u"Иванов Иван"_qs);
    EXPECT_EQ(contact.phones, (std::vector<ContactPhone>{{u"+7 (495) 123-45-67"_qs, Kind::Other},
                                                         {u"8-916-000-11-22"_qs, Kind::Cell},
                                                         {u"8 (49644) 5-12-34"_qs, Kind::Other}}));
    EXPECT_EQ(contact.emails, QStringList{u"ivan@mail.ru"_qs});
    EXPECT_EQ(contact.note, u"Москва, ул. Ленина, 5\nдача"_qs);
    EXPECT_EQ(contact.category, u"АБ"_qs);
    // Tabs inside the details separate like spaces.
    const Contact tabs = contactOf(u"Петров\tраб.\t123-45-67\tдача в\t\tКратово"_qs);
    EXPECT_EQ(tabs.name, u"Петров"_qs);
    EXPECT_EQ(tabs.phones, (std::vector<ContactPhone>{{u"123-45-67"_qs, Kind::Work}}));
    EXPECT_EQ(tabs.note, u"дача в Кратово"_qs);
    // Only the first tab ends the name; a line of tabs alone is nothing.
    EXPECT_EQ(contactOf(u"Мастер\t\t\tпо вызову\r\n\t\t\t"_qs).note, u"по вызову"_qs);
}

TEST(ContactEntry, AnEntryWithoutATabIsANameWithItsNumbersTakenOut)
{
    Contact contact = contactOf(u"Сидоров Пётр 8 916 123 45 67, sidorov@ya.ru"_qs);
    EXPECT_EQ(contact.name, u"Сидоров Пётр"_qs);
    EXPECT_EQ(contact.phones, (std::vector<ContactPhone>{{u"8 916 123 45 67"_qs, Kind::Other}}));
    EXPECT_EQ(contact.emails, QStringList{u"sidorov@ya.ru"_qs});
    contact = contactOf(u"Аптека на углу\r\n   до 22:00"_qs);
    EXPECT_EQ(contact.name, u"Аптека на углу"_qs);
    EXPECT_EQ(contact.note, u"до 22:00"_qs);
    // A number alone is the name too, so the card has one.
    contact = contactOf(u"123-45-67"_qs);
    EXPECT_EQ(contact.name, u"123-45-67"_qs);
    EXPECT_EQ(contact.phones.size(), 1u);

    EXPECT_FALSE(ContactEntry::toContact(QString(), u"АБ"_qs));
    EXPECT_FALSE(ContactEntry::toContact(u"\t\t\r\n\r\n"_qs, u"АБ"_qs));
}

TEST(ContactEntry, LabelsGiveTheKindAndLeaveTheNote)
{
    EXPECT_EQ(phonesOf(u"моб.: 8-916-1234567; раб. тел. 123-45-67, дом 765-43-21, факс 2-22-22"_qs),
              (std::vector<ContactPhone>{{u"8-916-1234567"_qs, Kind::Cell},
                                         {u"123-45-67"_qs, Kind::Work},
                                         {u"765-43-21"_qs, Kind::Home},
                                         {u"2-22-22"_qs, Kind::Fax}}));
    EXPECT_EQ(noteOf(u"тел. 123-45-67, e-mail: a@b.ru; Москва"_qs), u"Москва"_qs);
    EXPECT_EQ(noteOf(u"Москва, тел. 123-45-67, ул. Мира"_qs), u"Москва, ул. Мира"_qs);
    // A label word that is part of another word is not a label.
    EXPECT_EQ(noteOf(u"Лот 1234567"_qs), u"Лот"_qs);
    EXPECT_EQ(phonesOf(u"Лот 1234567"_qs).front().kind, Kind::Other);
}

TEST(ContactEntry, HouseNumbersPostcodesDatesAndAccountsAreNotTelephones)
{
    for (const QString& details :
         {u"ул. Ленина, д. 12, кв. 345, 123456"_qs, u"свадьба 12.03.1985"_qs, u"с 1990-05-17"_qs,
          u"до 17/05/1990"_qs, u"счёт 40817810099910004312"_qs, u"код 12-34"_qs,
          u"ИНН7701234567"_qs, u"долг 1 500 000"_qs}) {
        EXPECT_TRUE(phonesOf(details).empty()) << details.toStdString();
        EXPECT_EQ(noteOf(details), details) << details.toStdString();
    }
    // Old six-digit city numbers count when written as numbers are.
    EXPECT_EQ(phonesOf(u"тел. 12-34-56"_qs).size(), 1u);
    EXPECT_EQ(phonesOf(u"+7 495 1234567"_qs).front().number, u"+7 495 1234567"_qs);
}

TEST(ContactEntry, ALabelledDateIsTheBirthdayDayFirstWhereEitherCouldBe)
{
    const struct
    {
        QString details;
        QString birthday;
        QString note;
    } cases[] = {
        {u"др 17.05.1990, 123-45-67"_qs, u"1990-05-17"_qs, {}},
        {u"д.р. 12.03.1985"_qs, u"1985-03-12"_qs, {}},
        {u"Birthday: 1990-05-17"_qs, u"1990-05-17"_qs, {}},
        {u"День рождения: 03/04/1970; дача"_qs, u"1970-04-03"_qs, u"дача"_qs},
        {u"birthday 05/17/1990"_qs, u"1990-05-17"_qs, {}},
        {u"др 29.02"_qs, u"--02-29"_qs, {}},
        {u"др 31.02.1990"_qs, {}, u"др 31.02.1990"_qs},
        {u"др 1.1.2000, свадьба др 2.2.2002"_qs, u"2000-01-01"_qs, u"свадьба др 2.2.2002"_qs},
    };
    for (const auto& [details, birthday, note] : cases) {
        const Contact contact = contactOf(u"Имя\t"_qs + details);
        EXPECT_EQ(contact.birthday, birthday) << details.toStdString();
        EXPECT_EQ(contact.note, note) << details.toStdString();
    }
}

TEST(ContactEntry, MailAddressesEndBeforeThePunctuationAfterThem)
{
    const Contact contact =
        contactOf(u"Ольга\tпочта: olga.k@mail.ru. Второй: иван@почта.рф, не адрес: a@b, @x.ru"_qs);
    EXPECT_EQ(contact.emails, (QStringList{u"olga.k@mail.ru"_qs, u"иван@почта.рф"_qs}));
    EXPECT_EQ(contact.note, u"Второй: не адрес: a@b, @x.ru"_qs);
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
    const QString entry = ContactEntry::toEntry(full, kLabels);
    EXPECT_EQ(entry, u"Иванов Иван Иванович\tмоб. 8 916 123-45-67, +7 (495) 555-12-12, факс "
                     "2-22-22-22\r\n\t\tivan@mail.ru, i.ivanov@work.ru\r\n\t\tМосква, ул. "
                     "Ленина\r\n\t\tподъезд 2"_qs);

    const Contact more{u"Анна"_qs,
                       {{u"1-11-11-11"_qs, Kind::Cell, u"Дача"_qs}},
                       {},
                       u"заметка"_qs,
                       {},
                       0,
                       u"1990-05-17"_qs,
                       {{ContactField::Kind::Organisation, u"ООО Ромашка"_qs},
                        {ContactField::Kind::Labelled, u"ул. Мира, 1\nМосква"_qs, u"Дача"_qs}}};
    EXPECT_EQ(ContactEntry::toEntry(more, kLabels),
              u"Анна\tДача: 1-11-11-11\r\n\t\tДень рождения: 17.05.1990\r\n\t\tОрганизация: ООО "
              "Ромашка\r\n\t\tДача: ул. Мира, 1\r\n\t\tДача: Москва\r\n\t\tзаметка"_qs);
    const Contact onlyNote{{}, {}, {}, u"первая\nвторая"_qs, {}};
    const Contact onlyMail{u"Петров"_qs, {}, {u"p@x.ru"_qs}, {}, {}};
    EXPECT_EQ(ContactEntry::toEntry(onlyNote, kLabels), u"первая\tвторая"_qs);
    EXPECT_EQ(ContactEntry::toEntry(onlyMail, kLabels), u"Петров\tp@x.ru"_qs);
    EXPECT_EQ(ContactEntry::toEntry(Contact{}, kLabels), QString());

    // On a page the entries stay whole, and each reads back as it was.
    full.name = u"Иванов Иван Иванович"_qs;
    full.note = u"Москва, ул. Ленина\nподъезд 2"_qs;
    const PageRecord page{
        u"АБ"_qs, entry + u"\r\n"_qs + ContactEntry::toEntry(onlyMail, kLabels) + u"\r\n"_qs,
        PageRecord::AddressPage};
    const std::vector<Contact> back = ContactEntry::ofPage(page);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], full);
    EXPECT_EQ(back[1], (Contact{u"Петров"_qs, {}, {u"p@x.ru"_qs}, {}, u"АБ"_qs}));
}
