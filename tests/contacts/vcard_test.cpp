#include "contact_printer.h"
#include "contacts/contact_export.h"
#include "contacts/contact_import.h"
#include "contacts/person_name.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"
#include "python_reader.h"
#include "unit_test.h"

namespace {

using Kind = ContactPhone::Kind;
using Field = ContactField::Kind;
using Problem = ContactsRead::Problem;

QByteArray fixture(const char* name)
{
    return readAll(QStringLiteral(VELKARO_TEST_DATA "/contacts/") + QLatin1StringView(name));
}

// Every character that needs an escape, folding over two-octet letters, and
// a value right at the fold.
std::vector<Contact> awkwardContacts()
{
    return {{u"Иванов, Иван; \\старший\\"_qs,
             {{u"+7 (916) 123-45-67"_qs, Kind::Cell},
              {u"123-45-67"_qs, Kind::Other},
              {u"8 (495) 765-43-21"_qs, Kind::Work},
              {u"2-22-22"_qs, Kind::Home},
              {u"3-33-33"_qs, Kind::Fax}},
             {u"ivan@mail.ru"_qs, u"иван@почта.рф"_qs},
             u"Москва, ул. Ленина; подъезд 2\nдомофон \\35\nЁжик "_qs + QString(60, u'ж'),
             u"АБ, ВГ"_qs},
            {u"Без телефона"_qs, {}, {}, {}, u"Врачи"_qs},
            {QString(73, u'x'), {}, {}, {}, {}}};
}

} // namespace

TEST(VCardWriter, WritesVersion4CardsWithEscapesAndCrLfFoldedAt75OctetsWithoutSplittingALetter)
{
    const Contact contact{u"Петров, Пётр"_qs,
                          {{u"+7 916 000-11-22"_qs, Kind::Cell}, {u"555-12-12"_qs, Kind::Other}},
                          {u"petrov@mail.ru"_qs},
                          u"a;b\\c\nd"_qs,
                          u"АБ"_qs,
                          0,
                          u"--02-29"_qs};
    EXPECT_EQ(
        QString::fromUtf8(VCardWriter::write(std::span(&contact, 1))),
        u"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Петров\\, Пётр\r\nN:Петров\\, Пётр;;;;\r\n"
        "BDAY:--0229\r\nTEL;TYPE=cell:+7 916 000-11-22\r\nTEL:555-12-12\r\nEMAIL:petrov@mail.ru\r\n"
        "NOTE:a\\;b\\\\c\\nd\r\nCATEGORIES:АБ\r\nEND:VCARD\r\n"_qs);
    // Lines fold at 75 octets without splitting a letter.
    const std::vector<Contact> contacts = awkwardContacts();
    const QByteArray bytes = VCardWriter::write(contacts);
    QString unfolded;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        ASSERT_TRUE(line.endsWith('\r')) << "every line ends in CR LF";
        const QByteArray octets = line.chopped(1);
        EXPECT_LE(octets.size(), 75) << octets.toStdString();
        // A cut inside a letter would leave bytes that are no UTF-8 of their own.
        EXPECT_EQ(QString::fromUtf8(octets).toUtf8(), octets);
        if (octets.startsWith(' '))
            unfolded += QString::fromUtf8(octets.sliced(1));
        else
            unfolded += u'\n' + QString::fromUtf8(octets);
    }
    EXPECT_TRUE(unfolded.contains(u"\nFN:"_qs + QString(73, u'x') + u'\n'));
    EXPECT_TRUE(unfolded.contains(u"Ёжик "_qs + QString(60, u'ж')));
}

TEST(VCardReader, ReadsBackWhatTheWriterWritesAndPhoneExportsWhateverTheirLineEnds)
{
    std::vector<Contact> contacts = awkwardContacts();
    const ContactsRead read = VCardReader::read(QString::fromUtf8(VCardWriter::write(contacts)));
    ASSERT_TRUE(read.ok());
    // The page an entry goes to is its category: the file's are a field.
    contacts[0].fields = {{Field::Categories, std::exchange(contacts[0].category, {})}};
    contacts[1].fields = {{Field::Categories, std::exchange(contacts[1].category, {})}};
    EXPECT_EQ(read.contacts, contacts);
    EXPECT_EQ(read.contacts[1].line, 17) << "the line of its BEGIN, folds counted";
    // Phone exports read alike whatever their line ends.
    const QByteArray crLf = fixture("phone_v3.vcf");
    const QStringList expected = described(ContactImport::read(crLf).contacts);
    ASSERT_EQ(expected.size(), 2);
    for (const QByteArray& lineEnd : {QByteArray("\r\r\n"), QByteArray("\r"), QByteArray("\n")}) {
        const ContactsRead phone = ContactImport::read(QByteArray(crLf).replace("\r\n", lineEnd));
        ASSERT_TRUE(phone.ok()) << int(phone.problem) << " line " << phone.line;
        EXPECT_EQ(described(phone.contacts), expected) << lineEnd.toHex().toStdString();
        EXPECT_EQ(phone.contacts[1].line, 27) << lineEnd.toHex().toStdString();
    }
}

