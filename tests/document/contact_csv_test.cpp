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

// A Russian spreadsheet (semicolons, Windows-1251, the name in three
// columns), and Google's and Outlook's exports (Windows-1251, every value
// quoted, placeholders where a contact has nothing): no field lost or repeated.
TEST(ContactCsv, ReadsOtherProgramsTablesByTheirHeaders)
{
    const QByteArray russian =
        CodePage::encodeLossy(u"Фамилия;Имя;Отчество;Мобильный телефон;Рабочий телефон;Адрес эл. "
                              u"почты;Заметки;Должность\r\n"
                              "Иванов;Иван;Иванович;8 916 111-22-33;;ivan@mail.ru;;инженер\r\n"
                              ";;;;;;;\r\n"
                              "Сидорова;Анна;;;123-45-67;;соседка;\r\n"_qs);
    const std::pair<ContactsRead, QStringList> cases[] = {
        {ContactImport::read(russian),
         {u"Иванов Иван Иванович|8 916 111-22-33:c|ivan@mail.ru||||title=инженер"_qs,
          u"Сидорова Анна|123-45-67:w||соседка"_qs}},
        {readFixture("google.csv"),
         {u"Иванов Иван Иванович|+7 916 123-45-67:c,+7 903 765-43-21:c,+7 495 123-45-67:f,"
          "+7 496 555-00-11/Дача|ivan@mail.ru,ivan@yandex.ru,i.ivanov@firm.ru|Старый друг\n"
          "ключи у соседки||1980-02-29|nick=Ваня;cat=Друзья;org=ООО Ромашка;title=Инженер;"
          "Organization 1 - Department=Отдел разработки;url=https://ivanov.example.org;"
          "adr=ул. Ленина, 5, Москва, 101000, Россия"_qs,
          u"John Smith|+1 212 555 0100||||--07-04|cat=starred"_qs}},
        {readFixture("outlook.csv"),
         {u"Кузнецов Пётр Сергеевич|+7 (495) 200-00-01:f,+7 (495) 200-00-00:w,"
          "8 (495) 400-00-00:h,+7 (915) 300-00-00:c|kuznetsov@vektor.ru|Секретарь — Ольга||"
          "1970-04-03|org=ЗАО Вектор;title=Директор;cat=Клиенты, Москва;Spouse=Мария;"
          "url=vektor.ru;adr=Тверская ул., 7, Москва, 125009, Россия"_qs}},
    };
    for (const auto& [read, contacts] : cases) {
        EXPECT_EQ(std::pair(read.problem, read.line), std::pair(Problem::None, 0));
        EXPECT_EQ(described(read.contacts), contacts);
    }
    EXPECT_EQ(cases[0].first.contacts.at(1).line, 4);
}

TEST(ContactCsv, ABadLineGivesNoContactsAndItsLineNumber)
{
    const QString header = u"Name,Phone\r\n"_qs;
    const std::tuple<QString, Problem, int> cases[] = {
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
        EXPECT_EQ(std::tuple(read.problem, read.line, read.contacts.size()),
                  std::tuple(problem, line, 0u))
            << text.toStdString();
    }
    EXPECT_EQ(ContactImport::read(std::get<0>(cases[3]).toUtf8()).detail, u"Город, Улица"_qs);
}
