#include "contacts/contact_export.h"
#include "contacts/contact_import.h"
#include "contacts/entry_remove.h"
#include "core/code_page.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"
#include "unit_test.h"

namespace {

using Kind = ContactPhone::Kind;

const ContactEntry::Labels kLabels{u"моб."_qs, u"раб."_qs, u"дом."_qs, u"факс"_qs};

const QString kRichPage =
    u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\r\n"
    "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\f0\\fs20 {\\b \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}"
    "\\tab 555-12-12\\par\r\n}\r\n"_qs;

const QString kEmptyRichPage =
    u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\r\n"
    "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\f0\\fs20\\par\r\n}\r\n"_qs;

QString plainOf(const QString& rtf, QTextDocument& doc)
{
    RtfReader::read(rtf, doc);
    return PlainText::of(doc);
}

} // namespace

TEST(ContactImport, TellsVCardFromCsvAndUtf8FromWindows1251AndStopsBetweenRecordsAndLinesWhenAsked)
{
    const QByteArray card =
        "\n\r\n  BEGIN:VCARD\r\nFN:\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0\r\nEND:VCARD\r\n";
    for (const QByteArray& bytes : {card, "\xEF\xBB\xBF" + card}) {
        const ContactsRead read = ContactImport::read(bytes);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(read.contacts.front().name, u"Анна"_qs);
    }
    const ContactsRead table =
        ContactImport::read(CodePage::encodeLossy(u"Имя,Телефон\r\nБорис,222-22-22\r\n"_qs));
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.contacts.front().name, u"Борис"_qs);
    EXPECT_EQ(table.encoding, ContactsRead::Encoding::Windows1251);

    // One bad byte damages a UTF-8 file, which a vCard 3.0 or 4.0 must be
    // and a 2.1 may say its values are: refused at the byte's line, not read
    // as mojibake.
    const struct
    {
        QByteArray card;
        int line;
    } damagedCards[] = {
        {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0\r\n"
         "NOTE:caf\xE9\r\nEND:VCARD\r\n",
         4},
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0\r\n"
         "TEL:555\r\nNOTE;CHARSET=utf-8:caf\xE9\r\nEND:VCARD\r\n",
         5},
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=\"UTF-8\":Ivanov\xFF\r\nEND:VCARD\r\n", 3}};
    for (const auto& c : damagedCards) {
        const ContactsRead damaged = ContactImport::read(c.card);
        EXPECT_EQ(std::tuple(damaged.problem, damaged.line, damaged.contacts.size()),
                  std::tuple(ContactsRead::Problem::InvalidUtf8, c.line, size_t(0)))
            << c.card.toStdString();
    }
    // Without any multi-byte UTF-8 it is an old phone's Windows-1251 card.
    const ContactsRead old = ContactImport::read(
        CodePage::encodeLossy(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Борис\r\nEND:VCARD\r\n"_qs));
    ASSERT_TRUE(old.ok());
    EXPECT_EQ(std::pair(old.contacts.front().name, old.encoding),
              std::pair(u"Борис"_qs, ContactsRead::Encoding::Windows1251));
    // A termination waiting for the program stops the reading between records,
    // however large the file: a vCard between cards, a table between rows.
    const QByteArray cards =
        QByteArray("BEGIN:VCARD\r\nFN:A\r\nTEL:1\r\nEND:VCARD\r\n").repeated(1000);
    const QByteArray rows = "Name,Phone\r\n" + QByteArray("A,1\r\n").repeated(1000);
    for (const QByteArray& bytes : {cards, rows}) {
        int asked = 0;
        const ContactsRead read = ContactImport::read(bytes, [&asked] { return ++asked == 3; });
        EXPECT_EQ(std::tuple(read.problem, read.contacts.size(), asked),
                  std::tuple(ContactsRead::Problem::Stopped, size_t(0), 3));
        EXPECT_EQ(ContactImport::read(bytes, [] { return false; }).contacts.size(), 1000u);
    }
    // Building the entries stops between the lines of a note, however long.
    const std::vector<Contact> huge{{u"A"_qs, {}, {}, u"line\n"_qs.repeated(1000), {}, 1}};
    int asked = 0;
    const QString cut = ContactImport::entries(huge, kLabels, {}, [&asked] { return ++asked == 3; });
    EXPECT_EQ(std::pair(cut.count(u"line"_qs), asked), std::pair(qsizetype(2), 3));
    EXPECT_EQ(ContactImport::entries(huge, kLabels).count(u"line"_qs), 1000);
}

TEST(ContactImport, EntriesAreJoinedUnencodableOnesFoundAndAddedAfterThePageTextFormatted)
{
    std::vector<Contact> contacts{{u"Анна"_qs, {{u"111-11-11"_qs, Kind::Home}}, {}, {}, {}, 2},
                                  {}, // nothing in it: no entry
                                  {u"Борис ☎"_qs, {}, {}, u"Zoë 日本"_qs, {}, 9}};
    EXPECT_EQ(ContactImport::entries(contacts, kLabels),
              u"Анна\tдом. 111-11-11\r\nБорис ☎\tZoë 日本"_qs);
    const std::optional<ContactImport::Unencodable> found =
        ContactImport::firstUnencodable(contacts, kLabels);
    ASSERT_TRUE(found);
    // Windows-1251 has no ë either.
    EXPECT_EQ(std::tuple(found->line, found->name, found->characters),
              std::tuple(9, u"Борис ☎"_qs, u"☎ë日本"_qs));
    contacts.pop_back();
    EXPECT_FALSE(ContactImport::firstUnencodable(contacts, kLabels));
    using Form = ContactImport::Form;
    const QString entries = u"Вера\t333-33-33\r\n\t\tсоседка"_qs;
    EXPECT_EQ(ContactImport::appendEntries(u"Анна\t111"_qs, entries, Form::PlainText),
              u"Анна\t111\r\nВера\t333-33-33\r\n\t\tсоседка"_qs);
    EXPECT_EQ(ContactImport::appendEntries(QString(), entries, Form::PlainText), entries);

    // Where the book keeps rich text a plain page becomes rich text, so that
    // it keeps what Windows-1251 cannot and the book still saves.
    for (const QString& page : {u"Анна\t111"_qs, QString()}) {
        const QString joined =
            ContactImport::appendEntries(page, u"Jürgen Müller ☎\t1"_qs, Form::RichText);
        ASSERT_TRUE(RtfParser::isRtf(QStringView(joined)));
        EXPECT_TRUE(CodePage::canEncode(joined));
        QTextDocument doc;
        EXPECT_EQ(plainOf(joined, doc),
                  (page.isEmpty() ? QString() : page + u"\r\n"_qs) + u"Jürgen Müller ☎\t1"_qs);
    }

    QTextDocument rich;
    EXPECT_EQ(plainOf(ContactImport::appendEntries(kRichPage, entries, Form::RichText), rich),
              u"Иванов\t555-12-12\r\n"_qs + entries);
    EXPECT_TRUE(rich.begin().begin().fragment().charFormat().fontWeight() == QFont::Bold);
    EXPECT_EQ(rich.lastBlock().blockFormat().tabPositions().size(), 2);

    // An empty page takes the entries as its first lines, with its tab stops.
    const QString filled = ContactImport::appendEntries(kEmptyRichPage, entries, Form::PlainText);
    ASSERT_TRUE(RtfParser::isRtf(QStringView(filled)));
    QTextDocument empty;
    EXPECT_EQ(plainOf(filled, empty), entries);
    for (QTextBlock block = empty.begin(); block.isValid(); block = block.next())
        EXPECT_EQ(block.blockFormat().tabPositions().size(), 2);
}

// Entries taken out by their UIDs close up on every page; twins are told
// apart by their count, and a text page is never touched.
TEST(EntryRemove, TakesOutTheEntriesOfTheUidsWithTheirLineBreaks)
{
    const std::vector<PageRecord> pages{
        {u"АБ"_qs, u"Анна\t1\r\n\tул. Ленина\r\nБорис\t2\r\nАнна\t3"_qs, PageRecord::AddressPage},
        {u"Заметки"_qs, u"Анна\t4"_qs, PageRecord::TextPage},
        {u"ВГ"_qs, kRichPage, PageRecord::AddressPage}};
    const std::vector<Contact> contacts = ContactExport::ofBook(pages);
    const std::pair<std::vector<int>, QStringList> cases[] = {
        // contacts removed, pages after
        {{0}, {u"Борис\t2\r\nАнна\t3"_qs, u"Иванов\t555-12-12"_qs}},
        {{2}, {u"Анна\t1\r\n\tул. Ленина\r\nБорис\t2"_qs, u"Иванов\t555-12-12"_qs}},
        {{1, 3}, {u"Анна\t1\r\n\tул. Ленина\r\nАнна\t3"_qs, QString()}}};
    for (const auto& [removed, expected] : cases) {
        QSet<QString> uids;
        for (const int i : removed)
            uids.insert(contacts.at(std::size_t(i)).uid);
        std::vector<PageRecord> after = pages;
        const EntryRemove removal(pages, uids);
        for (const int page : removal.pages())
            after[std::size_t(page - 1)].text = removal.textWithout(
                page, pages[std::size_t(page - 1)], ContactImport::Form::PlainText);
        EXPECT_EQ(QStringList({after[0].plainText(), after[2].plainText(), after[1].text.text()}),
                  expected + QStringList{u"Анна\t4"_qs});
    }
}

// A contact the page holds: the same UID (the page's own export), or the same
// name (in any case) and the same numbers (in any spacing); nothing less.
TEST(ContactImport, MarksTheContactsThePageHoldsAlready)
{
    const PageRecord page{u"АБ"_qs, u"Анна\t+7 900 111-11-11\r\nБорис\tb@mail.ru"_qs,
                          PageRecord::AddressPage};
    const QByteArray exported =
        ContactExport::write(ContactExport::ofPage(page), ContactExport::Format::VCard);
    const ContactsRead own = ContactImport::read(QByteArray(exported).replace("TEL", "NOTE"));
    EXPECT_EQ(ContactImport::alreadyOnPage(own.contacts, page, kLabels),
              std::vector<bool>({true, true}));
    const ContactsRead table = ContactImport::read(
        u"Name,Phone,E-mail\r\nАННА,+7 (900) 111 11 11,\r\nАнна,+7 900 111-11-12,\r\n"
        "Анна Петровна,+7 900 111-11-11,\r\nборис,,b@mail.ru\r\nБорис,,c@mail.ru\r\n"_qs.toUtf8());
    EXPECT_EQ(ContactImport::alreadyOnPage(table.contacts, page, kLabels),
              std::vector<bool>({true, false, false, true, true}));
}

// Not UTF-8: the code page whose reading gives more letters in words of one
// alphabet, a tie going to the interface language's.
TEST(ContactImport, ReadsAFileThatIsNotUtf8InTheCodePageItsLettersSpeakFor)
{
    using Encoding = ContactsRead::Encoding;
    const struct
    {
        QByteArray name;
        Encoding tie;
        QString read;
        Encoding encoding;
    } cases[] = {
        {"J\xFCrgen M\xFCller", Encoding::Windows1251, u"Jürgen Müller"_qs, Encoding::Windows1252},
        {"\xCF\xE5\xF2\xF0\xEE\xE2 \xDF\xED", Encoding::Windows1252, u"Петров Ян"_qs,
         Encoding::Windows1251},
        {"A\xB9 5", Encoding::Windows1251, u"A№ 5"_qs, Encoding::Windows1251},
        {"A\xB9 5", Encoding::Windows1252, u"A¹ 5"_qs, Encoding::Windows1252},
    };
    for (const auto& c : cases) {
        const ContactsRead read =
            ContactImport::read("Name,Phone\r\n" + c.name + ",1\r\n", {}, c.tie);
        EXPECT_EQ(std::pair(read.contacts.at(0).name, read.encoding),
                  std::pair(c.read, c.encoding));
    }
    EXPECT_EQ(std::pair(ContactImport::codePageOfLanguage(u"ru"_qs),
                        ContactImport::codePageOfLanguage(u"en"_qs)),
              std::pair(Encoding::Windows1251, Encoding::Windows1252));
}
