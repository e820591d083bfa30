#include "contacts/contact_import.h"

#include "contacts/contact_csv.h"
#include "contacts/contact_export.h"
#include "contacts/vcard_reader.h"
#include "core/code_page.h"
#include "document/page_import_file.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QRegularExpression>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// vCard 3.0 and 4.0 are UTF-8 by definition; 2.1 names its charset.
bool isUtf8VCard(QByteArrayView bytes)
{
    static const QRegularExpression version(
        QStringLiteral("^[ \\t]*VERSION[ \\t]*:[ \\t]*[34]\\.0[ \\t]*\\r?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    return version.match(QString::fromLatin1(bytes)).hasMatch();
}

// A vCard 2.1 whose values say they are UTF-8.
bool declaresUtf8(QByteArrayView bytes)
{
    static const QRegularExpression charset(
        QStringLiteral("^[^:\\r\\n]*;[ \\t]*CHARSET[ \\t]*=[ \\t]*\"?UTF-?8\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    return VCardReader::looksLikeVCard(QString::fromLatin1(bytes.first(
               std::min<qsizetype>(bytes.size(), 4096)))) &&
           charset.match(QString::fromLatin1(bytes)).hasMatch();
}

int lineAt(QByteArrayView bytes, qsizetype offset)
{
    return static_cast<int>(bytes.first(offset).count('\n')) + 1;
}

ContactsRead parsed(const QString& text, const StopRequest& stop)
{
    return VCardReader::looksLikeVCard(text) ? VCardReader::read(text, stop)
                                             : ContactCsv::read(text, stop);
}

// A plain-text page as rich text, so that it keeps any character.
QString richTextOf(const QString& plainText)
{
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(plainText, doc);
    return RtfWriter::writeString(doc);
}

QString inEmptyRichText(const QString& pageText, const QString& entries)
{
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(pageText, doc);
    ContactImport::appendEntries(doc, entries);
    return RtfWriter::writeString(doc);
}

// Windows-1252 is Latin-1 but for 0x80 to 0x9F; its five unassigned bytes
// stay the control characters Latin-1 has there.
QString decodeWindows1252(QByteArrayView bytes)
{
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text = QString::fromLatin1(bytes);
    for (QChar& ch : text) {
        if (ch.unicode() >= 0x80 && ch.unicode() < 0xA0)
            ch = QChar(kHigh[ch.unicode() - 0x80]);
    }
    return text;
}

QString decoded(QByteArrayView bytes, ContactImport::Encoding encoding)
{
    return encoding == ContactImport::Encoding::Windows1252 ? decodeWindows1252(bytes)
                                                            : CodePage::decode(bytes);
}

// The letters of the words of `text` that hold a character above ASCII and
// are all of `script`; Latin words also need a plain ASCII letter.
qsizetype lettersOfOneAlphabet(const QString& text, QChar::Script script)
{
    qsizetype letters = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        if (!text[start].isLetter()) {
            ++start;
            continue;
        }
        qsizetype end = start;
        bool high = false;
        bool ascii = false;
        bool single = true;
        for (; end < text.size() && text[end].isLetter(); ++end) {
            high = high || text[end].unicode() > 0x7F;
            ascii = ascii || text[end].unicode() <= 0x7F;
            single = single && text[end].script() == script;
        }
        if (high && single && (script != QChar::Script_Latin || ascii))
            letters += end - start;
        start = end;
    }
    return letters;
}

} // namespace

ContactImport::Encoding ContactImport::codePageOf(QByteArrayView bytes, Encoding tie)
{
    const qsizetype cyrillic =
        lettersOfOneAlphabet(decoded(bytes, Encoding::Windows1251), QChar::Script_Cyrillic);
    const qsizetype latin =
        lettersOfOneAlphabet(decoded(bytes, Encoding::Windows1252), QChar::Script_Latin);
    if (cyrillic == latin)
        return tie;
    return cyrillic > latin ? Encoding::Windows1251 : Encoding::Windows1252;
}

ContactImport::Encoding ContactImport::codePageOfLanguage(const QString& language)
{
    static const QStringList cyrillic{QStringLiteral("ru"), QStringLiteral("uk"),
                                      QStringLiteral("be"), QStringLiteral("bg"),
                                      QStringLiteral("sr"), QStringLiteral("mk")};
    return cyrillic.contains(language.section(u'_', 0, 0).toLower()) ? Encoding::Windows1251
                                                                     : Encoding::Windows1252;
}

