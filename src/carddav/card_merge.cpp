#include "carddav/card_merge.h"

#include "contacts/contact_date.h"
#include "contacts/person_name.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"

#include <QSet>
#include <algorithm>
#include <optional>

namespace {

const char* const kOwned[] = {"FN",  "TEL",   "EMAIL", "NOTE", "BDAY",     "CATEGORIES",
                              "ORG", "TITLE", "ADR",   "URL",  "NICKNAME", "ROLE"};

// Properties with one value: a change replaces every line of them.
bool isSingle(const QString& property)
{
    return property == u"NOTE" || property == u"BDAY" || property == u"CATEGORIES";
}

bool isOwned(const QString& property)
{
    return std::any_of(std::begin(kOwned), std::end(kOwned),
                       [&](const char* owned) { return property == QLatin1String(owned); });
}

// A content line of a card as the server holds it.
struct Line
{
    QByteArray raw; // folds and line end included
    QString text;   // unfolded
    QString group;  // "ITEM1" of "item1.TEL"
    QString name;   // "TEL"; N counts as FN: both are the name
};

void parseHead(Line& line)
{
    qsizetype end = 0;
    while (end < line.text.size() && line.text[end] != u':' && line.text[end] != u';')
        ++end;
    const QString head = line.text.first(end).trimmed();
    const qsizetype dot = head.lastIndexOf(u'.');
    line.name = head.sliced(dot + 1).toUpper();
    line.group = dot < 0 ? QString() : head.first(dot).toUpper();
}

std::vector<Line> linesOf(const QByteArray& card)
{
    std::vector<Line> lines;
    for (qsizetype pos = 0; pos < card.size();) {
        const qsizetype newline = card.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? card.size() : newline + 1;
        const QByteArray physical = card.mid(pos, end - pos);
        pos = end;
        if (!lines.empty() && (physical.startsWith(' ') || physical.startsWith('\t')))
            lines.back().raw += physical;
        else
            lines.push_back({physical, {}, {}, {}});
    }
    for (Line& line : lines) {
        QByteArray unfolded;
        const QList<QByteArray> parts = line.raw.split('\n');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            QByteArray part = parts[i];
            if (part.endsWith('\r'))
                part.chop(1);
            unfolded += i == 0 ? part : part.mid(1);
        }
        line.text = QString::fromUtf8(unfolded);
        parseHead(line);
    }
    return lines;
}

QString propertyOf(const Line& line)
{
    return line.name == u"N" ? QStringLiteral("FN") : line.name;
}

QByteArray joined(const std::vector<Line>& lines)
{
    QByteArray out;
    for (const Line& line : lines)
        out += line.raw;
    return out;
}

Line newLine(const QByteArray& text)
{
    Line line{VCardWriter::folded(text), QString::fromUtf8(text), {}, {}};
    parseHead(line);
    return line;
}

// Where new lines go when the card has none of their property: before its end.
qsizetype endOf(const std::vector<Line>& lines)
{
    for (qsizetype i = qsizetype(lines.size()) - 1; i >= 0; --i) {
        if (lines[size_t(i)].name == u"END")
            return i;
    }
    return qsizetype(lines.size());
}

QString digitsOf(const QString& number)
{
    QString digits;
    for (const QChar c : number) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

QString kindName(ContactPhone::Kind kind)
{
    return QString::fromLatin1(VCardWriter::telProperty(kind).toByteArray());
}

// Each line of a text simplified, blank lines left out.
QString normalisedLines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        if (const QString kept = line.simplified(); !kept.isEmpty())
            lines << kept;
    }
    return lines.join(u'\n');
}

QByteArray utf8Line(const char* property, const QString& value)
{
    return QByteArray(property) + ':' + VCardWriter::escaped(value).toUtf8();
}

const char* propertyOfField(ContactField::Kind kind)
{
    switch (kind) {
    case ContactField::Kind::Organisation:
        return "ORG";
    case ContactField::Kind::Title:
        return "TITLE";
    case ContactField::Kind::Address:
        return "ADR";
    case ContactField::Kind::Url:
        return "URL";
    case ContactField::Kind::Nickname:
        return "NICKNAME";
    case ContactField::Kind::Categories:
        return "CATEGORIES";
    case ContactField::Kind::Role:
        return "ROLE";
    case ContactField::Kind::Messenger:
    case ContactField::Kind::Anniversary:
    case ContactField::Kind::Spouse:
    case ContactField::Kind::Labelled:
        break;
    }
    return nullptr;
}

