#include "contacts/contact_csv.h"

#include "contacts/contact_date.h"
#include "contacts/csv_table.h"
#include "contacts/person_name.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

using Kind = ContactPhone::Kind;
using Problem = ContactsRead::Problem;

const QStringList kHeader{QStringLiteral("Name"),     QStringLiteral("Phone"),
                          QStringLiteral("E-mail"),   QStringLiteral("Note"),
                          QStringLiteral("Category"), QStringLiteral("Birthday"),
                          QStringLiteral("UID")};

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
    Birthday,
    Nickname,
    Organisation,
    Title,
    Categories,
    Url,
    Address,
    Uid,
};

struct ColumnRole
{
    Column column = Column::Other;
    Kind kind = Kind::Other;
    qsizetype typeColumn = -1; // Google's "Phone 1 - Type" beside "Phone 1 - Value"
    QString group = {};        // the address the column is a part of
    bool whole = false;        // the address in one column: Google's "Address 1 - Formatted"
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
    if (containsAny(header, {u"mobile", u"cell", u"моб", u"сот", u"перенос"}))
        return Kind::Cell;
    if (containsAny(header, {u"work", u"business", u"раб", u"служеб"}))
        return Kind::Work;
    if (containsAny(header, {u"home", u"дом"}))
        return Kind::Home;
    return Kind::Other;
}

// The address a column is part of: "address 1" of "Address 1 - City",
// "business" of Outlook's "Business Postal Code", "раб. адрес" of
// "Индекс (раб. адрес)"; empty for a column of no address.
QString addressGroupOf(const QString& header)
{
    const qsizetype dash = header.indexOf(QLatin1StringView(" - "));
    if (header.startsWith(u"address") && dash > 0)
        return header.first(dash);
    const qsizetype bracket = header.indexOf(u'(');
    if (bracket > 0 && header.sliced(bracket).contains(u"адрес"))
        return header.sliced(bracket);
    if (!containsAny(header, {u"street", u"city", u"state", u"postal code", u"country", u"po box",
                              u"p.o. box", u"address"}))
        return {};
    for (const QStringView group : {u"business", u"home", u"other"}) {
        if (header.startsWith(group))
            return group.toString();
    }
    return header.contains(u"address") ? QStringLiteral("address") : QString();
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
    if (isOneOf(header, {u"category", u"categories", u"group membership", u"labels", u"группа",
                         u"группы", u"категория", u"категории"}))
        return {Column::Categories};
    // The type of a number beside it, the display name of an address, the
    // spelling of a Japanese name, the name again.
    if (containsAny(header, {u"type", u"тип", u"label", u"display", u"отображаем", u"yomi",
                             u"phonetic", u"file as", u"initials", u"инициалы", u"photo"}))
        return {Column::Ignored};
    if (containsAny(header, {u"mail", u"почт", u"электрон"}))
        return {Column::Mail};
    if (const QString group = addressGroupOf(header); !group.isEmpty())
        return {Column::Address, Kind::Other, -1, group, header.endsWith(u"formatted")};
    if (containsAny(header, {u"phone", u"телефон", u"mobile", u"моб", u"сот", u"fax", u"факс"}))
        return {Column::Phone, phoneKindOf(header)};
    if (isOneOf(header, {u"note", u"notes", u"заметка", u"заметки", u"примечание", u"примечания",
                         u"комментарий"}))
        return {Column::Note};
    if (isOneOf(header, {u"birthday", u"день рождения", u"дата рождения"}))
        return {Column::Birthday};
    if (isOneOf(header, {u"nickname", u"псевдоним", u"прозвище"}))
        return {Column::Nickname};
    if (isOneOf(header, {u"company", u"organization", u"organisation", u"organization name",
                         u"organization 1 - name", u"организация", u"компания"}))
        return {Column::Organisation};
    if (isOneOf(header,
                {u"job title", u"organization title", u"organization 1 - title", u"должность"}))
        return {Column::Title};
    if (header.startsWith(u"website") || header.startsWith(u"web page") ||
        isOneOf(header, {u"веб-страница", u"сайт", u"url"}))
        return {Column::Url};
    if (header == u"uid")
        return {Column::Uid};
    return {};
}

