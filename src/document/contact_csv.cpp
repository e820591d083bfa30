#include "document/contact_csv.h"

#include "document/csv_table.h"

#include <array>
#include <optional>

namespace {

using Kind = ContactPhone::Kind;
using Problem = ContactsRead::Problem;

const QStringList kHeader{QStringLiteral("Name"), QStringLiteral("Phone"), QStringLiteral("E-mail"),
                          QStringLiteral("Note"), QStringLiteral("Category")};

const QLatin1StringView kValueSeparator("; ");

struct KindName
{
    Kind kind;
    QStringView name;
};

constexpr std::array kKindNames{KindName{Kind::Cell, u"cell"}, KindName{Kind::Work, u"work"},
                                KindName{Kind::Home, u"home"}, KindName{Kind::Fax, u"fax"}};

QString phoneText(const ContactPhone& phone)
{
    for (const KindName& kind : kKindNames) {
        if (kind.kind == phone.kind)
            return phone.number + QStringLiteral(" (") + kind.name.toString() + u')';
    }
    return phone.number;
}

ContactPhone phoneOf(QStringView text)
{
    for (const KindName& kind : kKindNames) {
        const QString suffix = QStringLiteral(" (") + kind.name.toString() + u')';
        if (text.endsWith(suffix, Qt::CaseInsensitive))
            return {text.chopped(suffix.size()).trimmed().toString(), kind.kind};
    }
    return {text.toString(), Kind::Other};
}

enum class Column
{
    Other,
    Ignored,
    FullName,
    Family,
    Given,
    Additional,
    Phone,
    Mail,
    Note,
};

struct ColumnRole
{
    Column column = Column::Other;
    Kind kind = Kind::Other;
};

bool isOneOf(const QString& header, std::initializer_list<QStringView> names)
{
    for (const QStringView name : names) {
        if (header == name)
            return true;
    }
    return false;
}

bool containsAny(const QString& header, std::initializer_list<QStringView> parts)
{
    for (const QStringView part : parts) {
        if (header.contains(part))
            return true;
    }
    return false;
}

Kind phoneKindOf(const QString& header)
{
    if (containsAny(header, {u"fax", u"факс"}))
        return Kind::Fax;
    if (containsAny(header, {u"mobile", u"cell", u"моб", u"сот"}))
        return Kind::Cell;
    if (containsAny(header, {u"work", u"business", u"раб"}))
        return Kind::Work;
    if (containsAny(header, {u"home", u"дом"}))
        return Kind::Home;
    return Kind::Other;
}

// "Имя" is the whole name, unless the table has a family name column too.
ColumnRole roleOf(const QString& rawHeader, bool hasFamily)
{
    const QString header = rawHeader.simplified().toLower();
    if (isOneOf(header,
                {u"name", u"full name", u"display name", u"фио", u"полное имя", u"контакт"}) ||
        (header == u"имя" && !hasFamily))
        return {Column::FullName};
    if (isOneOf(header, {u"last name", u"family name", u"surname", u"фамилия"}))
        return {Column::Family};
    if (isOneOf(header, {u"first name", u"given name", u"имя"}))
        return {Column::Given};
    if (isOneOf(header, {u"middle name", u"additional name", u"отчество"}))
        return {Column::Additional};
    // "Phone 1 - Type" beside "Phone 1 - Value" (the kind comes from the
    // header), "E-mail Display Name" beside the address.
    if (containsAny(header, {u"type", u"тип", u"label", u"display"}))
        return {Column::Ignored};
    if (containsAny(header, {u"mail", u"почт", u"электрон"}))
        return {Column::Mail};
    if (containsAny(header, {u"phone", u"телефон", u"mobile", u"моб", u"сот", u"fax", u"факс"}))
        return {Column::Phone, phoneKindOf(header)};
    if (isOneOf(header, {u"note", u"notes", u"заметка", u"заметки", u"примечание", u"примечания",
                         u"комментарий"}))
        return {Column::Note};
    if (isOneOf(header, {u"category", u"categories", u"group membership", u"группа", u"категория"}))
        return {Column::Ignored};
    return {};
}

std::vector<ColumnRole> rolesOf(const QStringList& header)
{
    bool hasFamily = false;
    for (const QString& name : header)
        hasFamily = hasFamily || roleOf(name, false).column == Column::Family;
    std::vector<ColumnRole> roles;
    for (const QString& name : header)
        roles.push_back(roleOf(name, hasFamily));
    return roles;
}

bool knowsContacts(const std::vector<ColumnRole>& roles)
{
    for (const ColumnRole& role : roles) {
        if (role.column != Column::Other && role.column != Column::Ignored &&
            role.column != Column::Note)
            return true;
    }
    return false;
}

// Several values of one cell: ours are separated by ";", Google's by ":::".
QStringList valuesOf(const QString& cell)
{
    QStringList values;
    for (const QString& part :
         QString(cell).replace(QLatin1StringView(":::"), QLatin1StringView(";")).split(u';')) {
        if (!part.trimmed().isEmpty())
            values << part.trimmed();
    }
    return values;
}

Contact contactOf(const CsvTable::Row& row, const QStringList& header,
                  const std::vector<ColumnRole>& roles)
{
    Contact contact;
    contact.line = row.line;
    QStringList nameParts(3);
    QStringList note;
    QStringList other;
    for (qsizetype i = 0; i < row.fields.size(); ++i) {
        const QString value = row.fields[i].trimmed();
        if (value.isEmpty())
            continue;
        const ColumnRole role = size_t(i) < roles.size() ? roles[size_t(i)] : ColumnRole{};
        switch (role.column) {
        case Column::FullName:
            contact.name = value.simplified();
            break;
        case Column::Family:
        case Column::Given:
        case Column::Additional:
            nameParts[int(role.column) - int(Column::Family)] = value;
            break;
        case Column::Phone:
            for (const QString& number : valuesOf(value)) {
                ContactPhone phone = phoneOf(number);
                if (phone.kind == Kind::Other)
                    phone.kind = role.kind;
                contact.phones.push_back(phone);
            }
            break;
        case Column::Mail:
            contact.emails << valuesOf(value);
            break;
        case Column::Note:
            note << value;
            break;
        case Column::Ignored:
            break;
        case Column::Other:
            other << (i < header.size() && !header[i].trimmed().isEmpty()
                          ? header[i].trimmed() + QStringLiteral(": ") + value
                          : value);
            break;
        }
    }
    if (contact.name.isEmpty())
        contact.name = nameParts.join(u' ').simplified();
    contact.note = (other + note).join(u'\n');
    return contact;
}

bool isEmpty(const Contact& contact)
{
    return contact.name.isEmpty() && contact.phones.empty() && contact.emails.isEmpty() &&
           contact.note.isEmpty();
}

} // namespace

