#pragma once

#include <QFont>
#include <QString>
#include <optional>

class QWidget;

// What the user changed in the font dialog, and only that. The dialog shows
// a face it cannot find as the nearest it has (Tahoma has no italic face, and
// its bold one is not loaded), so an attribute it could not show reads back
// as unchanged instead of as switched off.
struct FontChoice
{
    std::optional<QString> family;
    std::optional<double> pointSize;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<bool> strikeOut;

    bool isEmpty() const;
    // The attributes of `chosen` that differ from those the dialog showed.
    static FontChoice between(const QFont& shown, const QFont& chosen);
    // Shows the font dialog ("cdgFont") on `initial`; none when cancelled.
    static std::optional<FontChoice> ask(const QFont& initial, QWidget* parent);
};