// Google names a number's kind in the column before: "Phone 1 - Type".
qsizetype typeColumnOf(const QStringList& header, qsizetype column)
{
    const QString name = header[column].simplified().toLower();
    if (!name.endsWith(QLatin1StringView(" - value")))
        return -1;
    const QString stem = name.chopped(5);
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString other = header[i].simplified().toLower();
        if (other == stem + QStringLiteral("type") || other == stem + QStringLiteral("label"))
            return i;
    }
    return -1;
}

std::vector<ColumnRole> rolesOf(const QStringList& header)
{
    bool hasFamily = false;
    for (const QString& name : header)
        hasFamily = hasFamily || roleOf(name, false).column == Column::Family;
    std::vector<ColumnRole> roles;
    for (qsizetype i = 0; i < header.size(); ++i) {
        ColumnRole role = roleOf(header[i], hasFamily);
        if (role.column == Column::Phone)
            role.typeColumn = typeColumnOf(header, i);
        roles.push_back(role);
    }
    return roles;
}

bool knowsContacts(const std::vector<ColumnRole>& roles)
{
    for (const ColumnRole& role : roles) {
        if (role.column == Column::FullName || role.column == Column::Family ||
            role.column == Column::Given || role.column == Column::Additional ||
            role.column == Column::Phone || role.column == Column::Mail)
            return true;
    }
    return false;
}

// Several values of one cell: ours are separated by ";", Google's by ":::".
QStringList valuesOf(const QString& cell, QChar separator = u';')
{
    QStringList values;
    for (const QString& part :
         QString(cell).replace(QLatin1StringView(":::"), separator).split(separator)) {
        if (!part.trimmed().isEmpty())
            values << part.trimmed();
    }
    return values;
}

// What Outlook writes in the columns a contact leaves empty.
bool isPlaceholder(const QString& value)
{
    const QString lower = value.toLower();
    return isOneOf(lower, {u"0/0/00", u"0.0.00", u"00.00.0000", u"unspecified", u"normal", u"false",
                           u"не указан", u"обычная", u"обычный", u"ложь"});
}

// Google's kind of a number: "Mobile", "Work Fax", "* Home" (the first
// number), or a name of the user's own, which the number keeps as its label.
void applyType(ContactPhone& phone, const QString& rawType)
{
    QString type = rawType.trimmed();
    if (type.startsWith(u'*'))
        type = type.sliced(1).trimmed();
    const QString lower = type.toLower();
    phone.kind = phoneKindOf(lower);
    if (phone.kind == Kind::Other && !isOneOf(lower, {u"", u"main", u"other", u"phone"}))
        phone.label = type;
}

// Google's groups without the ones every contact is in.
QString categoriesOf(const QString& cell)
{
    QStringList groups;
    for (QString group : valuesOf(QString(cell).replace(u';', u','), u',')) {
        if (group.startsWith(u'*'))
            group = group.sliced(1).trimmed();
        if (group.compare(u"myContacts", Qt::CaseInsensitive) != 0)
            groups << group;
    }
    return groups.join(QStringLiteral(", "));
}

struct Address
{
    QString group;
    QStringList parts;
    QString whole;
};

// Address books export about a hundred columns. Columns after these are not
// read, so a hostile header of millions of columns costs what a real one does
// and the window is never kept waiting on it.
constexpr qsizetype kMostColumns = 1024;

// The fields of one row that make a contact, in the order of the columns.
class RowReader
{
public:
    RowReader(const CsvTable::Row& row, const QStringList& header,
              const std::vector<ColumnRole>& roles)
        : m_row(row), m_header(header), m_roles(roles)
    {
        m_contact.line = row.line;
    }