QByteArray fieldLine(const char* property, const QString& value)
{
    const QByteArray name(property);
    if (name == "ADR") // the whole address as its street: the entry holds it as one text
        return "ADR:;;" + VCardWriter::escaped(value).toUtf8() + ";;;;";
    if (name == "URL")
        return "URL:" + value.toUtf8();
    if (name == "CATEGORIES") {
        QStringList parts;
        for (const QString& part : value.split(u',', Qt::SkipEmptyParts))
            parts << VCardWriter::escaped(part.trimmed());
        return "CATEGORIES:" + parts.join(u',').toUtf8();
    }
    return utf8Line(property, value);
}

std::optional<Contact> readOne(const QString& card)
{
    const ContactsRead read = VCardReader::read(card);
    if (!read.ok() || read.contacts.size() != 1)
        return std::nullopt;
    return read.contacts.front();
}

QStringList removedKeys(QStringList before, const QStringList& after)
{
    for (const QString& key : after)
        before.removeOne(key);
    return before;
}

// The number's digits or the address, without the kind: a second chance to
// find the line of a value whose kind or label read differently.
QString looseKey(const QString& key)
{
    return key.section(u'|', 0, 0);
}

// Takes out of `removed` the value one of `keys` names: exactly, else by its
// number or address alone.
bool takeRemoved(QStringList& removed, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (removed.removeOne(key))
            return true;
    }
    for (const QString& key : keys) {
        const auto loose = std::find_if(removed.begin(), removed.end(), [&](const QString& r) {
            return looseKey(r) == looseKey(key);
        });
        if (loose != removed.end()) {
            removed.erase(loose);
            return true;
        }
    }
    return false;
}

int lastItemNumber(const std::vector<Line>& lines)
{
    int last = 0;
    for (const Line& line : lines) {
        if (line.group.startsWith(u"ITEM"))
            last = std::max(last, line.group.sliced(4).toInt());
    }
    return last;
}

// The value of a content line split at the separators that are not escaped.
QStringList componentsOf(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    QStringList parts{QString()};
    for (qsizetype i = colon + 1; i < text.size(); ++i) {
        if (text[i] == u';' && text[i - 1] != u'\\')
            parts << QString();
        else
            parts.back() += text[i];
    }
    return parts;
}

// FN and N of the entry's name; N keeps the card's prefix and suffix.
void rename(std::vector<Line>& lines, const QString& name)
{
    const PersonName parts = PersonName::of(name);
    QStringList n{VCardWriter::escaped(parts.family), VCardWriter::escaped(parts.given),
                  VCardWriter::escaped(parts.additional), QString(), QString()};
    bool hasFn = false;
    for (Line& line : lines) {
        if (line.name == u"FN") {
            line = newLine(utf8Line("FN", name));
            hasFn = true;
        } else if (line.name == u"N") {
            const QStringList old = componentsOf(line.text);
            n[3] = old.value(3);
            n[4] = old.value(4);
            line = newLine("N:" + n.join(u';').toUtf8());
        }
    }
    if (!hasFn) {
        const auto version = std::find_if(lines.begin(), lines.end(),
                                          [](const Line& line) { return line.name == u"VERSION"; });
        lines.insert(version == lines.end() ? version : version + 1, newLine(utf8Line("FN", name)));
    }
}

// Labels of `itemN` groups that lost every line they named.
void dropOrphanLabels(std::vector<Line>& lines, const QSet<QString>& groups)
{
    for (const QString& group : groups) {
        const bool named = std::any_of(lines.begin(), lines.end(), [&](const Line& line) {
            return line.group == group && !line.name.startsWith(u"X-AB");
        });
        if (!named)
            std::erase_if(lines, [&](const Line& line) { return line.group == group; });
    }
}

} // namespace

CardMerge::CardMerge(std::vector<ContactEntry::Labels> labels) : m_labels(std::move(labels)) {}

QStringList CardMerge::listOf(const ContactEntry::Labels& l)
{
    return {l.cell,         l.work,        l.home,    l.fax,  l.birthday,   l.nickname,
            l.organisation, l.title,       l.address, l.url,  l.categories, l.role,
            l.messenger,    l.anniversary, l.spouse,  l.phone};
}

ContactEntry::Labels CardMerge::labelsOf(const QStringList& list)
{
    return {list.value(0),  list.value(1),  list.value(2),  list.value(3),
            list.value(4),  list.value(5),  list.value(6),  list.value(7),
            list.value(8),  list.value(9),  list.value(10), list.value(11),
            list.value(12), list.value(13), list.value(14), list.value(15)};
}