TEST(VCardReader, ReadsCardsVobjectWrites)
{
    const QString python = pythonWith(u"vobject"_qs);
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with vobject (python3-vobject) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"theirs.vcf"_qs);
    const QString script =
        QString::fromUtf8(readAll(QStringLiteral(VELKARO_TEST_DATA "/contacts/write_vobject.py")));
    QString error;
    ASSERT_TRUE(runPython(python, script, {path}, &error)) << error.toStdString();

    const ContactsRead read = VCardReader::read(QString::fromUtf8(readAll(path)));
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    // An empty FN falls back on N.
    EXPECT_EQ(described(read.contacts),
              QStringList({u"Петров, Пётр; старший|+7 (916) 000-11-22:c,123-45-67:w|"
                           "petrov@mail.ru|"_qs +
                               u"Длинная заметка "_qs.repeated(8) +
                               u"\nвторая строка, с запятой; и \\ чертой|||org=ООО Ромашка, "
                               "Отдел продаж;adr=ул. Ленина, 5, Москва, Россия"_qs,
                           u"Сидорова Анна Петровна|8 800 555-35-35"_qs}));
}

TEST(PersonName, SplitsPersonsNamesAndKeepsAnyOtherWhole)
{
    for (const DataCase& c : readCases("contacts/person_names.cases")) {
        const PersonName name = PersonName::of(c.text(0));
        const QString organisation = name.organisation ? u"|organisation"_qs : QString();
        EXPECT_EQ(QStringList({name.family, name.given, name.additional}).join(u'|') + organisation,
                  c.text(1))
            << c.name;
    }
    EXPECT_EQ((PersonName{u"Smith"_qs, u"John"_qs, u"Ronald"_qs}.joined()),
              u"John Ronald Smith"_qs);
}

TEST(ContactExport, AnEntryKeepsItsUidUntilItsNameOrPageChanges)
{
    const auto uids = [](const QString& first, const QString& second) {
        const std::vector<PageRecord> pages{{u"АБ"_qs, first, PageRecord::AddressPage},
                                            {u"Врачи"_qs, second, PageRecord::AddressPage}};
        QStringList out;
        for (const Contact& contact : ContactExport::ofBook(pages))
            out << contact.name + u'=' + contact.uid;
        return out;
    };
    const QStringList before =
        uids(u"Анна\t111-11-11\r\nБорис\t222-22-22\r\nАнна\t333-33-33"_qs, u"Вера"_qs);
    ASSERT_EQ(before.size(), 4);
    EXPECT_EQ(QSet<QString>(before.begin(), before.end()).size(), 4) << "equal names, own UIDs";
    EXPECT_TRUE(before[0].startsWith(u"Анна=urn:uuid:"_qs));
    // New numbers and notes, and an entry added after, leave every UID.
    const QStringList edited =
        uids(u"Анна\t999-99-99\r\n\t\tзаметка\r\nБорис\t2-22\r\nАнна\t3\r\nГена"_qs, u"Вера"_qs);
    EXPECT_EQ(edited.first(3) << edited.last(), before);
    // Renamed or moved: a new contact, and the one after it is no longer the second Анна.
    const QStringList renamed = uids(u"Анна\t1\r\nБорис Б.\t2\r\nАнна\t3"_qs, u"Вера"_qs);
    EXPECT_NE(renamed[1].section(u'=', 1), before[1].section(u'=', 1));
    EXPECT_EQ(renamed[2], before[2]);
    const QStringList moved = uids(u"Анна\t1\r\nАнна\t3"_qs, u"Вера\r\nБорис\t2"_qs);
    EXPECT_NE(moved[3].section(u'=', 1), before[1].section(u'=', 1));
    EXPECT_EQ(moved[2], before[3]);
}

// Export, import into an empty page of the same title and export again gives
// the same bytes; into another title only UID and CATEGORIES differ, and the
// first page's title stays among the groups.
TEST(ContactExport, ACardImportedAndExportedAgainIsTheSameCard)
{
    const ContactEntry::Labels labels{.cell = u"моб."_qs,
                                      .work = u"раб."_qs,
                                      .home = u"дом."_qs,
                                      .fax = u"факс"_qs,
                                      .birthday = u"День рождения"_qs,
                                      .categories = u"Группы"_qs,
                                      .phone = u"тел."_qs};
    const auto exported = [&labels](const QString& title, const QString& text) {
        const PageRecord page{title, text, PageRecord::AddressPage};
        return ContactExport::write(ContactExport::ofPage(page), ContactExport::Format::VCard,
                                    labels.categories);
    };
    const auto reimported = [&](const QByteArray& bytes, const QString& title) {
        return exported(title,
                        ContactImport::entries(ContactImport::read(bytes).contacts, labels, title));
    };
    const QByteArray first =
        exported(u"Друзья"_qs,
                 u"Дмитрий Дмитриевич Шостакович\tмоб. 8 916 123-45-67, тел. 09, "
                 "d@mail.ru\r\n\t\tдр 25.09.1906\r\n\t\tОрганизация: ООО Ромашка\r\n\t\t"
                 "ИНН 7701234567\r\nАнна Ивановна\tраб. тел. 144\r\n\t\tГруппы: Школа, Спорт\r\n"
                 "Мама\t123-45-67"_qs);
    EXPECT_EQ(reimported(first, u"Друзья"_qs), first);
    EXPECT_TRUE(first.contains("N:;Анна;Ивановна;;\r\n"));
    EXPECT_TRUE(first.contains("CATEGORIES:Друзья,Школа,Спорт\r\n"));
    const auto withoutIds = [](QByteArray card) {
        static const QRegularExpression ids(u"(UID|CATEGORIES):[^\r]*\r\n"_qs);
        return QString::fromUtf8(card).remove(ids);
    };
    const QByteArray other = reimported(first, u"Работа"_qs);
    EXPECT_EQ(withoutIds(other), withoutIds(first));
    EXPECT_TRUE(other.contains("CATEGORIES:Работа,Друзья,Школа,Спорт\r\n"));
}
