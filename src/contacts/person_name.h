#pragma once

#include <QString>
#include <QStringView>

// A name as the parts of vCard's N. Two or three Cyrillic words are a
// Russian name, family name first: "Иванов Иван Иванович"; where the second
// word is the patronymic the family name comes last: "Иван Иванович Иванов",
// and two words of which the second is one are a given name and patronymic
// with no family name: "Анна Ивановна".
// Two or three Latin words are given names first: "John Smith", "John Ronald
// Smith". An initial ("И.", "И.И.") counts as a given name wherever it
// stands. Anything else, one word ("Мама"), more than three, words that are
// not capitalised ("Аптека на углу"), names in quotes or with a company's
// form ("ООО Ромашка", "Такси Максим"), is no person's name: it is kept whole
// as the family name, and `organisation` tells the companies and services.
struct PersonName
{
    QString family;
    QString given;
    QString additional;
    bool organisation = false;

    static PersonName of(QStringView name);
    // The name the parts make, in the order its script writes it: "Иванов
    // Иван Иванович", "John Ronald Smith".
    QString joined() const;
    // `name` as a file gave it whole, with the additional names after the
    // given one where it has none of them ("Анна Петровна Сидорова"); the
    // joined parts where it is empty or lacks the given name too.
    QString completing(const QString& name) const;

    friend bool operator==(const PersonName&, const PersonName&) = default;
};
