#include "contacts/contact_entry.h"

#include "contacts/contact_date.h"
#include "document/page_entries.h"
#include "document/page_record.h"

#include <algorithm>
#include <span>

namespace {

using Kind = ContactPhone::Kind;

struct Label
{
    QStringView text;
    Kind kind;
    bool namesPhone = false; // "тел.", not "дом": a number after it is one however short
};

// Longest first, so that "сот" is found before the "т" it ends with.
constexpr Label kPhoneLabels[] = {
    {u"мобильный телефон", Kind::Cell, true},
    {u"домашний телефон", Kind::Home, true},
    {u"рабочий телефон", Kind::Work, true},
    {u"мобильный", Kind::Cell, true},
    {u"домашний", Kind::Home},
    {u"сотовый", Kind::Cell, true},
    {u"рабочий", Kind::Work},
    {u"телефон", Kind::Other, true},
    {u"mobile", Kind::Cell, true},
    {u"office", Kind::Work},
    {u"phone", Kind::Other, true},
    {u"факс", Kind::Fax, true},
    {u"work", Kind::Work},
    {u"home", Kind::Home},
    {u"cell", Kind::Cell, true},
    {u"моб", Kind::Cell, true},
    {u"сот", Kind::Cell, true},
    {u"раб", Kind::Work},
    {u"дом", Kind::Home},
    {u"тел", Kind::Other, true},
    {u"mob", Kind::Cell, true},
    {u"fax", Kind::Fax, true},
    {u"tel", Kind::Other, true},
    {u"т", Kind::Other},
};

constexpr Label kMailLabels[] = {
    {u"электронная почта", Kind::Other},
    {u"эл. почта", Kind::Other},
    {u"эл.почта", Kind::Other},
    {u"e-mail", Kind::Other},
    {u"почта", Kind::Other},
    {u"email", Kind::Other},
    {u"mail", Kind::Other},
};

constexpr Label kBirthdayLabels[] = {
    {u"день рождения", Kind::Other},
    {u"дата рождения", Kind::Other},
    {u"birthday", Kind::Other},
    {u"bday", Kind::Other},
    {u"д.р", Kind::Other},
    {u"д/р", Kind::Other},
    {u"др", Kind::Other},
};

// Words in front of a number that make it no telephone number, whatever its
// length: it stays in the note under them.
constexpr QStringView kNotPhoneWords[] = {
    u"инн",      u"кпп",  u"огрн",  u"огрнип", u"бик",   u"снилс", u"паспорт", u"паспорта",
    u"passport", u"счёт", u"счет",  u"счёта",  u"счета", u"р/с",   u"л/с",     u"к/с",
    u"account",  u"iban", u"карта", u"карты",  u"карту", u"card",  u"полис",
};

// Telephone numbers are told from house numbers, postcodes and sums by their
// length: seven digits or more, or five or more written the way numbers are
// ("+", dashes, a code in brackets), or two or more after a word that names a
// telephone ("моб. 144"). More than fifteen is an account number.
constexpr int kMinDigits = 7;
constexpr int kMinMarkedDigits = 5;
constexpr int kMinNamedDigits = 2;
constexpr int kMaxDigits = 15;
constexpr qsizetype kMaxSeparatorRun = 3;

struct Found
{
    enum class What
    {
        Mail,
        Phone,
        Birthday,
    };

    qsizetype start = 0; // with the label in front
    qsizetype end = 0;
    QString text;
    What what = What::Mail;
    Kind kind = Kind::Other;
    QString label = {}; // a number's own name: "Дача: 8 495 123-45-67"
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNumberSeparator(QChar c)
{
    return c == u' ' || c == u'-' || c == u'(' || c == u')' || c == QChar(0x00A0) ||
           c == QChar(0x2013);
}

// What is left between recognised items and around them.
bool isJoiner(QChar c)
{
    return c == u' ' || c == u'\t' || c == u',' || c == u';' || c == u':';
}

bool isLocalPartChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'_' || c == u'%' || c == u'+' || c == u'-';
}

bool isDomainChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'-';
}

