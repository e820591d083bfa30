#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The languages the program can speak: its built-in Russian, the
// translations of its program folder ("translations/<code>/language.ini")
// and the "language.ini" a user keeps in his own folder. The choice is one
// text: empty before any choice is made, which reads the user's own file,
// else one beside the program, else nothing (Russian); "ru" for the built-in
// texts; or the folder name of a shipped translation.
class LanguageCatalog
{
public:
    struct Language
    {
        QString choice; // what choosing it stores
        QString name;   // as the language names itself; empty for Russian
        QString file;   // its "language.ini"; empty for the built-in Russian
        bool operator==(const Language&) const = default;
    };

    static constexpr QStringView russian = u"ru";

    LanguageCatalog(const QString& userFolder, const QString& programFolder);

    // Russian first, then the shipped translations by folder name, then the
    // user's own file (or, without one, the file beside the program).
    std::vector<Language> languages() const;
    // The folders whose "language.ini" the choice reads, the first found
    // winning; none for Russian. A translation no longer there reads as no
    // choice at all.
    QStringList folders(const QString& choice) const;
    // The entry of languages() that `choice` puts in use.
    QString choiceInUse(const QString& choice) const;
    // The file `name` of a language's help or tips: the first found beside
    // its "language.ini", in the shipped translation of its Qt language
    // `code` (so a copy of a shipped file finds the shipped help), or in the
    // program folder, whose files are Russian and where a missing one is
    // reported.
    QString resourceFile(const QString& languageFile, const QString& code,
                         const QString& name) const;

private:
    QString shippedFolder(const QString& code) const;
    QString ownFile() const;

    QString m_userFolder;
    QString m_programFolder;
};
