#include "contact_printer.h"
#include "core/code_page.h"
#include "document/contact_csv.h"
#include "document/contact_import.h"
#include "document/csv_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using Kind = ContactPhone::Kind;
using Field = ContactField::Kind;
using Problem = ContactsRead::Problem;

ContactsRead readFixture(const char* name)
{
    return ContactImport::read(
        readAll(QStringLiteral(VELKARO_TEST_DATA "/contacts/") + QLatin1StringView(name)));
}

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
        {u"Пустой"_qs, {}, {}, {}, {}, 0, u"1990-05-17"_qs},
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
              u"Name,Phone,E-mail,Note,Category,Birthday,UID\r\n"
              "\"Иванов, Иван \"\"Ваня\"\"\",\"+7 (916) 123-45-67 (cell); 123-45-67; 2-22-22 "
              "(fax)\",\"ivan@mail.ru; иван@почта.рф\",\"Москва; ул. Ленина\nподъезд 2\",АБ,,\r\n"
              "Пустой,,,,,1990-05-17,\r\n"
              " пробелы ,555-55-55 (work),,\"\"\"\"\"\",\"Врачи, Дача\",,\r\n"_qs);
}

TEST(ContactCsv, ReadsBackWhatItWrites)
{
    std::vector<Contact> contacts = awkwardContacts();
    const ContactsRead read = ContactImport::read(ContactCsv::write(contacts));
    ASSERT_TRUE(read.ok());
    // Cells are trimmed, and the page an entry goes to is its category: the
    // file's are a field.
    contacts[2].name = u"пробелы"_qs;
    for (Contact& contact : contacts) {
        if (!contact.category.isEmpty())
            contact.fields = {{Field::Categories, std::exchange(contact.category, {})}};
    }
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
    EXPECT_EQ(read.contacts[0].fields, (std::vector<ContactField>{{Field::Title, u"инженер"_qs}}));
    EXPECT_EQ(read.contacts[1].phones, (std::vector<ContactPhone>{{u"123-45-67"_qs, Kind::Work}}));
    EXPECT_EQ(read.contacts[1].note, u"соседка"_qs);
    EXPECT_EQ(read.contacts[1].line, 4);
}

TEST(ContactCsv, ReadsGoogleAndOutlookExportsWithoutLosingOrRepeatingAField)
{
    const ContactsRead google = readFixture("google.csv");
    ASSERT_TRUE(google.ok()) << int(google.problem) << " line " << google.line;
    const std::vector<Contact> fromGoogle{
        {u"Иванов Иван Иванович"_qs,
         {{u"+7 916 123-45-67"_qs, Kind::Cell},
          {u"+7 903 765-43-21"_qs, Kind::Cell},
          {u"+7 495 123-45-67"_qs, Kind::Fax},
          {u"+7 496 555-00-11"_qs, Kind::Other, u"Дача"_qs}},
         {u"ivan@mail.ru"_qs, u"ivan@yandex.ru"_qs, u"i.ivanov@firm.ru"_qs},
         u"Старый друг\nключи у соседки"_qs,
         {},
         0,
         u"1980-02-29"_qs,
         {{Field::Nickname, u"Ваня"_qs},
          {Field::Categories, u"Друзья"_qs},
          {Field::Organisation, u"ООО Ромашка"_qs},
          {Field::Title, u"Инженер"_qs},
          {Field::Labelled, u"Отдел разработки"_qs, u"Organization 1 - Department"_qs},
          {Field::Url, u"https://ivanov.example.org"_qs},
          {Field::Address, u"ул. Ленина, 5, Москва, 101000, Россия"_qs}}},
        {u"John Smith"_qs,
         {{u"+1 212 555 0100"_qs, Kind::Other}},
         {},
         {},
         {},
         0,
         u"--07-04"_qs,
         {{Field::Categories, u"starred"_qs}}},
    };
    EXPECT_EQ(google.contacts, fromGoogle);

    // Windows-1251, every value quoted, and placeholders where a contact has nothing.
    const ContactsRead outlook = readFixture("outlook.csv");
    ASSERT_TRUE(outlook.ok()) << int(outlook.problem) << " line " << outlook.line;
    const std::vector<Contact> fromOutlook{
        {u"Кузнецов Пётр Сергеевич"_qs,
         {{u"+7 (495) 200-00-01"_qs, Kind::Fax},
          {u"+7 (495) 200-00-00"_qs, Kind::Work},
          {u"8 (495) 400-00-00"_qs, Kind::Home},
          {u"+7 (915) 300-00-00"_qs, Kind::Cell}},
         {u"kuznetsov@vektor.ru"_qs},
         u"Секретарь — Ольга"_qs,
         {},
         0,
         u"1970-04-03"_qs,
         {{Field::Organisation, u"ЗАО Вектор"_qs},
          {Field::Title, u"Директор"_qs},
          {Field::Categories, u"Клиенты, Москва"_qs},
          {Field::Labelled, u"Мария"_qs, u"Spouse"_qs},
          {Field::Url, u"vektor.ru"_qs},
          {Field::Address, u"Тверская ул., 7, Москва, 125009, Россия"_qs}}},
    };
    EXPECT_EQ(outlook.contacts, fromOutlook);
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
        // A name after a thousand columns of nothing is not looked for.
        {QStringList(1024, u"Город"_qs).join(u',') + u",Name\r\nАнна\r\n"_qs, Problem::NoColumns,
         1},
    };
    for (const auto& [text, problem, line] : cases) {
        const ContactsRead read = ContactImport::read(text.toUtf8());
        EXPECT_EQ(read.problem, problem) << text.toStdString();
        EXPECT_EQ(read.line, line) << text.toStdString();
        EXPECT_TRUE(read.contacts.empty());
    }
    EXPECT_EQ(ContactImport::read(cases[3].text.toUtf8()).detail, u"Город, Улица"_qs);
}
