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
        return store(ValueText::toFloat(text, locale), ButtonWidth);
    case OptionId::Status:
        return store(ValueText::toBool(text), Status);
    case OptionId::UseRtf:
        return store(ValueText::toBool(text), UseRtf);
    case OptionId::TipsDuration:
        return store(ValueText::toInt16(text, locale), TipsDuration);
    case OptionId::AutosaveDuration:
        return store(ValueText::toInt16(text, locale), AutosaveDuration);
    case OptionId::RecentPage:
        return store(ValueText::toInt16(text, locale), RecentPage);
    case OptionId::EnableSort:
        return store(ValueText::toBool(text), EnableSort);
    case OptionId::MoveToEnd:
        return store(ValueText::toBool(text), MoveToEnd);
    case OptionId::PageColor:
        return store(ValueText::toInt32(text, locale), PageColor);
    case OptionId::TabStop:
        return store(ValueText::toFloat(text, locale), TabStop);
    case OptionId::FilePath:
        FilePath = text;
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
        return ValueText::fromFloat(ButtonWidth);
    case OptionId::Status:
        return ValueText::fromBool(Status);
    case OptionId::UseRtf:
        return ValueText::fromBool(UseRtf);
    case OptionId::TipsDuration:
        return ValueText::fromInt(TipsDuration);
    case OptionId::AutosaveDuration:
        return ValueText::fromInt(AutosaveDuration);
    case OptionId::RecentPage:
        return ValueText::fromInt(RecentPage);
    case OptionId::EnableSort:
        return ValueText::fromBool(EnableSort);
    case OptionId::MoveToEnd:
        return ValueText::fromBool(MoveToEnd);
    case OptionId::PageColor:
        return ValueText::fromInt(PageColor);
    case OptionId::TabStop:
        return ValueText::fromFloat(TabStop);
    case OptionId::FilePath:
        return FilePath;
    case OptionId::Password:
        return {};
    }
    return {};
}
