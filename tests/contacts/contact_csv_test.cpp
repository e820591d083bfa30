#include "contact_printer.h"
#include "contacts/contact_csv.h"
#include "contacts/contact_import.h"
#include "contacts/csv_table.h"
#include "contacts/vcard_reader.h"
#include "core/code_page.h"
#include "unit_test.h"

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
    return {{u"Иванов, Иван \"Ваня\""_qs,
             {{u"+7 (916) 123-45-67"_qs, Kind::Cell},
              {u"123-45-67"_qs, Kind::Other},
              {u"2-22-22"_qs, Kind::Fax}},
             {u"ivan@mail.ru"_qs, u"иван@почта.рф"_qs},
             u"Москва; ул. Ленина\nподъезд 2"_qs,
             u"АБ"_qs},
            {u"Пустой"_qs, {}, {}, {}, {}, 0, u"1990-05-17"_qs},
            {u" пробелы "_qs, {{u"555-55-55"_qs, Kind::Work}}, {}, u"\"\""_qs, u"Врачи, Дача"_qs}};
}

} // namespace

TEST(ContactCsv, WritesAHeaderRowQuotesWhereNeededAndCrLfAndReadsBackWhatItWrote)
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
    // Read back, it gives what it wrote.
    std::vector<Contact> expected = awkwardContacts();
    const ContactsRead read = ContactImport::read(bytes);
    ASSERT_TRUE(read.ok());
    // Cells are trimmed, and the page an entry goes to is its category: the
    // file's are a field.
    expected[2].name = u"пробелы"_qs;
    for (Contact& contact : expected) {
        if (!contact.category.isEmpty())
            contact.fields = {{Field::Categories, std::exchange(contact.category, {})}};
    }
    EXPECT_EQ(read.contacts, expected);
    EXPECT_EQ(read.contacts[1].line, 4) << "the line break inside the note counts";
}

TEST(ContactImport, ReadsOtherProgramsFilesByTheirHeadersAndABadLineGivesNoContacts)
{
    for (const DataCase& c : readCases("contacts/contact_files.cases")) {
        SCOPED_TRACE(c.name);
        const ContactsRead read = readFixture(c.parts.value(0).constData());
        EXPECT_EQ(std::pair(read.problem, read.line), std::pair(Problem::None, 0));
        QStringList expected;
        for (qsizetype i = 1; i < c.parts.size(); ++i)
            expected << c.text(i);
        EXPECT_EQ(described(read.contacts), expected);
    }
    EXPECT_EQ(readFixture("russian.csv").contacts.at(1).line, 4);
    // A bad line gives no contacts and its line number.
    for (const DataCase& c : readCases("contacts/contact_problems.cases")) {
        const ContactsRead read = c.text(0).contains(u"VCARD"_qs)
                                      ? VCardReader::read(c.text(0))
                                      : ContactImport::read(c.parts.value(0));
        const QString detail = read.detail.isEmpty() ? QString() : u": "_qs + read.detail;
        EXPECT_EQ(u"%1 at line %2"_qs.arg(problemName(read.problem)).arg(read.line) + detail,
                  c.text(1))
            << c.name;
        EXPECT_TRUE(read.contacts.empty()) << c.name;
    }
    // A name after a thousand columns of nothing is not looked for.
    const ContactsRead wide = ContactImport::read(
        (QStringList(1024, u"Город"_qs).join(u',') + u",Name\r\nАнна\r\n"_qs).toUtf8());
    EXPECT_EQ(std::tuple(wide.problem, wide.line, wide.contacts.size()),
              std::tuple(Problem::NoColumns, 1, 0u));
}
