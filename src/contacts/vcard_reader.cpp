#include "contacts/vcard_reader.h"

#include "contacts/contact_date.h"
#include "contacts/person_name.h"
#include "core/code_page.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Problem = ContactsRead::Problem;

struct PhysicalLine
{
    QStringView text;
    int number = 0;
};

// A content line with its folds undone, and the line of the file it starts on.
struct ContentLine
{
    QString text;
    int number = 0;
};

struct Property
{
    QString group; // "item1" of "item1.TEL", upper case
    QString name;  // upper case, without a group
    QStringList types;
    QString encoding;
    QString charset;
    QString value; // still escaped
};

std::vector<PhysicalLine> physicalLines(QStringView text)
{
    std::vector<PhysicalLine> lines;
    qsizetype start = 0;
    int number = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.push_back({text.sliced(start, i - start), number++});
        // CR LF, LF or CR alone, and the CR CR LF some phones write, each end one line.
        qsizetype crs = i;
        while (crs < text.size() && text[crs] == u'\r')
            ++crs;
        if (crs < text.size() && text[crs] == u'\n')
            i = crs;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.sliced(start), number});
    return lines;
}

bool isQuotedPrintable(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    return colon > 0 &&
           line.first(colon).contains(QLatin1StringView("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
}

// Lines that start with a space or a tab go on the line before (the space
// itself is the fold); a quoted-printable value ending in "=" goes on in the
// next line, as vCard 2.1 writes it.
std::vector<ContentLine> unfolded(const std::vector<PhysicalLine>& lines)
{
    std::vector<ContentLine> content;
    for (const PhysicalLine& line : lines) {
        const bool folded = !content.empty() && !content.back().text.isEmpty() &&
                            !line.text.isEmpty() &&
                            (line.text.front() == u' ' || line.text.front() == u'\t');
        const bool softBreak = !content.empty() && content.back().text.endsWith(u'=') &&
                               isQuotedPrintable(content.back().text);
        if (folded) {
            content.back().text += line.text.sliced(1);
        } else if (softBreak) {
            content.back().text.chop(1);
            content.back().text += line.text;
        } else {
            content.push_back({line.text.toString(), line.number});
        }
    }
    return content;
}

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        return value.sliced(1, value.size() - 2).toString();
    return value.toString();
}

void addParameter(Property& property, QStringView parameter)
{
    const qsizetype equals = parameter.indexOf(u'=');
    // vCard 2.1 names a type without "TYPE=": "TEL;CELL:...".
    const QString key =
        equals < 0 ? QStringLiteral("TYPE") : parameter.first(equals).toString().toUpper();
    const QString value = unquoted(equals < 0 ? parameter : parameter.sliced(equals + 1));
    if (key == u"TYPE") {
        for (const QString& type : value.split(u',', Qt::SkipEmptyParts))
            property.types << type.trimmed().toLower();
    } else if (key == u"ENCODING") {
        property.encoding = value.toUpper();
    } else if (key == u"CHARSET") {
        property.charset = value;
    }
    if (equals < 0 && (value.toUpper() == u"QUOTED-PRINTABLE" || value.toUpper() == u"BASE64"))
        property.encoding = value.toUpper();
}

// "group.NAME;PARAM=value;...:value"; nullopt without the colon.
std::optional<Property> parseLine(const QString& line)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u':' && !quoted)
            colon = i;
    }
    if (colon <= 0)
        return std::nullopt;
    Property property;
    property.value = line.sliced(colon + 1);
    const QStringView head = QStringView(line).first(colon);
    qsizetype start = 0;
    quoted = false;
    bool first = true;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == u'"')
            quoted = !quoted;
        if (i < head.size() && (head[i] != u';' || quoted))
            continue;
        const QStringView part = head.sliced(start, i - start);
        if (first) {
            const qsizetype dot = part.lastIndexOf(u'.');
            property.name = part.sliced(dot + 1).trimmed().toString().toUpper();
            property.group = dot < 0 ? QString() : part.first(dot).trimmed().toString().toUpper();
        } else if (!part.isEmpty())
            addParameter(property, part);
        first = false;
        start = i + 1;
    }
    return property;
}

