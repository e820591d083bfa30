#include "core/form_position.h"

#include "core/option_table.h"
#include "core/settings_store.h"
#include "core/value_text.h"

namespace {

const QString windowStateKey = QStringLiteral("WindowState");
const QString leftKey = QStringLiteral("Left");
const QString topKey = QStringLiteral("Top");
const QString widthKey = QStringLiteral("Width");
const QString heightKey = QStringLiteral("Height");

double readTwips(const SettingsStore& store, const QString& section, const QString& key,
                 double defaultValue)
{
    const QString text = store.Read(section, key, ValueText::fromFloat(float(defaultValue)));
    return ValueText::toFloat(text, QLocale::system()).value_or(float(defaultValue));
}

} // namespace

FormPosition FormPosition::read(const SettingsStore& store, const QString& formName)
{
    const QString name = section(formName);
    FormPosition position;
    const std::optional<qint16> state =
        ValueText::toInt16(store.Read(name, windowStateKey, QStringLiteral("0")), QLocale::c());
    if (state && *state >= Normal && *state <= Maximized)
        position.WindowState = *state;
    position.Left = readTwips(store, name, leftKey, position.Left);
    position.Top = readTwips(store, name, topKey, position.Top);
    position.Width = readTwips(store, name, widthKey, position.Width);
    position.Height = readTwips(store, name, heightKey, position.Height);
    return position;
}

void FormPosition::write(SettingsStore& store, const QString& formName) const
{
    const QString name = section(formName);
    store.Write(name, windowStateKey, ValueText::fromInt(WindowState));
    store.Write(name, leftKey, ValueText::fromFloat(float(Left)));
    store.Write(name, topKey, ValueText::fromFloat(float(Top)));
    store.Write(name, widthKey, ValueText::fromFloat(float(Width)));
    store.Write(name, heightKey, ValueText::fromFloat(float(Height)));
}

QString FormPosition::section(const QString& formName)
{
    return OptionTable::placementSectionPrefix.toString() + formName;
}