bool isDomain(QStringView domain)
{
    const qsizetype lastDot = domain.lastIndexOf(u'.');
    return lastDot > 0 && domain.size() - lastDot > 2 && !domain.contains(u"..") &&
           domain.front() != u'-';
}

// Where a label right in front of `at` starts (spaces or tabs, a colon and
// the abbreviation's dot between), not before `floor`; `at` when none is there.
qsizetype labelStart(QStringView line, qsizetype floor, qsizetype at, std::span<const Label> labels,
                     const Label*& found)
{
    const auto isGap = [&line](qsizetype i) { return line[i] == u' ' || line[i] == u'\t'; };
    qsizetype p = at;
    while (p > floor && isGap(p - 1))
        --p;
    if (p > floor && line[p - 1] == u':') {
        --p;
        while (p > floor && isGap(p - 1))
            --p;
    }
    if (p > floor && line[p - 1] == u'.')
        --p;
    for (const Label& label : labels) {
        const qsizetype start = p - label.text.size();
        if (start < floor ||
            line.sliced(start, label.text.size()).compare(label.text, Qt::CaseInsensitive) != 0)
            continue;
        if (start > 0 && line[start - 1].isLetter())
            continue;
        found = &label;
        return start;
    }
    return at;
}

// A number's own name in front of it, as an entry writes a label other
// address books gave it ("Дача: 8 495 123-45-67"): words and a colon, after
// the line's start or a comma; `at` when there is none.
qsizetype ownLabelStart(QStringView line, qsizetype floor, qsizetype at, QString& label)
{
    constexpr qsizetype kMaxLabel = 32;
    qsizetype p = at;
    while (p > floor && line[p - 1] == u' ')
        --p;
    if (p == floor || line[p - 1] != u':')
        return at;
    const qsizetype colon = p - 1;
    qsizetype start = colon;
    while (start > floor && colon - start < kMaxLabel &&
           (line[start - 1].isLetterOrNumber() || line[start - 1] == u' ' ||
            line[start - 1] == u'-' || line[start - 1] == u'.'))
        --start;
    if (start > floor && !isJoiner(line[start - 1]))
        return at;
    const QStringView words = line.sliced(start, colon - start).trimmed();
    if (words.isEmpty() || !words.front().isLetter())
        return at;
    label = words.toString();
    return start;
}

// "раб. тел. 123-45-67": up to two labels, the more particular kind wins.
qsizetype labelsStart(QStringView line, qsizetype floor, qsizetype at,
                      std::span<const Label> labels, Kind& kind)
{
    qsizetype start = at;
    for (int i = 0; i < 2; ++i) {
        const Label* found = nullptr;
        const qsizetype before = labelStart(line, floor, start, labels, found);
        if (!found)
            break;
        if (kind == Kind::Other)
            kind = found->kind;
        start = before;
    }
    return start;
}

// Whether a word naming a telephone stands in front of `at`, alone or after
// another label: "тел. 09", "раб. тел. 12".
bool phoneNamedBefore(QStringView line, qsizetype floor, qsizetype at)
{
    qsizetype start = at;
    for (int i = 0; i < 2; ++i) {
        const Label* found = nullptr;
        start = labelStart(line, floor, start, kPhoneLabels, found);
        if (!found || found->namesPhone)
            return found;
    }
    return false;
}

