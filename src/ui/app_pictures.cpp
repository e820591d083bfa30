#include "ui/app_pictures.h"

#include <QString>

// Q_INIT_RESOURCE may not stand inside a namespace.
static void registerPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace {

// The tip of the index finger.
constexpr int kHandHotSpotX = 10;
constexpr int kHandHotSpotY = 1;

QPixmap picture(const QString& name)
{
    // The resource lives in a static library: register it before first use.
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    return QPixmap(QStringLiteral(":/pictures/") + name);
}

} // namespace

QPixmap AppPictures::unsaved()
{
    return picture(QStringLiteral("unsaved.png"));
}

QPixmap AppPictures::saved()
{
    return picture(QStringLiteral("saved.png"));
}

QPixmap AppPictures::tip()
{
    return picture(QStringLiteral("tip.png"));
}

QPixmap AppPictures::copy()
{
    return picture(QStringLiteral("copy.png"));
}

QIcon AppPictures::windowIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(picture(QStringLiteral("notebook_%1.png").arg(size)));
    return icon;
}

QCursor AppPictures::handCursor()
{
    return QCursor(picture(QStringLiteral("hand.png")), kHandHotSpotX, kHandHotSpotY);
}
