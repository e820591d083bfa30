#include "core/language_catalog.h"

#include "core/folders.h"
#include "core/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kFileName = QStringLiteral("language.ini");

QString languageName(const QString& file)
{
    return IniFile::readString(file, u"Velkaro", u"LanguageName", QString());
}

} // namespace

LanguageCatalog::LanguageCatalog(const QString& userFolder, const QString& programFolder)
    : m_userFolder(Folders::withSeparator(userFolder)),
      m_programFolder(Folders::withSeparator(programFolder))
{}

std::vector<LanguageCatalog::Language> LanguageCatalog::languages() const
{
    std::vector<Language> found{{russian.toString(), QString(), QString()}};
    const QDir translations(m_programFolder + QStringLiteral("translations"));
    for (const QString& code :
         translations.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString file = shippedFolder(code) + kFileName;
        if (code != russian && QFileInfo(file).isFile())
            found.push_back({code, languageName(file), file});
    }
    const QString own = ownFile();
    if (!own.isEmpty()) {
        const QString name = languageName(own);
        const QString path = QDir::toNativeSeparators(own);
        found.push_back(
            {QString(), name.isEmpty() ? path : QStringLiteral("%1 (%2)").arg(name, path), own});
    }
    return found;
}

QStringList LanguageCatalog::folders(const QString& choice) const
{
    if (choice == russian)
        return {};
    if (!choice.isEmpty() && QFileInfo(shippedFolder(choice) + kFileName).isFile())
        return {shippedFolder(choice)};
    return {m_userFolder, m_programFolder};
}

QString LanguageCatalog::choiceInUse(const QString& choice) const
{
    const QStringList read = folders(choice);
    if (read.isEmpty())
        return russian.toString();
    if (read.size() == 1)
        return choice;
    return ownFile().isEmpty() ? russian.toString() : QString();
}

QString LanguageCatalog::resourceFile(const QString& languageFile, const QString& code,
                                      const QString& name) const
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    QStringList folders;
    if (!languageFile.isEmpty())
        folders << Folders::withSeparator(QFileInfo(languageFile).path());
    if (plainName.match(code).hasMatch())
        folders << shippedFolder(code);
    for (const QString& folder : std::as_const(folders)) {
        if (QFileInfo(folder + name).isFile())
            return folder + name;
    }
    return m_programFolder + name;
}

QString LanguageCatalog::shippedFolder(const QString& code) const
{
    return m_programFolder + QStringLiteral("translations") + QDir::separator() + code +
           QDir::separator();
}

// The file read when no language is chosen.
QString LanguageCatalog::ownFile() const
{
    for (const QString& folder : {m_userFolder, m_programFolder}) {
        if (QFileInfo(folder + kFileName).isFile())
            return folder + kFileName;
    }
    return {};
}
