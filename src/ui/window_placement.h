#pragma once

#include "rules/form_position.h"

#include <QList>
#include <QRect>

class QWidget;
class SettingsStore;

// Remembers a top-level window's state, position and size between runs, in
// twips, under "StartUp-" + the window's object name. A maximized or
// minimized window keeps its normal placement, so restoring it later gives
// the size the user chose; a stored rectangle that no longer fits the
// screens is brought back onto one.
class WindowPlacement
{
public:
    static void loadFormPosition(QWidget* window, SettingsStore& store,
                                 const FormPosition& defaults = FormPosition());
    static void saveFormPosition(QWidget* window, SettingsStore& store);

    // The rectangle moved onto the screen area it overlaps most (or the
    // nearest one when it overlaps none) and shrunk to fit it; unchanged
    // when it already lies on one screen.
    static QRect keptOnScreens(const QRect& rect, const QList<QRect>& screenAreas);

    // The one DPI used for every twips conversion of window geometry.
    static double logicalDpi();

private:
    static QList<QRect> availableScreenAreas();
};