int hexValue(QChar c)
{
    return int(QStringView(u"0123456789ABCDEF").indexOf(c.toUpper()));
}

QByteArray quotedPrintableBytes(QStringView value)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'=' && i + 2 < value.size()) {
            const int high = hexValue(value[i + 1]);
            const int low = hexValue(value[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes += char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        bytes += value.sliced(i, 1).toUtf8();
    }
    return bytes;
}

// The value as text, its quoted-printable encoding undone; nullopt for a
// charset this program does not know.
std::optional<QString> decodedValue(const Property& property)
{
    // Other values are already text: the file as a whole was decoded.
    if (property.encoding != u"QUOTED-PRINTABLE")
        return property.value;
    const QByteArray bytes = quotedPrintableBytes(property.value);
    const QString charset = property.charset.isEmpty() ? QStringLiteral("UTF-8") : property.charset;
    if (charset.compare(u"windows-1251", Qt::CaseInsensitive) == 0 ||
        charset.compare(u"cp1251", Qt::CaseInsensitive) == 0)
        return CodePage::decode(bytes);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder.decode(bytes));
}

// Splits at the separators that are not escaped (nowhere without one), then
// undoes the escapes unless the parts are to be split again.
QStringList components(QStringView value, std::optional<QChar> separator, bool unescape = true)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == separator) {
            parts << QString();
        } else if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            if (!unescape)
                parts.back() += c;
            parts.back() += (unescape && (next == u'n' || next == u'N')) ? QChar(u'\n') : next;
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

QString text(QStringView value)
{
    return components(value, std::nullopt).constFirst();
}

QString joinedParts(QStringView value, QStringView with)
{
    QStringList parts = components(value, u';');
    for (QString& part : parts)
        part = part.simplified();
    parts.removeAll(QString());
    return parts.join(with);
}

ContactPhone::Kind kindOf(const QStringList& types)
{
    using Kind = ContactPhone::Kind;
    if (types.contains(u"fax"))
        return Kind::Fax;
    if (types.contains(u"cell") || types.contains(u"mobile"))
        return Kind::Cell;
    if (types.contains(u"work"))
        return Kind::Work;
    if (types.contains(u"home"))
        return Kind::Home;
    return Kind::Other;
}

QString withoutScheme(const QString& value, QLatin1StringView scheme)
{
    return value.startsWith(scheme, Qt::CaseInsensitive) ? value.sliced(scheme.size()) : value;
}

// Apple's own labels: "_$!<HomePage>!$_" is "HomePage".
QString labelText(const QString& value)
{
    const QString label = text(value).trimmed();
    if (label.startsWith(QLatin1StringView("_$!<")) && label.endsWith(QLatin1StringView(">!$_")))
        return label.sliced(4, label.size() - 8);
    return label;
}

bool isAppleLabel(const QString& value)
{
    return text(value).trimmed().startsWith(QLatin1StringView("_$!<"));
}

// Each part of a structured value with its list of values, such as N's
// additional names "Richter,James", as words.
QStringList structuredParts(QStringView value)
{
    QStringList parts = components(value, u';', false);
    for (QString& part : parts)
        part = components(part, u',').join(u' ').simplified();
    return parts;
}

