#include "richtext/document_units.h"

#include "core/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr qreal kDefaultDpi = 96.0;
}

qreal DocumentUnits::dpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return kDefaultDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || screen->logicalDotsPerInchY() <= 0)
        return kDefaultDpi;
    return screen->logicalDotsPerInchY();
}

qreal DocumentUnits::fromTwips(double twips)
{
    return Twips::toPixelsExact(twips, dpi());
}

double DocumentUnits::toTwips(qreal documentUnits)
{
    return Twips::fromPixels(documentUnits, dpi());
}
