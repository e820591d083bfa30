#pragma once

#include <QString>
#include <QStringList>

// The font of a page that has none of its own. Pages written on Windows use
// Tahoma; where it is missing, a sans face of similar width and height stands
// in, so the address columns line up much as they did there.
class PageFonts
{
public:
    static QString tahoma();
    // Tahoma if installed or in Wine's fonts, else the best stand-in, else the
    // system's general font.
    static QString defaultFamily();
    // The choice itself, on a given list of installed families; empty when
    // none of Tahoma and its stand-ins is among them.
    static QString pickFamily(const QStringList& installed);
    // Wine's Tahoma-compatible face (package fonts-wine) is not in the
    // system's font path; this makes it known to the program. Returns
    // whether Tahoma is available afterwards.
    static bool addTahomaFrom(const QString& folder = wineFontFolder());
    static QString wineFontFolder();
};