CardMerge::Values CardMerge::valuesOf(const Contact& contact, bool entry) const
{
    Values values;
    if (!contact.name.simplified().isEmpty())
        values["FN"].push_back({contact.name.simplified()});
    for (const ContactPhone& phone : contact.phones) {
        const QString key = digitsOf(phone.number) + u'|' +
                            (phone.label.isEmpty() ? kindName(phone.kind) : phone.label.toLower());
        values["TEL"].push_back({key,
                                 VCardWriter::telProperty(phone.kind).toByteArray() + ':' +
                                     VCardWriter::escaped(phone.number.trimmed()).toUtf8(),
                                 phone.label});
    }
    for (const QString& mail : contact.emails)
        values["EMAIL"].push_back({mail.trimmed().toLower(), utf8Line("EMAIL", mail.trimmed())});
    if (const QString note = normalisedLines(contact.note); !note.isEmpty())
        values["NOTE"].push_back({note, utf8Line("NOTE", contact.note.trimmed())});
    if (!contact.birthday.isEmpty()) {
        const QString date = ContactDate::toVCard(contact.birthday);
        values["BDAY"].push_back(
            {contact.birthday, utf8Line("BDAY", date.isEmpty() ? contact.birthday : date)});
    }
    for (const ContactField& field : contact.fields) {
        const char* property = propertyOfField(field.kind);
        const QString value = field.value.simplified();
        if (property && !value.isEmpty())
            values[QLatin1String(property)].push_back({value, fieldLine(property, value)});
    }
    if (entry && !values.contains(QStringLiteral("CATEGORIES")) && !contact.category.isEmpty())
        values["CATEGORIES"].push_back(
            {contact.category, fieldLine("CATEGORIES", contact.category)});
    for (auto& [property, list] : values) {
        std::sort(list.begin(), list.end(),
                  [](const Value& a, const Value& b) { return a.key < b.key; });
    }
    return values;
}

// The entry's "label: value" lines become the properties they name; lines
// the card's other properties put into the entry are no part of its note.
CardMerge::Values CardMerge::entryValues(const Contact& entry, const QByteArray& card) const
{
    QSet<QString> others;
    const auto taken = readOne(QString::fromUtf8(card));
    std::vector<std::pair<const QString*, ContactField::Kind>> fieldLabels;
    for (const ContactEntry::Labels& labels : m_labels) {
        fieldLabels.insert(fieldLabels.end(),
                           {{&labels.organisation, ContactField::Kind::Organisation},
                            {&labels.title, ContactField::Kind::Title},
                            {&labels.address, ContactField::Kind::Address},
                            {&labels.url, ContactField::Kind::Url},
                            {&labels.nickname, ContactField::Kind::Nickname},
                            {&labels.categories, ContactField::Kind::Categories},
                            {&labels.role, ContactField::Kind::Role}});
        if (!taken)
            continue;
        const QStringList own = normalisedLines(taken->note).split(u'\n');
        const auto back = ContactEntry::toContact(ContactEntry::toEntry(*taken, labels), {});
        for (const QString& line : back ? back->note.split(u'\n') : QStringList()) {
            if (!own.contains(line.simplified()))
                others.insert(line.simplified());
        }
    }
    Contact contact = entry;
    QStringList note;
    for (const QString& line : entry.note.split(u'\n')) {
        const QString kept = line.simplified();
        const auto field =
            std::find_if(fieldLabels.begin(), fieldLabels.end(), [&](const auto& label) {
                return !label.first->isEmpty() &&
                       kept.startsWith(*label.first + u':', Qt::CaseInsensitive);
            });
        if (field != fieldLabels.end())
            contact.fields.push_back({field->second, kept.sliced(field->first->size() + 1)});
        else if (!others.contains(kept))
            note << line;
    }
    contact.note = note.join(u'\n');
    return valuesOf(contact, true);
}

CardMerge::Owned CardMerge::keysOf(const Values& values)
{
    Owned owned;
    for (const auto& [property, list] : values) {
        for (const Value& value : list)
            owned[property] << value.key;
    }
    return owned;
}

CardMerge::Owned CardMerge::ofEntry(const Contact& entry, const QByteArray& card) const
{
    return keysOf(entryValues(entry, card));
}

CardMerge::Owned CardMerge::ofCard(const QByteArray& card) const
{
    const auto contact = readOne(QString::fromUtf8(card));
    return contact ? keysOf(valuesOf(*contact, false)) : Owned();
}

