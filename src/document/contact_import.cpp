#include "document/contact_import.h"

#include "core/code_page.h"
#include "document/contact_csv.h"
#include "document/page_import_file.h"
#include "document/vcard_reader.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString decoded(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar::ByteOrderMark) ? text.sliced(1) : text;
    return CodePage::decode(bytes);
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

} // namespace

ContactsRead ContactImport::read(QByteArrayView bytes)
{
    const QString text = decoded(bytes);
    return VCardReader::looksLikeVCard(text) ? VCardReader::read(text) : ContactCsv::read(text);
}

QString ContactImport::entries(std::span<const Contact> contacts,
                               const ContactEntry::Labels& labels)
{
    QStringList lines;
    for (const Contact& contact : contacts) {
        const QString entry = ContactEntry::toEntry(contact, labels);
        if (!entry.isEmpty())
            lines << entry;
    }
    return lines.join(QLatin1StringView("\r\n"));
}

std::optional<ContactImport::Unencodable>
ContactImport::firstUnencodable(std::span<const Contact> contacts,
                                const ContactEntry::Labels& labels)
{
    for (const Contact& contact : contacts) {
        const CodePage::Encoded encoded = CodePage::encode(ContactEntry::toEntry(contact, labels));
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