// Whether the words between the last number, comma or semicolon and `at`
// say the number is no telephone's: "ИНН 7701234567", "паспорт 4506 123456".
bool namedAsNoPhone(QStringView line, qsizetype floor, qsizetype at)
{
    qsizetype start = at;
    while (start > floor && !isAsciiDigit(line[start - 1]) && line[start - 1] != u',' &&
           line[start - 1] != u';')
        --start;
    const QString words = line.sliced(start, at - start).toString().toLower();
    qsizetype wordStart = 0;
    for (qsizetype i = 0; i <= words.size(); ++i) {
        if (i < words.size() && (words[i].isLetter() || words[i] == u'/'))
            continue;
        const QStringView word = QStringView(words).sliced(wordStart, i - wordStart);
        if (std::find(std::begin(kNotPhoneWords), std::end(kNotPhoneWords), word) !=
            std::end(kNotPhoneWords))
            return true;
        wordStart = i + 1;
    }
    return false;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// "xmpp:anna@jabber.ru", "sip:": a messenger's address, not a mail address.
bool hasOtherScheme(QStringView line, qsizetype start)
{
    if (start == 0 || line[start - 1] != u':')
        return false;
    qsizetype schemeStart = start - 1;
    while (schemeStart > 0 &&
           (isAsciiLetter(line[schemeStart - 1]) || line[schemeStart - 1] == u'-'))
        --schemeStart;
    const QStringView scheme = line.sliced(schemeStart, start - 1 - schemeStart);
    const bool mailScheme =
        std::any_of(std::begin(kMailLabels), std::end(kMailLabels),
                    [&scheme](const Label& label) {
                        return scheme.compare(label.text, Qt::CaseInsensitive) == 0;
                    }) ||
        scheme.compare(u"mailto", Qt::CaseInsensitive) == 0;
    return !scheme.isEmpty() && !mailScheme;
}

std::vector<Found> findMails(QStringView line)
{
    std::vector<Found> mails;
    qsizetype searchFrom = 0;
    for (qsizetype at = line.indexOf(u'@'); at >= 0; at = line.indexOf(u'@', searchFrom)) {
        qsizetype start = at;
        while (start > searchFrom && isLocalPartChar(line[start - 1]))
            --start;
        while (start < at && line[start] == u'.')
            ++start;
        qsizetype end = at + 1;
        while (end < line.size() && isDomainChar(line[end]))
            ++end;
        // A full stop or a dash after the address ends the sentence, not the domain.
        while (end > at + 1 && (line[end - 1] == u'.' || line[end - 1] == u'-'))
            --end;
        searchFrom = std::max(end, at + 1);
        if (start == at || !isDomain(line.sliced(at + 1, end - at - 1)) ||
            hasOtherScheme(line, start))
            continue;
        mails.push_back({start, end, line.sliced(start, end - start).toString()});
    }
    return mails;
}

// The end of the number that starts at `start`, with its digit count and
// whether it is written the way telephone numbers are.
qsizetype numberEnd(QStringView line, qsizetype start, int& digits, bool& marked)
{
    qsizetype j = start;
    if (line[j] == u'+') {
        marked = true;
        ++j;
    }
    qsizetype end = start;
    while (j < line.size()) {
        if (isAsciiDigit(line[j])) {
            ++digits;
            end = ++j;
            continue;
        }
        qsizetype k = j;
        while (k < line.size() && k - j < kMaxSeparatorRun && isNumberSeparator(line[k]))
            ++k;
        if (k == j || k >= line.size() || !isAsciiDigit(line[k]))
            break;
        marked = marked || line.sliced(j, k - j).trimmed().size() > 0;
        j = k;
    }
    return end;
}

// "1 500 000": thousands set apart by spaces are a sum, however many digits.
bool isGroupedAmount(QStringView number)
{
    const QList<QStringView> groups = number.split(u' ');
    if (groups.size() < 2 || groups.front().isEmpty() || groups.front().size() > 3)
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i) {
        const QStringView group = groups[i];
        if (group.size() != 3 || !std::all_of(group.begin(), group.end(), isAsciiDigit))
            return false;
    }
    return std::all_of(groups.front().begin(), groups.front().end(), isAsciiDigit);
}

bool startsNumber(QStringView line, qsizetype i)
{
    const QChar c = line[i];
    const bool opens = (c == u'+' || c == u'(') && i + 1 < line.size() && isAsciiDigit(line[i + 1]);
    if (!isAsciiDigit(c) && !opens)
        return false;
    return i == 0 || !(line[i - 1].isLetterOrNumber() || line[i - 1] == u'+');
}

