#include "core/options.h"

#include "core/app_error.h"
#include "core/localization.h"
#include "core/settings_store.h"
#include "core/value_text.h"

namespace {

template <typename T> bool store(const std::optional<T>& value, T& target)
{
    if (!value)
        return false;
    target = *value;
    return true;
}

} // namespace

Options::Options()
{
    for (const OptionId id : OptionTable::readOrder)
        assign(id, OptionTable::key(id).defaultText.toString(), QLocale::c());
}

std::vector<Options::Rejected> Options::load(const SettingsStore& settings, const QLocale& locale)
{
    std::vector<Rejected> rejected;
    for (const OptionId id : OptionTable::readOrder) {
        const OptionKey& key = OptionTable::key(id);
        const QString defaultText = key.defaultText.toString();
        const QString value =
            settings.read(key.section.toString(), key.key.toString(), defaultText);
        if (assign(id, value, locale))
            continue;
        rejected.push_back({id, value});
        assign(id, defaultText, QLocale::c());
    }
    return rejected;
}

void Options::save(SettingsStore& settings, const QString& encipheredPassword) const
{
    for (const OptionId id : OptionTable::writeOrder) {
        const OptionKey& key = OptionTable::key(id);
        const QString value = id == OptionId::Password ? encipheredPassword : text(id);
        settings.write(key.section.toString(), key.key.toString(), value);
    }
}

Options::LastIntPage Options::readLastIntPage(Localization& localization)
{
    constexpr qint16 builtInPages = 14;
    const QString text = localization.localizedEntry(
        QStringLiteral("Velkaro"), QStringLiteral("LastIntPage"), QString::number(builtInPages));
    const std::optional<int> value = ValueText::toWholeNumber(text);
    if (value && *value >= 1 && *value <= 32767)
        return {static_cast<qint16>(*value), std::nullopt};
    return {builtInPages, text};
}

bool Options::assign(OptionId id, const QString& text, const QLocale& locale)
{
    switch (id) {
    case OptionId::ButtonWidth:
        return store(ValueText::toFloat(text, locale), buttonWidth);
    case OptionId::Status:
        return store(ValueText::toBool(text), status);
    case OptionId::UseRtf:
        return store(ValueText::toBool(text), useRtf);
    case OptionId::TipsDuration:
        return store(ValueText::toInt16(text, locale), tipsDuration);
    case OptionId::AutosaveDuration:
        return store(ValueText::toInt16(text, locale), autosaveDuration);
    case OptionId::RecentPage:
        return store(ValueText::toInt16(text, locale), recentPage);
    case OptionId::EnableSort:
        return store(ValueText::toBool(text), enableSort);
    case OptionId::MoveToEnd:
        return store(ValueText::toBool(text), moveToEnd);
    case OptionId::PageColor:
        return store(ValueText::toInt32(text, locale), pageColor);
    case OptionId::TabStop:
        return store(ValueText::toFloat(text, locale), tabStop);
    case OptionId::FilePath:
        filePath = text;
        return true;
    case OptionId::Password:
        return false;
    }
    return false;
}

QString Options::text(OptionId id) const
{
    switch (id) {
    case OptionId::ButtonWidth:
        return ValueText::fromFloat(buttonWidth);
    case OptionId::Status:
        return ValueText::fromBool(status);
    case OptionId::UseRtf:
        return ValueText::fromBool(useRtf);
    case OptionId::TipsDuration:
        return ValueText::fromInt(tipsDuration);
    case OptionId::AutosaveDuration:
        return ValueText::fromInt(autosaveDuration);
    case OptionId::RecentPage:
        return ValueText::fromInt(recentPage);
    case OptionId::EnableSort:
        return ValueText::fromBool(enableSort);
    case OptionId::MoveToEnd:
        return ValueText::fromBool(moveToEnd);
    case OptionId::PageColor:
        return ValueText::fromInt(pageColor);
    case OptionId::TabStop:
        return ValueText::fromFloat(tabStop);
    case OptionId::FilePath:
        return filePath;
    case OptionId::Password:
        return {};
    }
    return {};
}
