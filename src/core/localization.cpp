#include "core/localization.h"

#include "core/event_log.h"
#include "core/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

constexpr int firstColorIndex = -1;

constexpr std::array<QStringView, 17> colorCaptions{
    u"&Авто",      u"&Черный",    u"Темно-с&иний",  u"Темно-з&еленый", u"&Бирюзовый", u"&Малиновый",
    u"Сире&невый", u"&Оливковый", u"С&ветло-серый", u"&Темно-серый",   u"&Синий",     u"&Зеленый",
    u"&Голубой",   u"&Красный",   u"&Розовый",      u"&Желтый",        u"Бе&лый",
};

QString withSeparator(const QString& folder)
{
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}

} // namespace

Localization::Localization(const QStringList& folders, EventLog& log) : m_log(log)
{
    for (const QString& folder : folders)
        m_candidates << withSeparator(folder) + QStringLiteral("language.ini");
}

QString Localization::localizedEntry(const QString& section, const QString& key,
                                       const QString& defaultText)
{
    if (!m_initialized)
        locateFile();
    if (!m_fileFound)
        return expandNewlines(defaultText);
    // A text the file gives is its own even where it reads as the default.
    if (const std::optional<QString> value = IniFile::read(m_path, section, key))
        return expandNewlines(*value);
    m_log.writeLog(QStringLiteral("No entry for [%1/%2] found in a valid localization file "
                                  "\"%3\".")
                       .arg(section, key, QDir::toNativeSeparators(m_path)),
                   EventLog::Warning);
    return expandNewlines(IniFile::readString(m_path, section, key, defaultText));
}

QString Localization::text(TextId id)
{
    const BuiltInText& entry = BuiltInTexts::entry(id);
    return localizedEntry(entry.section.toString(), entry.key.toString(), entry.text.toString());
}

QString Localization::filePath()
{
    if (!m_initialized)
        locateFile();
    return m_path;
}

QString Localization::colorCaption(int index)
{
    const QString value = localizedEntry(QStringLiteral("Colors"), QString::number(index), {});
    if (!value.isEmpty())
        return value;
    const int slot = index - firstColorIndex;
    if (slot < 0 || slot >= static_cast<int>(colorCaptions.size()))
        return {};
    return colorCaptions[static_cast<std::size_t>(slot)].toString();
}

QString Localization::expandNewlines(QString text)
{
    return text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
}

void Localization::locateFile()
{
    for (const QString& candidate : std::as_const(m_candidates)) {
        if (QFileInfo(candidate).isFile()) {
            m_path = candidate;
            m_fileFound = true;
            break;
        }
    }
    if (!m_fileFound) {
        m_log.writeLog(QStringLiteral("No localization file found. Falling back to internal "
                                      "resources (Russian)."),
                       EventLog::Information);
    }
    m_initialized = true;
}