bool isOneOf(const QString& name, std::initializer_list<QLatin1StringView> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// vCard 4.0's own, and what Evolution, Outlook and KAddressBook write.
bool isAnniversary(const QString& name)
{
    return isOneOf(name, {QLatin1StringView("ANNIVERSARY"), QLatin1StringView("X-ANNIVERSARY"),
                          QLatin1StringView("X-EVOLUTION-ANNIVERSARY"),
                          QLatin1StringView("X-MS-ANNIVERSARY"),
                          QLatin1StringView("X-KADDRESSBOOK-X-ANNIVERSARY")});
}

bool isSpouse(const Property& property)
{
    return (property.name == u"RELATED" && property.types.contains(u"spouse")) ||
           isOneOf(property.name,
                   {QLatin1StringView("X-SPOUSE"), QLatin1StringView("X-EVOLUTION-SPOUSE"),
                    QLatin1StringView("X-MS-SPOUSE"),
                    QLatin1StringView("X-KADDRESSBOOK-X-SPOUSENAME")});
}

// A date as an entry shows it; a text that is no date as it is.
QString dateShown(const QString& value)
{
    const QString date = ContactDate::read(text(value));
    return date.isEmpty() ? joinedParts(value, u", ") : ContactDate::toEntry(date);
}

// What one card has said, taken when it ends: a label ("item1.X-ABLabel")
// may come after the value it names.
class Card
{
public:
    Contact contact;
    std::vector<std::pair<Property, QString>> properties;

    Contact finished();

private:
    // `label` names the value; Apple's own labels ("_$!<HomePage>!$_") say
    // no more than the property itself does, but name what has no place.
    void take(const Property& property, const QString& value, QString label, bool appleLabel);

    QString formattedName;
    PersonName nameParts;
    QString namePrefix; // "Dr." of N, for a name made of N alone
    QString nameSuffix;
    QStringList organisations;
    QStringList notes;
};

void Card::take(const Property& property, const QString& value, QString label, bool appleLabel)
{
    using FieldKind = ContactField::Kind;
    const QString& name = property.name;
    const QString placeLabel = appleLabel ? QString() : label;
    const auto add = [this, &placeLabel](FieldKind kind, const QString& fieldValue) {
        if (fieldValue.isEmpty())
            return;
        if (placeLabel.isEmpty())
            contact.fields.push_back({kind, fieldValue});
        else
            contact.fields.push_back({FieldKind::Labelled, fieldValue, placeLabel});
    };
    if (name == u"FN") {
        formattedName = text(value).simplified();
    } else if (name == u"N") {
        const QStringList parts = structuredParts(value);
        nameParts = {parts.value(0), parts.value(1), parts.value(2)};
        namePrefix = parts.value(3);
        nameSuffix = parts.value(4);
    } else if (name == u"TEL") {
        const QString number = withoutScheme(text(value).trimmed(), QLatin1StringView("tel:"));
        if (!number.isEmpty())
            contact.phones.push_back({number, kindOf(property.types), placeLabel});
    } else if (name == u"EMAIL") {
        const QString mail = withoutScheme(text(value).trimmed(), QLatin1StringView("mailto:"));
        if (placeLabel.isEmpty() && !mail.isEmpty())
            contact.emails << mail;
        else
            add(FieldKind::Labelled, mail);
    } else if (name == u"NOTE") {
        notes << text(value).trimmed().replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    } else if (name == u"ORG") {
        organisations << joinedParts(value, u", ");
    } else if (name == u"TITLE") {
        add(FieldKind::Title, text(value).simplified());
    } else if (name == u"ROLE") {
        add(FieldKind::Role, text(value).simplified());
    } else if (name == u"IMPP") {
        add(FieldKind::Messenger, text(value).trimmed());
    } else if (isAnniversary(name)) {
        add(FieldKind::Anniversary, dateShown(value));
    } else if (isSpouse(property)) {
        add(FieldKind::Spouse, text(value).simplified());
    } else if (name == u"URL") {
        add(FieldKind::Url, text(value).trimmed());
    } else if (name == u"ADR") {
        add(FieldKind::Address, joinedParts(value, u", "));
    } else if (name == u"NICKNAME") {
        add(FieldKind::Nickname, components(value, u',').join(QStringLiteral(", ")).simplified());
    } else if (name == u"CATEGORIES") {
        add(FieldKind::Categories, components(value, u',').join(QStringLiteral(", ")).simplified());
    } else if (name == u"UID") {
        contact.uid = text(value).trimmed();
    } else if (name == u"BDAY" && placeLabel.isEmpty()) {
        const QString date = ContactDate::read(text(value));
        contact.birthday = date.isEmpty() ? text(value).trimmed() : date;
    } else if (!label.isEmpty() && name != u"X-ABLABEL") {
        // Apple's dates and related names, or anything a phone labels.
        const QString shown = dateShown(value);
        if (!shown.isEmpty())
            contact.fields.push_back({FieldKind::Labelled, shown, std::move(label)});
    }
}

// The name is FN with the additional names of N where FN lacks them, else N,
// else the first organisation, which then does not stand among the fields again.
Contact Card::finished()
{
    QHash<QString, QString> labels;
    for (const auto& [property, value] : properties) {
        if (property.name == u"X-ABLABEL" && !property.group.isEmpty())
            labels.insert(property.group, value);
    }
    for (const auto& [property, value] : properties) {
        const QString label = labels.value(property.group);
        take(property, value, labelText(label), isAppleLabel(label));
    }
    contact.name = nameParts.completing(formattedName);
    // An FN that is not the person's name ("Мама") stays as the nickname.
    const QStringList nameWords = contact.name.split(u' ');
    for (const QString& word : formattedName.split(u' ', Qt::SkipEmptyParts)) {
        if (nameWords.contains(word))
            continue;
        contact.fields.push_back({ContactField::Kind::Nickname, formattedName});
        break;
    }
    if (formattedName.isEmpty() && !contact.name.isEmpty())
        contact.name = QStringList{namePrefix, contact.name, nameSuffix}.join(u' ').simplified();
    organisations.removeAll(QString());
    if (contact.name.isEmpty() && !organisations.isEmpty())
        contact.name = organisations.takeFirst();
    organisations.removeAll(contact.name);
    std::vector<ContactField> organisationFields;
    for (const QString& organisation : std::as_const(organisations))
        organisationFields.push_back({ContactField::Kind::Organisation, organisation});
    contact.fields.insert(contact.fields.begin(), organisationFields.begin(),
                          organisationFields.end());
    notes.removeAll(QString());
    contact.note = notes.join(u'\n');
    return contact;
}

bool isCardMark(const Property& property, QStringView name)
{
    return property.name == name &&
           property.value.trimmed().compare(u"VCARD", Qt::CaseInsensitive) == 0;
}

} // namespace

