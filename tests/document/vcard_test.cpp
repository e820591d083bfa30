#include "document/vcard_reader.h"
#include "document/vcard_writer.h"
#include "python_reader.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Kind = ContactPhone::Kind;
using Problem = ContactsRead::Problem;

// Every character that needs an escape, folding over two-octet letters, and
// a value right at the fold.
std::vector<Contact> awkwardContacts()
{
    return {
        {u"Иванов, Иван; \\старший\\"_qs,
         {{u"+7 (916) 123-45-67"_qs, Kind::Cell},
          {u"123-45-67"_qs, Kind::Other},
          {u"8 (495) 765-43-21"_qs, Kind::Work},
          {u"2-22-22"_qs, Kind::Home},
          {u"3-33-33"_qs, Kind::Fax}},
         {u"ivan@mail.ru"_qs, u"иван@почта.рф"_qs},
         u"Москва, ул. Ленина; подъезд 2\nдомофон \\35\nЁжик "_qs + QString(60, u'ж'),
         u"АБ, ВГ"_qs},
        {u"Без телефона"_qs, {}, {}, {}, u"Врачи"_qs},
        {QString(73, u'x'), {}, {}, {}, {}},
    };
}

} // namespace

TEST(VCardWriter, WritesVersion4CardsWithEscapesAndCrLf)
{
    const Contact contact{u"Петров, Пётр"_qs,
                          {{u"+7 916 000-11-22"_qs, Kind::Cell}, {u"555-12-12"_qs, Kind::Other}},
                          {u"petrov@mail.ru"_qs},
                          u"a;b\\c\nd"_qs,
                          u"АБ"_qs};
    EXPECT_EQ(QString::fromUtf8(VCardWriter::write(std::span(&contact, 1))),
              u"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Петров\\, Пётр\r\nN:Петров\\, Пётр;;;;\r\n"
              "TEL;TYPE=cell:+7 916 000-11-22\r\nTEL:555-12-12\r\nEMAIL:petrov@mail.ru\r\n"
              "NOTE:a\\;b\\\\c\\nd\r\nCATEGORIES:АБ\r\nEND:VCARD\r\n"_qs);
}

TEST(VCardWriter, FoldsAt75OctetsWithoutSplittingALetter)
{
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

TEST(VCardReader, ReadsBackWhatTheWriterWrites)
{
    const std::vector<Contact> contacts = awkwardContacts();
    const ContactsRead read = VCardReader::read(QString::fromUtf8(VCardWriter::write(contacts)));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.contacts, contacts);
    EXPECT_EQ(read.contacts[1].line, 17) << "the line of its BEGIN, folds counted";
}

TEST(VCardReader, ReadsCardsVobjectWrites)
{
    const QString python = pythonWith(u"vobject"_qs);
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with vobject (python3-vobject) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"theirs.vcf"_qs);
    const QString script = QStringLiteral(R"(
import sys, vobject
c = vobject.vCard()
c.add('fn').value = 'Петров, Пётр; старший'
c.add('n').value = vobject.vcard.Name(family='Петров', given='Пётр')
t = c.add('tel'); t.value = '+7 (916) 000-11-22'; t.type_param = 'CELL'
t = c.add('tel'); t.value = '123-45-67'; t.type_param = 'WORK'
c.add('email').value = 'petrov@mail.ru'
c.add('org').value = ['ООО Ромашка', 'Отдел продаж']
c.add('adr').value = vobject.vcard.Address(street='ул. Ленина, 5', city='Москва', country='Россия')
c.add('note').value = 'Длинная заметка ' * 8 + '\nвторая строка, с запятой; и \\ чертой'
n = vobject.vCard()
n.add('n').value = vobject.vcard.Name(family='Сидорова', given='Анна', additional='Петровна')
n.add('fn').value = ''
n.add('tel').value = '8 800 555-35-35'
with open(sys.argv[1], 'w', encoding='utf-8', newline='') as f:
    f.write(c.serialize() + n.serialize())
)");
    QString error;
    ASSERT_TRUE(runPython(python, script, {path}, &error)) << error.toStdString();

    const ContactsRead read = VCardReader::read(QString::fromUtf8(readAll(path)));
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    ASSERT_EQ(read.contacts.size(), 2u);
    const Contact& petrov = read.contacts[0];
    EXPECT_EQ(petrov.name, u"Петров, Пётр; старший"_qs);
    EXPECT_EQ(petrov.phones, (std::vector<ContactPhone>{{u"+7 (916) 000-11-22"_qs, Kind::Cell},
                                                        {u"123-45-67"_qs, Kind::Work}}));
    EXPECT_EQ(petrov.emails, QStringList{u"petrov@mail.ru"_qs});
    EXPECT_EQ(petrov.note, u"ООО Ромашка, Отдел продаж\nул. Ленина, 5, Москва, Россия\n"_qs +
                               u"Длинная заметка "_qs.repeated(8) +
                               u"\nвторая строка, с запятой; и \\ чертой"_qs);
    EXPECT_EQ(read.contacts[1].name, u"Сидорова Анна Петровна"_qs) << "an empty FN falls back on N";
}