// The numbers outside the addresses and dates, which come sorted.
std::vector<Found> findPhones(QStringView line, const std::vector<Found>& taken)
{
    std::vector<Found> phones;
    auto mail = taken.begin();
    qsizetype floor = 0;
    for (qsizetype i = 0; i < line.size();) {
        if (mail != taken.end() && i >= mail->start) {
            i = std::max(i, mail->end);
            floor = i;
            ++mail;
            continue;
        }
        if (!startsNumber(line, i)) {
            ++i;
            continue;
        }
        int digits = 0;
        bool marked = false;
        const qsizetype end = numberEnd(line, i, digits, marked);
        const bool longEnough = digits >= kMinDigits || (marked && digits >= kMinMarkedDigits) ||
                                (digits >= kMinNamedDigits && phoneNamedBefore(line, floor, i));
        const bool isNumber = digits <= kMaxDigits && !isGroupedAmount(line.sliced(i, end - i)) &&
                              longEnough && (end == line.size() || !line[end].isLetter()) &&
                              (mail == taken.end() || end <= mail->start) &&
                              !namedAsNoPhone(line, floor, i);
        if (isNumber) {
            phones.push_back({i, end, line.sliced(i, end - i).toString(), Found::What::Phone});
            floor = end;
        }
        i = std::max(end, i + 1);
    }
    return phones;
}

// Dates outside the addresses: "1990-05-17" is no telephone number. A date
// without its year counts only as a birthday.
std::vector<Found> findDates(QStringView line, const std::vector<Found>& mails)
{
    std::vector<Found> dates;
    auto mail = mails.begin();
    for (qsizetype i = 0; i < line.size(); ++i) {
        while (mail != mails.end() && i >= mail->start) {
            i = std::max(i, mail->end);
            ++mail;
        }
        if (i >= line.size() || !isAsciiDigit(line[i]) ||
            (i > 0 && (line[i - 1].isLetterOrNumber() || line[i - 1] == u'+')))
            continue;
        const std::optional<ContactDate::Found> date = ContactDate::at(line, i, true);
        if (!date || (mail != mails.end() && date->end > mail->start))
            continue;
        dates.push_back({i, date->end, date->date, Found::What::Birthday});
        i = date->end;
    }
    return dates;
}

bool startsEarlier(const Found& a, const Found& b)
{
    return a.start < b.start;
}

// The recognised items of one line of details, each with its label; a date
// is one when a birthday label stands in front of it.
std::vector<Found> findItems(QStringView line)
{
    std::vector<Found> items = findMails(line);
    const std::vector<Found> dates = findDates(line, items);
    std::vector<Found> taken = items;
    for (const Found& date : dates) {
        if (date.text.startsWith(u"--"))
            continue;
        taken.push_back(date);
    }
    std::sort(taken.begin(), taken.end(), startsEarlier);
    std::vector<Found> phones = findPhones(line, taken);
    items.insert(items.end(), phones.begin(), phones.end());
    items.insert(items.end(), dates.begin(), dates.end());
    std::sort(items.begin(), items.end(), startsEarlier);
    std::vector<Found> labelled;
    qsizetype floor = 0;
    for (Found& item : items) {
        const qsizetype at = item.start;
        const std::span<const Label> labels =
            item.what == Found::What::Phone  ? std::span<const Label>(kPhoneLabels)
            : item.what == Found::What::Mail ? std::span<const Label>(kMailLabels)
                                             : std::span<const Label>(kBirthdayLabels);
        item.start = labelsStart(line, floor, item.start, labels, item.kind);
        if (item.what == Found::What::Birthday && item.start == at)
            continue;
        if (item.what == Found::What::Phone && item.start == at)
            item.start = ownLabelStart(line, floor, at, item.label);
        labelled.push_back(item);
        floor = item.end;
    }
    return labelled;
}