// Only the first line with text counts: a table of millions of lines is not
// split to find it. A CR alone ends a line too, and is trimmed away as space.
bool VCardReader::looksLikeVCard(QStringView text)
{
    for (const QStringView line : text.tokenize(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed.startsWith(u"BEGIN:VCARD", Qt::CaseInsensitive);
    }
    return false;
}

ContactsRead VCardReader::read(QStringView text, const StopRequest& stop)
{
    ContactsRead read;
    std::optional<Card> card;
    for (const ContentLine& line : unfolded(physicalLines(text))) {
        if (stop && !card && stop())
            return ContactsRead::failure(Problem::Stopped, line.number);
        if (line.text.trimmed().isEmpty())
            continue;
        const std::optional<Property> property = parseLine(line.text);
        if (!property)
            return ContactsRead::failure(Problem::NoColon, line.number);
        if (isCardMark(*property, u"BEGIN")) {
            if (card)
                return ContactsRead::failure(Problem::CardNotClosed, card->contact.line);
            card.emplace();
            card->contact.line = line.number;
            continue;
        }
        if (isCardMark(*property, u"END")) {
            if (!card)
                return ContactsRead::failure(Problem::EndWithoutBegin, line.number);
            Contact contact = card->finished();
            if (!contact.name.isEmpty() || !contact.phones.empty() || !contact.emails.isEmpty() ||
                !contact.note.isEmpty() || !contact.birthday.isEmpty() || !contact.fields.empty())
                read.contacts.push_back(std::move(contact));
            card.reset();
            continue;
        }
        if (!card)
            return ContactsRead::failure(Problem::OutsideCard, line.number);
        if (property->encoding == u"B" || property->encoding == u"BASE64")
            continue;
        const std::optional<QString> value = decodedValue(*property);
        if (!value)
            return ContactsRead::failure(Problem::UnknownCharset, line.number, property->charset);
        card->properties.emplace_back(*property, *value);
    }
    if (card)
        return ContactsRead::failure(Problem::CardNotClosed, card->contact.line);
    if (read.contacts.empty())
        return ContactsRead::failure(Problem::NoContacts, 1);
    return read;
}