QByteArray ContactCsv::write(std::span<const Contact> contacts)
{
    QString out;
    CsvTable::appendRow(out, kHeader);
    for (const Contact& contact : contacts) {
        QStringList phones;
        for (const ContactPhone& phone : contact.phones)
            phones << phoneText(phone);
        CsvTable::appendRow(out,
                            {contact.name, phones.join(kValueSeparator),
                             contact.emails.join(kValueSeparator), contact.note, contact.category});
    }
    return "\xEF\xBB\xBF" + out.toUtf8();
}

ContactsRead ContactCsv::read(QStringView text, const StopRequest& stop)
{
    const CsvTable::Parsed parsed = CsvTable::parse(text, stop);
    if (!parsed.ok())
        return ContactsRead::failure(parsed.problem, parsed.line);
    if (parsed.rows.empty())
        return ContactsRead::failure(Problem::NoContacts, 1);
    const CsvTable::Row& header = parsed.rows.front();
    const std::vector<ColumnRole> roles = rolesOf(header.fields);
    if (!knowsContacts(roles))
        return ContactsRead::failure(Problem::NoColumns, header.line,
                                     header.fields.join(QStringLiteral(", ")));
    ContactsRead read;
    for (size_t i = 1; i < parsed.rows.size(); ++i) {
        if (stop && stop())
            return ContactsRead::failure(Problem::Stopped, parsed.rows[i].line);
        Contact contact = contactOf(parsed.rows[i], header.fields, roles);
        if (!isEmpty(contact))
            read.contacts.push_back(std::move(contact));
    }
    if (read.contacts.empty())
        return ContactsRead::failure(Problem::NoContacts, header.line);
    return read;
}