// Tabs lined up columns on the page; elsewhere a run of them is one space.
QString withoutTabs(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    for (qsizetype tab = text.indexOf(u'\t'); tab >= 0; tab = text.indexOf(u'\t', start)) {
        out.append(text.sliced(start, tab - start)).append(u' ');
        for (start = tab + 1; start < text.size() && text[start] == u'\t';)
            ++start;
    }
    return out.append(text.sliced(start));
}

QStringView trimmedOfJoiners(QStringView text)
{
    while (!text.isEmpty() && isJoiner(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isJoiner(text.back()))
        text.chop(1);
    return text;
}

// Takes the numbers and addresses out of a line of details into the contact;
// returns what is left of the line.
QString takeItems(QStringView line, Contact& contact)
{
    QString rest;
    qsizetype pos = 0;
    for (const Found& item : findItems(line)) {
        // A second birthday stays in the note, as the user wrote it.
        if (item.what == Found::What::Birthday && !contact.birthday.isEmpty())
            continue;
        rest += line.sliced(pos, item.start - pos);
        pos = item.end;
        // The punctuation after an item went with it: "123-45-67, Москва".
        while (pos < line.size() && (isJoiner(line[pos]) || line[pos] == u'.'))
            ++pos;
        if (item.what == Found::What::Phone)
            contact.phones.push_back({item.text, item.kind, item.label});
        else if (item.what == Found::What::Mail)
            contact.emails << item.text;
        else
            contact.birthday = item.text;
    }
    rest += line.sliced(pos);
    return withoutTabs(trimmedOfJoiners(rest));
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029);
}

// Each line of `text`, split at CR LF and at any single line break, given
// to `take` until it returns false.
template <typename Take> void eachLine(QStringView text, Take take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text[i]))
            continue;
        if (!take(text.sliced(start, i - start)))
            return;
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    take(text.sliced(start));
}

