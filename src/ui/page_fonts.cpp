#include "ui/page_fonts.h"

#include <QDir>
#include <QFontDatabase>

namespace {

// Tahoma first, then faces close to its proportions: Verdana is Tahoma's wider
// sister, DejaVu Sans descends from Verdana's design, Liberation Sans matches
// Arial's metrics.
const QStringList& preferredFamilies()
{
    static const QStringList families = {
        PageFonts::tahoma(),           QStringLiteral("Verdana"),
        QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
        QStringLiteral("Arial"),
    };
    return families;
}

} // namespace

QString PageFonts::tahoma()
{
    return QStringLiteral("Tahoma");
}

QString PageFonts::pickFamily(const QStringList& installed)
{
    for (const QString& family : preferredFamilies()) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return {};
}

QString PageFonts::defaultFamily()
{
    // The installed fonts do not change while the program runs; looking
    // through all of them once is enough.
    static const QString chosen = [] {
        addTahomaFrom(wineFontFolder());
        const QString family = pickFamily(QFontDatabase::families());
        if (!family.isEmpty())
            return family;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return chosen;
}

QString PageFonts::wineFontFolder()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

bool PageFonts::addTahomaFrom(const QString& folder)
{
    if (QFontDatabase::hasFamily(tahoma()))
        return true;
    // Only the regular face: Wine's bold face spaces the letters wider but
    // draws them hardly heavier, so bold text did not stand out. Without it
    // bold Tahoma is the regular face drawn with thicker strokes.
    QFontDatabase::addApplicationFont(QDir(folder).filePath(QStringLiteral("tahoma.ttf")));
    return QFontDatabase::hasFamily(tahoma());
}