ContactsRead ContactImport::readAs(QByteArrayView bytes, Encoding encoding, const StopRequest& stop)
{
    ContactsRead read = parsed(decoded(bytes, encoding), stop);
    read.encoding = encoding;
    return read;
}

// Which code a file is in is decided by its bytes. A file with one invalid
// byte among valid UTF-8 letters is a damaged UTF-8 file: read in a code
// page its every letter would turn to two wrong ones, so a vCard that must
// be UTF-8, or says its values are, is refused. Only a file with no
// multi-byte UTF-8 at all is read in a code page, as old phones and
// spreadsheets of Windows wrote.
ContactsRead ContactImport::read(QByteArrayView bytes, const StopRequest& stop, Encoding tie)
{
    const CodePage::Utf8Scan scan = CodePage::scanUtf8(bytes);
    if (scan.valid()) {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        return parsed(text, stop);
    }
    if ((scan.hasMultibyte && isUtf8VCard(bytes)) || declaresUtf8(bytes))
        return ContactsRead::failure(ContactsRead::Problem::InvalidUtf8,
                                     lineAt(bytes, scan.firstBad));
    return readAs(bytes, codePageOf(bytes, tie), stop);
}

std::vector<bool> ContactImport::alreadyOnPage(std::span<const Contact> contacts,
                                               const PageRecord& page,
                                               const ContactEntry::Labels& labels,
                                               const StopRequest& stop)
{
    const auto keyOf = [](const Contact& contact) {
        QStringList numbers;
        for (const ContactPhone& phone : contact.phones)
            numbers << phone.number;
        for (QString& number : numbers)
            number.removeIf([](QChar c) { return !c.isDigit(); });
        numbers.sort();
        return contact.name.simplified().toCaseFolded() + u'\x1f' + numbers.join(u',');
    };
    QSet<QString> uids;
    QSet<QString> keys;
    for (const Contact& held : ContactExport::ofPage(page)) {
        uids.insert(held.uid);
        keys.insert(keyOf(held));
    }
    std::vector<bool> onPage;
    for (Contact contact : contacts) {
        contact.category = page.title;
        const auto entry =
            ContactEntry::toContact(ContactEntry::toEntry(contact, labels, stop), page.title);
        onPage.push_back((!contact.uid.isEmpty() && uids.contains(contact.uid)) ||
                         (entry && keys.contains(keyOf(*entry))));
    }
    return onPage;
}

QString ContactImport::entries(std::span<const Contact> contacts,
                               const ContactEntry::Labels& labels, const QString& pageTitle,
                               const StopRequest& stop)
{
    QString entries;
    for (Contact contact : contacts) {
        if (stop && stop())
            break;
        contact.category = pageTitle;
        const QString entry = ContactEntry::toEntry(contact, labels, stop);
        if (entry.isEmpty())
            continue;
        if (!entries.isEmpty())
            entries += QLatin1StringView("\r\n");
        entries += entry;
    }
    return entries;
}

std::optional<ContactImport::Unencodable>
ContactImport::firstUnencodable(std::span<const Contact> contacts,
                                const ContactEntry::Labels& labels, const StopRequest& stop)
{
    for (const Contact& contact : contacts) {
        if (stop && stop())
            break;
        const CodePage::Encoded encoded =
            CodePage::encode(ContactEntry::toEntry(contact, labels, stop));
        if (!encoded.ok())
            return Unencodable{contact.line, contact.name, encoded.unmappable};
    }
    return std::nullopt;
}

QString ContactImport::appendEntries(const QString& pageText, const QString& entries, Form form)
{
    const bool plainPage = !RtfParser::isRtf(QStringView(pageText));
    if (!RtfPlainText::extract(pageText).isEmpty())
        return PageImportFile::appendImportedField(
            plainPage && form == Form::RichText ? richTextOf(pageText) : pageText, entries);
    if (!plainPage || form == Form::RichText)
        return inEmptyRichText(pageText, entries);
    return PlainText::normalized(entries);
}

void ContactImport::appendEntries(QTextDocument& page, const QString& entries)
{
    if (!page.isEmpty()) {
        PageImportFile::appendField(page, entries);
        return;
    }
    QTextCursor cursor(&page);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(
        PlainText::normalized(entries).replace(QLatin1StringView("\r\n"), QLatin1StringView("\n")));
}
