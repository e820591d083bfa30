#include "contacts/person_name.h"

#include <QStringList>
#include <algorithm>

namespace {

// Words that make a name a company's or a service's, in any case.
constexpr QStringView kOrganisationWords[] = {
    u"ооо",      u"оао",         u"зао",      u"пао",        u"ао",      u"ип",
    u"гуп",      u"муп",         u"фгуп",     u"нко",        u"тсж",     u"жэк",
    u"llc",      u"inc",         u"ltd",      u"gmbh",       u"corp",    u"co",
    u"company",  u"фирма",       u"компания", u"магазин",    u"аптека",  u"банк",
    u"больница", u"поликлиника", u"клиника",  u"такси",      u"салон",   u"ресторан",
    u"кафе",     u"служба",      u"сервис",   u"автосервис", u"центр",   u"ателье",
    u"школа",    u"институт",    u"театр",    u"гостиница",  u"отель",   u"диспетчерская",
    u"ремонт",   u"доставка",    u"офис",     u"bank",       u"service", u"taxi",
};

// "-ович", "-евич", "Ильич"; "-овна", "-евна", "-ична", "-инична"; "оглы", "кызы".
constexpr QStringView kPatronymicEndings[] = {u"ич", u"вна", u"чна", u"оглы", u"кызы"};

enum class Script
{
    None,
    Cyrillic,
    Latin,
};

Script scriptOf(QChar c)
{
    if (c.script() == QChar::Script_Cyrillic)
        return Script::Cyrillic;
    if (c.script() == QChar::Script_Latin)
        return Script::Latin;
    return Script::None;
}

bool isInitials(QStringView word)
{
    if (word.size() < 2 || word.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i < word.size(); i += 2) {
        if (!word[i].isUpper() || word[i + 1] != u'.')
            return false;
    }
    return true;
}

// "Иванов", "Салтыков-Щедрин", "O'Brien", or initials; the script of its letters.
Script nameWordScript(QStringView word)
{
    if (word.isEmpty() || !word.front().isUpper())
        return Script::None;
    const Script script = scriptOf(word.front());
    for (const QChar c : word) {
        const bool joiner = c == u'-' || c == u'\'' || c == QChar(0x2019) || c == u'.';
        if (!joiner && (!c.isLetter() || scriptOf(c) != script))
            return Script::None;
    }
    if (word.contains(u'.') && !isInitials(word))
        return Script::None;
    return script;
}

bool isOrganisation(QStringView name, const QStringList& words)
{
    if (name.contains(u'"') || name.contains(u'«') || name.contains(u'»') || name.contains(u'&'))
        return true;
    return std::any_of(words.begin(), words.end(), [](const QString& word) {
        QString bare = word.toLower();
        bare.remove(u'.');
        bare.remove(u',');
        return std::find(std::begin(kOrganisationWords), std::end(kOrganisationWords),
                         QStringView(bare)) != std::end(kOrganisationWords);
    });
}

bool isPatronymic(const QString& word)
{
    return std::any_of(
        std::begin(kPatronymicEndings), std::end(kPatronymicEndings),
        [&word](QStringView end) { return word.endsWith(end, Qt::CaseInsensitive); });
}

} // namespace

PersonName PersonName::of(QStringView name)
{
    const QString simple = name.toString().simplified();
    const QStringList words = simple.split(u' ', Qt::SkipEmptyParts);
    PersonName whole{simple, {}, {}, isOrganisation(simple, words)};
    if (whole.organisation || words.size() < 2 || words.size() > 3)
        return whole;
    const Script script = nameWordScript(words.front());
    for (const QString& word : words) {
        if (script == Script::None || nameWordScript(word) != script)
            return whole;
    }
    const QString third = words.value(2);
    // "Анна Ивановна": a given name and a patronymic, no family name.
    if (script == Script::Cyrillic && words.size() == 2 && isPatronymic(words[1]) &&
        !isPatronymic(words[0]) && !isInitials(words[0]))
        return {{}, words[0], words[1], false};
    // A patronymic in the middle puts the family name last, whatever it
    // ends in: "Дмитрий Дмитриевич Шостакович".
    const bool givenFirst = script == Script::Latin ||
                            (isInitials(words.front()) && !isInitials(words.back())) ||
                            (words.size() == 3 && isPatronymic(words[1]));
    if (givenFirst)
        return words.size() == 2 ? PersonName{words[1], words[0], {}, false}
                                 : PersonName{words[2], words[0], words[1], false};
    return {words[0], words[1], third, false};
}

QString PersonName::joined() const
{
    const bool latin = !given.isEmpty() && scriptOf(given.front()) == Script::Latin;
    const QStringList parts =
        latin ? QStringList{given, additional, family} : QStringList{family, given, additional};
    return parts.join(u' ').simplified();
}

QString PersonName::completing(const QString& name) const
{
    const QString additionalName = additional.simplified();
    QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return joined();
    // "Richter," of "John Richter, James Doe" is the name "Richter".
    QStringList bareWords;
    for (const QString& word : std::as_const(words))
        bareWords << QString(word).remove(u',').remove(u';');
    const QStringList additionalNames = additionalName.split(u' ', Qt::SkipEmptyParts);
    const bool written = std::any_of(
        additionalNames.begin(), additionalNames.end(),
        [&bareWords](const QString& one) { return bareWords.contains(one, Qt::CaseInsensitive); });
    if (additionalName.isEmpty() || written)
        return name;
    const qsizetype givenAt = words.indexOf(given.simplified());
    if (givenAt < 0)
        return joined();
    words.insert(givenAt + 1, additionalName);
    return words.join(u' ');
}