    Contact read()
    {
        const qsizetype count = std::min(m_row.fields.size(), kMostColumns);
        for (qsizetype i = 0; i < count; ++i) {
            const QString value = m_row.fields[i].trimmed();
            const ColumnRole role = size_t(i) < m_roles.size() ? m_roles[size_t(i)] : ColumnRole{};
            if (!value.isEmpty())
                take(i, role, value);
        }
        for (const Address& address : m_addresses) {
            const QString text =
                address.whole.isEmpty() ? address.parts.join(QStringLiteral(", ")) : address.whole;
            m_contact.fields.push_back({ContactField::Kind::Address, text, {}});
        }
        m_contact.name = m_name.completing(m_contact.name);
        m_contact.note = m_note.join(u'\n');
        return m_contact;
    }

private:
    void take(qsizetype i, const ColumnRole& role, const QString& value)
    {
        switch (role.column) {
        case Column::FullName:
            m_contact.name = value.simplified();
            break;
        case Column::Family:
            m_name.family = value;
            break;
        case Column::Given:
            m_name.given = value;
            break;
        case Column::Additional:
            m_name.additional = value;
            break;
        case Column::Phone:
            takePhones(role, value);
            break;
        case Column::Mail:
            m_contact.emails << valuesOf(value);
            break;
        case Column::Note:
            m_note << value;
            break;
        case Column::Birthday:
            if (!isPlaceholder(value)) {
                const QString date = ContactDate::read(value);
                m_contact.birthday = date.isEmpty() ? value : date;
            }
            break;
        case Column::Address:
            takeAddress(role, value);
            break;
        case Column::Categories:
            addField(ContactField::Kind::Categories, categoriesOf(value));
            break;
        case Column::Nickname:
            addField(ContactField::Kind::Nickname, value);
            break;
        case Column::Organisation:
            addField(ContactField::Kind::Organisation, value);
            break;
        case Column::Title:
            addField(ContactField::Kind::Title, value);
            break;
        case Column::Url:
            for (const QString& url : valuesOf(value))
                addField(ContactField::Kind::Url, url);
            break;
        case Column::Uid:
            m_contact.uid = value.trimmed();
            break;
        case Column::Ignored:
            break;
        case Column::Other:
            if (!isPlaceholder(value))
                m_contact.fields.push_back(
                    {ContactField::Kind::Labelled, value,
                     i < m_header.size() ? m_header[i].trimmed() : QString()});
            break;
        }
    }

    void addField(ContactField::Kind kind, const QString& value)
    {
        if (!value.isEmpty())
            m_contact.fields.push_back({kind, value, {}});
    }

    void takePhones(const ColumnRole& role, const QString& value)
    {
        const QString type = role.typeColumn >= 0 ? m_row.fields.value(role.typeColumn) : QString();
        for (const QString& number : valuesOf(value)) {
            ContactPhone phone = phoneOf(number);
            if (role.typeColumn >= 0 && phone.kind == Kind::Other)
                applyType(phone, type);
            else if (phone.kind == Kind::Other)
                phone.kind = role.kind;
            m_contact.phones.push_back(phone);
        }
    }

    // Google gives an address whole and in its parts; it is taken once.
    void takeAddress(const ColumnRole& role, const QString& value)
    {
        auto address = std::find_if(m_addresses.begin(), m_addresses.end(),
                                    [&role](const Address& a) { return a.group == role.group; });
        if (address == m_addresses.end())
            address = m_addresses.insert(m_addresses.end(), Address{role.group, {}, {}});
        if (role.whole)
            address->whole = QStringList(valuesOf(value, u'\n')).join(QStringLiteral(", "));
        else
            address->parts << value.simplified();
    }

    const CsvTable::Row& m_row;
    const QStringList& m_header;
    const std::vector<ColumnRole>& m_roles;
    Contact m_contact;
    PersonName m_name;
    QStringList m_note;
    std::vector<Address> m_addresses;
};

bool isEmpty(const Contact& contact)
{
    return contact.name.isEmpty() && contact.phones.empty() && contact.emails.isEmpty() &&
           contact.note.isEmpty() && contact.birthday.isEmpty() && contact.fields.empty();
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
        CsvTable::appendRow(out, {contact.name, phones.join(kValueSeparator),
                                  contact.emails.join(kValueSeparator), contact.note,
                                  contact.category, contact.birthday, contact.uid});
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
    const QStringList columns = header.fields.first(std::min(header.fields.size(), kMostColumns));
    const std::vector<ColumnRole> roles = rolesOf(columns);
    if (!knowsContacts(roles))
        return ContactsRead::failure(Problem::NoColumns, header.line,
                                     columns.join(QStringLiteral(", ")));
    ContactsRead read;
    for (size_t i = 1; i < parsed.rows.size(); ++i) {
        if (stop && stop())
            return ContactsRead::failure(Problem::Stopped, parsed.rows[i].line);
        Contact contact = RowReader(parsed.rows[i], columns, roles).read();
        if (!isEmpty(contact))
            read.contacts.push_back(std::move(contact));
    }
    if (read.contacts.empty())
        return ContactsRead::failure(Problem::NoContacts, header.line);
    return read;
}