CardMerge::Owned CardMerge::ofCardAsEntry(const QByteArray& card, const QString& category) const
{
    const auto contact = readOne(QString::fromUtf8(card));
    if (!contact)
        return {};
    const auto entry = ContactEntry::toContact(
        ContactEntry::toEntry(*contact,
                              m_labels.empty() ? ContactEntry::Labels() : m_labels.front()),
        category);
    return entry ? ofEntry(*entry, card) : Owned();
}

QStringList CardMerge::changed(const Owned& before, const Owned& after)
{
    QStringList properties;
    for (const char* name : kOwned) {
        const QString property = QLatin1String(name);
        if (before.value(property) != after.value(property))
            properties << property;
    }
    return properties;
}

QStringList CardMerge::changedLines(const QByteArray& before, const QByteArray& after)
{
    const auto texts = [](const QByteArray& card) {
        std::map<QString, QStringList> byProperty;
        for (const Line& line : linesOf(card)) {
            if (isOwned(propertyOf(line)))
                byProperty[propertyOf(line)] << line.text;
        }
        for (auto& [property, list] : byProperty)
            list.sort();
        return byProperty;
    };
    const auto was = texts(before);
    const auto is = texts(after);
    QStringList properties;
    for (const char* name : kOwned) {
        const QString property = QLatin1String(name);
        const auto a = was.find(property);
        const auto b = is.find(property);
        if ((a == was.end() ? QStringList() : a->second) !=
            (b == is.end() ? QStringList() : b->second))
            properties << property;
    }
    return properties;
}

QByteArray CardMerge::merged(const QByteArray& server, const Owned& before, const Contact& entry,
                             const QByteArray& card) const
{
    const Values after = entryValues(entry, card);
    const Owned afterKeys = keysOf(after);
    std::vector<Line> lines = linesOf(server);
    QString version = QStringLiteral("VERSION:4.0");
    for (const Line& line : lines) {
        if (line.name == u"VERSION")
            version = line.text;
    }
    // The keys of one line, read with its group's label as the whole card would be.
    const auto keysOfLine = [&](size_t index) {
        QString one = QStringLiteral("BEGIN:VCARD\r\n") + version + QStringLiteral("\r\nFN:-\r\n") +
                      lines[index].text + QStringLiteral("\r\n");
        for (const Line& other : lines) {
            if (!lines[index].group.isEmpty() && other.group == lines[index].group &&
                other.name == u"X-ABLABEL")
                one += other.text + QStringLiteral("\r\n");
        }
        const auto contact = readOne(one + QStringLiteral("END:VCARD\r\n"));
        return contact ? keysOf(valuesOf(*contact, false)).value(propertyOf(lines[index]))
                       : QStringList();
    };
    QSet<QString> emptied;
    int item = lastItemNumber(lines);
    for (const QString& property : changed(before, afterKeys)) {
        if (property == u"FN") {
            rename(lines, entry.name.simplified());
            continue;
        }
        QStringList removed = isSingle(property)
                                  ? QStringList()
                                  : removedKeys(before.value(property), afterKeys.value(property));
        std::vector<Value> added;
        QStringList known = before.value(property);
        for (const Value& value :
             after.count(property) ? after.at(property) : std::vector<Value>()) {
            if (isSingle(property) || !known.removeOne(value.key))
                added.push_back(value);
        }
        qsizetype at = -1;
        for (size_t i = 0; i < lines.size();) {
            if (propertyOf(lines[i]) != property) {
                ++i;
                continue;
            }
            if (!isSingle(property) && !takeRemoved(removed, keysOfLine(i))) {
                at = qsizetype(i) + 1;
                ++i;
                continue;
            }
            if (!lines[i].group.isEmpty())
                emptied.insert(lines[i].group);
            lines.erase(lines.begin() + qsizetype(i));
            if (!isSingle(property) || at < 0)
                at = qsizetype(i);
        }
        if (at < 0)
            at = endOf(lines);
        std::vector<Line> inserted;
        for (const Value& value : added) {
            if (value.label.isEmpty()) {
                inserted.push_back(newLine(value.line));
                continue;
            }
            const QByteArray group = "item" + QByteArray::number(++item) + '.';
            inserted.push_back(newLine(group + value.line));
            inserted.push_back(newLine(group + utf8Line("X-ABLabel", value.label)));
        }
        lines.insert(lines.begin() + at, inserted.begin(), inserted.end());
    }
    dropOrphanLabels(lines, emptied);
    return joined(lines);
}
