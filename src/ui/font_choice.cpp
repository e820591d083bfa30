#include "ui/font_choice.h"

#include <QFontDialog>

namespace {

template <typename T>
std::optional<T> ifChanged(const T& shown, const T& chosen)
{
    return shown == chosen ? std::nullopt : std::optional<T>(chosen);
}

} // namespace

bool FontChoice::isEmpty() const
{
    return !family && !pointSize && !bold && !italic && !underline && !strikeOut;
}

FontChoice FontChoice::between(const QFont& shown, const QFont& chosen)
{
    return {ifChanged(shown.family(), chosen.family()),
            ifChanged(shown.pointSizeF(), chosen.pointSizeF()),
            ifChanged(shown.bold(), chosen.bold()),
            ifChanged(shown.italic(), chosen.italic()),
            ifChanged(shown.underline(), chosen.underline()),
            ifChanged(shown.strikeOut(), chosen.strikeOut())};
}

std::optional<FontChoice> FontChoice::ask(const QFont& initial, QWidget* parent)
{
    QFontDialog dialog(initial, parent);
    dialog.setObjectName(QStringLiteral("cdgFont"));
    dialog.setOption(QFontDialog::ScalableFonts);
    // What the dialog made of `initial`, before the user touches it.
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return between(shown, dialog.selectedFont());
}
