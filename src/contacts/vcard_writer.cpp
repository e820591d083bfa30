#include "contacts/vcard_writer.h"

#include "contacts/contact_date.h"
#include "contacts/person_name.h"

namespace {

constexpr qsizetype kMaxLineOctets = 75;

} // namespace

QString VCardWriter::escaped(QStringView value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u',' || c == u';') {
            out += u'\\';
            out += c;
        } else if (c == u'\r' || c == u'\n') {
            // CR LF is one line break.
            if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            out += QLatin1StringView("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

bool isContinuationOctet(char octet)
{
    return (static_cast<unsigned char>(octet) & 0xC0) == 0x80;
}

// A long line goes on in lines that start with a space; a cut never falls
// inside the octets of one character.
void appendFolded(QByteArray& out, QByteArrayView line)
{
    qsizetype pos = 0;
    qsizetype room = kMaxLineOctets;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos && isContinuationOctet(line[cut]))
            --cut;
        out += line.sliced(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = kMaxLineOctets - 1;
    }
    out += line.sliced(pos);
    out += "\r\n";
}

// The page, then the groups the contact's fields name ("Друзья, Работа"),
// each once and escaped.
QStringList groupsOf(const Contact& contact)
{
    QStringList groups;
    if (!contact.category.isEmpty())
        groups << contact.category;
    for (const ContactField& field : contact.fields) {
        if (field.kind != ContactField::Kind::Categories)
            continue;
        for (const QString& group : field.value.split(u',')) {
            if (!group.trimmed().isEmpty() && !groups.contains(group.trimmed()))
                groups << group.trimmed();
        }
    }
    for (QString& group : groups)
        group = VCardWriter::escaped(group);
    return groups;
}

void appendProperty(QByteArray& out, QByteArrayView name, QStringView value)
{
    QByteArray line = name.toByteArray();
    line += ':';
    line += VCardWriter::escaped(value).toUtf8();
    appendFolded(out, line);
}

} // namespace

QByteArrayView VCardWriter::telProperty(ContactPhone::Kind kind)
{
    switch (kind) {
    case ContactPhone::Kind::Cell:
        return "TEL;TYPE=cell";
    case ContactPhone::Kind::Work:
        return "TEL;TYPE=work";
    case ContactPhone::Kind::Home:
        return "TEL;TYPE=home";
    case ContactPhone::Kind::Fax:
        return "TEL;TYPE=fax";
    case ContactPhone::Kind::Other:
        break;
    }
    return "TEL";
}

QByteArray VCardWriter::folded(QByteArrayView line)
{
    QByteArray out;
    appendFolded(out, line);
    return out;
}

QByteArray VCardWriter::write(std::span<const Contact> contacts)
{
    QByteArray out;
    out.reserve(qsizetype(contacts.size()) * 160);
    for (const Contact& contact : contacts)
        append(out, contact);
    return out;
}

void VCardWriter::append(QByteArray& out, const Contact& contact)
{
    out += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    if (!contact.uid.isEmpty())
        appendProperty(out, "UID", contact.uid);
    const PersonName name = PersonName::of(contact.name);
    if (name.organisation)
        out += "KIND:org\r\n";
    appendProperty(out, "FN", contact.name);
    appendFolded(out, "N:" + escaped(name.family).toUtf8() + ';' + escaped(name.given).toUtf8() +
                          ';' + escaped(name.additional).toUtf8() + ";;");
    if (name.organisation)
        appendProperty(out, "ORG", contact.name);
    if (const QString birthday = ContactDate::toVCard(contact.birthday); !birthday.isEmpty())
        appendProperty(out, "BDAY", birthday);
    int group = 0;
    for (const ContactPhone& phone : contact.phones) {
        if (phone.label.isEmpty()) {
            appendProperty(out, telProperty(phone.kind), phone.number);
            continue;
        }
        // The label other address books show for the number.
        const QByteArray item = "item" + QByteArray::number(++group) + '.';
        appendProperty(out, item + telProperty(phone.kind).toByteArray(), phone.number);
        appendProperty(out, item + "X-ABLabel", phone.label);
    }
    for (const QString& mail : contact.emails)
        appendProperty(out, "EMAIL", mail);
    if (!contact.note.isEmpty())
        appendProperty(out, "NOTE", contact.note);
    if (const QStringList groups = groupsOf(contact); !groups.isEmpty())
        appendFolded(out, "CATEGORIES:" + groups.join(u',').toUtf8());
    out += "END:VCARD\r\n";
}
