#include "core/code_page.h"
#include "document/contact_csv.h"
#include "document/contact_import.h"
#include "document/csv_table.h"
#include "python_reader.h"
#include "test_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
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

QString python()
{
    return pythonWith(u"csv"_qs);
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

TEST(ContactCsv, PythonsCsvModuleReadsEveryCell)
{
    const QString interpreter = python();
    if (interpreter.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"contacts.csv"_qs);
    const std::vector<Contact> contacts = awkwardContacts();
    ASSERT_TRUE(writeAll(path, ContactCsv::write(contacts)));
    const QString script = QStringLiteral(R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    print(json.dumps(list(csv.reader(f, strict=True))))
)");
    QString error;
    const std::optional<QByteArray> out = runPython(interpreter, script, {path}, &error);
    ASSERT_TRUE(out) << error.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(*out).array();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toVariant().toStringList(),
              (QStringList{u"Name"_qs, u"Phone"_qs, u"E-mail"_qs, u"Note"_qs, u"Category"_qs}));
    EXPECT_EQ(
        rows[1].toVariant().toStringList(),
        (QStringList{contacts[0].name, u"+7 (916) 123-45-67 (cell); 123-45-67; 2-22-22 (fax)"_qs,
                     u"ivan@mail.ru; иван@почта.рф"_qs, contacts[0].note, u"АБ"_qs}));
    EXPECT_EQ(rows[3].toVariant().toStringList(),
              (QStringList{u" пробелы "_qs, u"555-55-55 (work)"_qs, QString(), u"\"\""_qs,
                           u"Врачи, Дача"_qs}));
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

TEST(ContactCsv, ReadsWhatPythonsCsvModuleWrites)
{
    const QString interpreter = python();
    if (interpreter.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"theirs.csv"_qs);
    const QString script = QStringLiteral(R"(
import csv, sys
with open(sys.argv[1], 'w', encoding='utf-8', newline='') as f:
    w = csv.writer(f, quoting=csv.QUOTE_ALL)
    w.writerow(['Name', 'Mobile Phone', 'E-mail Address', 'Notes', 'Company'])
    w.writerow(['Петров "Пётр"', '8-916-000-11-22', 'p@x.ru', 'строка 1\r\nстрока 2', 'ООО, "Ромашка"'])
)");
    QString error;
    ASSERT_TRUE(runPython(interpreter, script, {path}, &error)) << error.toStdString();
    const ContactsRead read = ContactImport::read(readAll(path));
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    ASSERT_EQ(read.contacts.size(), 1u);
    const Contact& petrov = read.contacts[0];
    EXPECT_EQ(petrov.name, u"Петров \"Пётр\""_qs);
    EXPECT_EQ(petrov.phones, (std::vector<ContactPhone>{{u"8-916-000-11-22"_qs, Kind::Cell}}));
    EXPECT_EQ(petrov.emails, QStringList{u"p@x.ru"_qs});
    // A column this program has no place for is kept in the note under its name.
    EXPECT_EQ(petrov.note, u"Company: ООО, \"Ромашка\"\nстрока 1\nстрока 2"_qs);
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
        {QString(), Problem::NoContacts, 1},
    };
    for (const auto& [text, problem, line] : cases) {
        const ContactsRead read = ContactImport::read(text.toUtf8());
        EXPECT_EQ(read.problem, problem) << text.toStdString();
        EXPECT_EQ(read.line, line) << text.toStdString();
        EXPECT_TRUE(read.contacts.empty());
    }
    EXPECT_EQ(ContactImport::read(cases[3].text.toUtf8()).detail, u"Город, Улица"_qs);
}