std::vector<QStringView> linesOf(QStringView text)
{
    std::vector<QStringView> lines;
    eachLine(text, [&lines](QStringView line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

QString labelOf(const ContactPhone& phone, const ContactEntry::Labels& labels)
{
    if (!phone.label.isEmpty())
        return phone.label + u':';
    switch (phone.kind) {
    case Kind::Cell:
        return labels.cell;
    case Kind::Work:
        return labels.work;
    case Kind::Home:
        return labels.home;
    case Kind::Fax:
        return labels.fax;
    case Kind::Other:
        break;
    }
    return {};
}

QString labelOf(const ContactField& field, const ContactEntry::Labels& labels)
{
    using FieldKind = ContactField::Kind;
    switch (field.kind) {
    case FieldKind::Nickname:
        return labels.nickname;
    case FieldKind::Organisation:
        return labels.organisation;
    case FieldKind::Title:
        return labels.title;
    case FieldKind::Address:
        return labels.address;
    case FieldKind::Url:
        return labels.url;
    case FieldKind::Categories:
        return labels.categories;
    case FieldKind::Role:
        return labels.role;
    case FieldKind::Messenger:
        return labels.messenger;
    case FieldKind::Anniversary:
        return labels.anniversary;
    case FieldKind::Spouse:
        return labels.spouse;
    case FieldKind::Labelled:
        break;
    }
    return field.label;
}

// A field's value as its line shows it: groups without the page's own.
QString shownValue(const ContactField& field, const QString& category)
{
    if (field.kind != ContactField::Kind::Categories || category.isEmpty())
        return field.value;
    QStringList groups;
    for (const QString& group : field.value.split(u',')) {
        if (group.trimmed() != category)
            groups << group.trimmed();
    }
    return groups.join(QStringLiteral(", "));
}

bool holdsPhone(QStringView text)
{
    const std::vector<Found> items = findItems(text);
    return std::any_of(items.begin(), items.end(),
                       [](const Found& item) { return item.what == Found::What::Phone; });
}

// A number with its label, and with the word for a telephone between where
// only that makes it read back as a number: "тел. 09", "раб. тел. 144".
QString phoneText(const QString& label, const QString& number, const QString& phoneWord)
{
    const QString text = label.isEmpty() ? number : label + u' ' + number;
    if (phoneWord.isEmpty() || holdsPhone(text))
        return text;
    const QString named = (label.isEmpty() ? phoneWord : label + u' ' + phoneWord) + u' ' + number;
    return holdsPhone(named) ? named : text;
}

QString labelled(const QString& label, const QString& value)
{
    return label.isEmpty() ? value : label + QStringLiteral(": ") + value;
}

} // namespace

std::optional<Contact> ContactEntry::toContact(QStringView entry, const QString& category)
{
    const std::vector<QStringView> lines = linesOf(entry);
    Contact contact;
    contact.category = category;
    QStringList note;
    const QStringView first = trimmedOfJoiners(lines.front());
    const qsizetype tab = first.indexOf(u'\t');
    if (tab < 0) {
        contact.name = takeItems(first, contact);
        if (contact.name.isEmpty())
            contact.name = withoutTabs(first);
    } else {
        contact.name = withoutTabs(trimmedOfJoiners(first.first(tab)));
        note << takeItems(trimmedOfJoiners(first.sliced(tab + 1)), contact);
    }
    for (size_t i = 1; i < lines.size(); ++i)
        note << takeItems(trimmedOfJoiners(lines[i]), contact);
    note.removeAll(QString());
    contact.note = note.join(u'\n');
    if (contact.name.isEmpty() && contact.phones.empty() && contact.emails.isEmpty() &&
        contact.note.isEmpty() && contact.birthday.isEmpty())
        return std::nullopt;
    return contact;
}

std::vector<Contact> ContactEntry::ofPage(const PageRecord& page)
{
    std::vector<Contact> contacts;
    for (const QStringView entry : PageEntries::split(page.plainText())) {
        if (std::optional<Contact> contact = toContact(entry, page.title))
            contacts.push_back(std::move(*contact));
    }
    return contacts;
}

QString ContactEntry::toEntry(const Contact& contact, const Labels& labels,
                             const StopRequest& stop)
{
    // The name, else the first detail; the next detail after a tab, the rest
    // on lines of their own. A note of a whole file is one string growing.
    QString entry = contact.name.simplified();
    int afterName = 0;
    const auto add = [&entry, &afterName](QStringView detail) {
        if (entry.isEmpty())
            entry = detail.toString();
        else
            entry.append(afterName++ == 0 ? QStringView(u"\t") : QStringView(u"\r\n\t\t"))
                .append(detail);
    };
    QStringList phones;
    for (const ContactPhone& phone : contact.phones) {
        const QString number = phone.number.simplified();
        if (!number.isEmpty())
            phones << phoneText(labelOf(phone, labels), number, labels.phone);
    }
    QStringList mails;
    for (const QString& mail : contact.emails) {
        if (!mail.simplified().isEmpty())
            mails << mail.simplified();
    }
    if (!phones.isEmpty())
        add(phones.join(QStringLiteral(", ")));
    if (!mails.isEmpty())
        add(mails.join(QStringLiteral(", ")));
    if (!contact.birthday.isEmpty())
        add(labelled(labels.birthday, ContactDate::toEntry(contact.birthday)));
    const auto going = [&stop] { return !stop || !stop(); };
    for (const ContactField& field : contact.fields) {
        const QString label = labelOf(field, labels);
        eachLine(shownValue(field, contact.category), [&](QStringView line) {
            const QString kept = withoutTabs(line).simplified();
            if (!kept.isEmpty())
                add(labelled(label, kept));
            return going();
        });
    }
    eachLine(contact.note, [&](QStringView line) {
        const QString kept = withoutTabs(line).trimmed();
        if (!kept.isEmpty())
            add(kept);
        return going();
    });
    return entry;
}