TEST(VCardReader, ReadsVersion3FoldsGroupsAndVersion21QuotedPrintable)
{
    const ContactsRead read = VCardReader::read(
        u"BEGIN:VCARD\nVERSION:3.0\nN:;;;;\nORG:ООО \"Рога\\, копыта\";\n"
        "item1.TEL;TYPE=CELL,VOICE:+7 916\n\t 111-22-33\nitem1.X-ABLabel:мой\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ\n  AAAQABAAD\n"
        "URL:https://example.org\nEND:VCARD\n\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD=D0=BE=D0=B2;=D0=98=\r\n"
        "=D0=B2=D0=B0=D0=BD;;;\r\n"
        "TEL;CELL;PREF:8-916-000-00-00\r\nTEL;HOME:333-33-33\r\n"
        "NOTE;CHARSET=windows-1251;ENCODING=QUOTED-PRINTABLE:=C4=E0=F7=E0\r\n"
        "END:VCARD\r\n"_qs);
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    ASSERT_EQ(read.contacts.size(), 2u);
    // No name at all: the organisation stands in, and is not repeated in the note.
    EXPECT_EQ(read.contacts[0].name, u"ООО \"Рога, копыта\""_qs);
    EXPECT_EQ(read.contacts[0].phones,
              (std::vector<ContactPhone>{{u"+7 916 111-22-33"_qs, Kind::Cell}}));
    EXPECT_EQ(read.contacts[0].note, u"https://example.org"_qs);
    EXPECT_EQ(read.contacts[1].name, u"Иванов Иван"_qs);
    EXPECT_EQ(read.contacts[1].phones,
              (std::vector<ContactPhone>{{u"8-916-000-00-00"_qs, Kind::Cell},
                                         {u"333-33-33"_qs, Kind::Home}}));
    EXPECT_EQ(read.contacts[1].note, u"Дача"_qs);
    EXPECT_EQ(read.contacts[1].line, 13);
}

TEST(VCardReader, ABadLineGivesNoContactsAndItsLineNumber)
{
    const QString card = u"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Анна\r\nEND:VCARD\r\n"_qs;
    const struct
    {
        QString text;
        Problem problem;
        int line;
    } cases[] = {
        {card + u"BEGIN:VCARD\r\nFN:Борис\r\nТелефон 123\r\nEND:VCARD\r\n"_qs, Problem::NoColon, 7},
        {u"FN:Анна\r\n"_qs + card, Problem::OutsideCard, 1},
        {card + u"END:VCARD\r\n"_qs, Problem::EndWithoutBegin, 5},
        {card + u"BEGIN:VCARD\r\nFN:Борис\r\n"_qs + card, Problem::CardNotClosed, 5},
        {card + u"BEGIN:VCARD\r\nFN;CHARSET=X-NONE;ENCODING=QUOTED-PRINTABLE:=41\r\nEND:VCARD"_qs,
         Problem::UnknownCharset, 6},
        {u"BEGIN:VCARD\r\nVERSION:4.0\r\nEND:VCARD\r\n"_qs, Problem::NoContacts, 1},
    };
    for (const auto& [text, problem, line] : cases) {
        const ContactsRead read = VCardReader::read(text);
        EXPECT_EQ(read.problem, problem) << text.toStdString();
        EXPECT_EQ(read.line, line) << text.toStdString();
        EXPECT_TRUE(read.contacts.empty());
    }
    EXPECT_EQ(VCardReader::read(cases[4].text).detail, u"X-NONE"_qs);
}
