#include "rules/form_position.h"

#include "core/option_table.h"
#include "core/settings_store.h"
#include "core/value_text.h"

#include <cmath>

namespace {

const QString windowStateKey = QStringLiteral("WindowState");
const QString leftKey = QStringLiteral("Left");
const QString topKey = QStringLiteral("Top");
const QString widthKey = QStringLiteral("Width");
const QString heightKey = QStringLiteral("Height");

// Far beyond any desktop, yet small enough to convert to pixels safely.
constexpr double twipsLimit = 1.0e7;

double readTwips(const SettingsStore& store, const QString& section, const QString& key,
                 double defaultValue, bool isSize)
{
    const QString text = store.read(section, key, ValueText::fromFloat(float(defaultValue)));
    const std::optional<float> value = ValueText::toFloat(text, QLocale::system());
    if (!value || std::fabs(*value) > twipsLimit || (isSize && *value <= 0))
        return defaultValue;
    return *value;
}

} // namespace

FormPosition FormPosition::read(const SettingsStore& store, const QString& formName,
                                const FormPosition& defaults)
{
    const QString name = section(formName);
    FormPosition position = defaults;
    const std::optional<qint16> state =
        ValueText::toInt16(store.read(name, windowStateKey, QStringLiteral("0")), QLocale::c());
    if (state && *state >= Normal && *state <= Maximized)
        position.windowState = *state;
    position.left = readTwips(store, name, leftKey, position.left, false);
    position.top = readTwips(store, name, topKey, position.top, false);
    position.width = readTwips(store, name, widthKey, position.width, true);
    position.height = readTwips(store, name, heightKey, position.height, true);
    return position;
}

void FormPosition::write(SettingsStore& store, const QString& formName) const
{
    const QString name = section(formName);
    store.write(name, windowStateKey, ValueText::fromInt(windowState));
    store.write(name, leftKey, ValueText::fromFloat(float(left)));
    store.write(name, topKey, ValueText::fromFloat(float(top)));
    store.write(name, widthKey, ValueText::fromFloat(float(width)));
    store.write(name, heightKey, ValueText::fromFloat(float(height)));
}

QString FormPosition::section(const QString& formName)
{
    return OptionTable::placementSectionPrefix.toString() + formName;
}
