#include "core/code_page.h"
#include "document/contact_csv.h"
#include "document/contact_import.h"
#include "document/csv_table.h"

#include <gtest/gtest.h>

namespace {

using Kind = ContactPhone::Kind;
using Problem = ContactsRead::Problem;

std::vector<Contact> awkwardContacts()
{
    return {
        {u"Иванов, Иван \"Ваня\""_qs,
         {{u"+7 (916) 123-45-67"_qs, Kind::Cell},
          {u"123-45-67"_qs, Kind::Other},
          {u"2-22-22"_qs, Kind::Fax}},
         {u"ivan@mail.ru"_qs, u"иван@почта.рф"_qs},
         u"Москва; ул. Ленина\nподъезд 2"_qs,
         u"АБ"_qs},
        {u"Пустой"_qs, {}, {}, {}, {}},
        {u" пробелы "_qs, {{u"555-55-55"_qs, Kind::Work}}, {}, u"\"\""_qs, u"Врачи, Дача"_qs},
    };
}

} // namespace

TEST(ContactCsv, WritesAHeaderRowQuotesWhereNeededAndCrLf)
{
    const std::vector<Contact> contacts = awkwardContacts();
    const QByteArray bytes = ContactCsv::write(contacts);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.sliced(3)),
              u"Name,Phone,E-mail,Note,Category\r\n"
              "\"Иванов, Иван \"\"Ваня\"\"\",\"+7 (916) 123-45-67 (cell); 123-45-67; 2-22-22 "
              "(fax)\",\"ivan@mail.ru; иван@почта.рф\",\"Москва; ул. Ленина\nподъезд 2\",АБ\r\n"
              "Пустой,,,,\r\n"
              " пробелы ,555-55-55 (work),,\"\"\"\"\"\",\"Врачи, Дача\"\r\n"_qs);
}

TEST(ContactCsv, ReadsBackWhatItWrites)
{
    std::vector<Contact> contacts = awkwardContacts();
    const ContactsRead read = ContactImport::read(ContactCsv::write(contacts));
    ASSERT_TRUE(read.ok());
    // Cells are trimmed, and the page an entry goes to is its category.
    contacts[2].name = u"пробелы"_qs;
    for (Contact& contact : contacts)
        contact.category.clear();
    EXPECT_EQ(read.contacts, contacts);
    EXPECT_EQ(read.contacts[1].line, 4) << "the line break inside the note counts";
}

TEST(ContactCsv, ReadsOtherProgramsTablesByTheirHeaders)
{
    // A Russian spreadsheet: semicolons, Windows-1251, the name in three columns.
    const QByteArray russian =
        CodePage::encodeLossy(u"Фамилия;Имя;Отчество;Мобильный телефон;Рабочий телефон;Адрес эл. "
                              u"почты;Заметки;Должность\r\n"
                              "Иванов;Иван;Иванович;8 916 111-22-33;;ivan@mail.ru;;инженер\r\n"
                              ";;;;;;;\r\n"
                              "Сидорова;Анна;;;123-45-67;;соседка;\r\n"_qs);
    ContactsRead read = ContactImport::read(russian);
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    ASSERT_EQ(read.contacts.size(), 2u);
    EXPECT_EQ(read.contacts[0].name, u"Иванов Иван Иванович"_qs);
    EXPECT_EQ(read.contacts[0].phones,
              (std::vector<ContactPhone>{{u"8 916 111-22-33"_qs, Kind::Cell}}));
    EXPECT_EQ(read.contacts[0].emails, QStringList{u"ivan@mail.ru"_qs});
    EXPECT_EQ(read.contacts[0].note, u"Должность: инженер"_qs);
    EXPECT_EQ(read.contacts[1].phones, (std::vector<ContactPhone>{{u"123-45-67"_qs, Kind::Work}}));
    EXPECT_EQ(read.contacts[1].note, u"соседка"_qs);
    EXPECT_EQ(read.contacts[1].line, 4);

    // Google's export: a value and a type column per number, several values in one cell.
    read = ContactImport::read(
        u"Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - "
        "Value\nОльга К.,Ольга,К.,* Home,o@x.ru ::: o2@x.ru,Mobile,+7 900 000-00-00\n"_qs.toUtf8());
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.contacts.size(), 1u);
    EXPECT_EQ(read.contacts[0].name, u"Ольга К."_qs);
    EXPECT_EQ(read.contacts[0].emails, (QStringList{u"o@x.ru"_qs, u"o2@x.ru"_qs}));
    EXPECT_EQ(read.contacts[0].phones.size(), 1u);
    EXPECT_EQ(read.contacts[0].note, QString());
}

TEST(ContactCsv, ABadLineGivesNoContactsAndItsLineNumber)
{
    const QString header = u"Name,Phone\r\n"_qs;
    const struct
    {
        QString text;
        Problem problem;
        int line;
    } cases[] = {
        {header + u"\"Анна\nКарловна\",1\r\nБорис \"Б\",2\r\n"_qs, Problem::QuoteInValue, 4},
        {header + u"Анна,1\r\n\"Борис\" Б,2\r\n"_qs, Problem::TextAfterQuote, 3},
        {header + u"Анна,1\r\n\"Борис,2\r\nВера,3\r\n"_qs, Problem::QuoteNotClosed, 3},
        {u"Город,Улица\r\nМосква,Ленина\r\n"_qs, Problem::NoColumns, 1},
        {header + u",\r\n\r\n"_qs, Problem::NoContacts, 1},
    };
    for (const auto& [text, problem, line] : cases) {
        const ContactsRead read = ContactImport::read(text.toUtf8());
        EXPECT_EQ(read.problem, problem) << text.toStdString();
        EXPECT_EQ(read.line, line) << text.toStdString();
        EXPECT_TRUE(read.contacts.empty());
    }
    EXPECT_EQ(ContactImport::read(cases[3].text.toUtf8()).detail, u"Город, Улица"_qs);
}
