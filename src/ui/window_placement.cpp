#include "ui/window_placement.h"

#include "core/twips.h"
#include "rules/form_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace {

constexpr double fallbackDpi = 96.0;

qint64 overlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

qint64 squaredDistance(const QPoint& point, const QRect& area)
{
    const qint64 dx = point.x() - std::clamp(point.x(), area.left(), area.right());
    const qint64 dy = point.y() - std::clamp(point.y(), area.top(), area.bottom());
    return dx * dx + dy * dy;
}

QRect bestArea(const QRect& rect, const QList<QRect>& areas)
{
    QRect best = areas.front();
    qint64 bestOverlap = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect& area : areas) {
        const qint64 overlap = overlapArea(rect, area);
        const qint64 distance = squaredDistance(rect.center(), area);
        if (overlap > bestOverlap ||
            (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            best = area;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return best;
}

int placementState(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return FormPosition::Minimized;
    if (states & Qt::WindowMaximized)
        return FormPosition::Maximized;
    return FormPosition::Normal;
}

Qt::WindowStates windowStates(int state)
{
    switch (state) {
    case FormPosition::Minimized:
        return Qt::WindowMinimized;
    case FormPosition::Maximized:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

// Position including the frame, size without it: what move() and resize() take.
QRect normalPlacement(const QWidget* window)
{
    if (placementState(window->windowState()) == FormPosition::Normal)
        return {window->pos(), window->size()};
    const QRect normal = window->normalGeometry();
    if (!normal.isValid())
        return {window->pos(), window->size()};
    const QPoint frameOffset = window->geometry().topLeft() - window->pos();
    return {normal.topLeft() - frameOffset, normal.size()};
}

} // namespace

void WindowPlacement::loadFormPosition(QWidget* window, SettingsStore& store,
                                       const FormPosition& defaults)
{
    const FormPosition position = FormPosition::read(store, window->objectName(), defaults);
    const double dpi = logicalDpi();
    const QRect stored(Twips::toPixels(position.left, dpi), Twips::toPixels(position.top, dpi),
                       Twips::toPixels(position.width, dpi), Twips::toPixels(position.height, dpi));
    const QRect placed = keptOnScreens(stored, availableScreenAreas());
    window->move(placed.topLeft());
    window->resize(placed.size());
    window->setWindowState(windowStates(position.windowState));
}

void WindowPlacement::saveFormPosition(QWidget* window, SettingsStore& store)
{
    const double dpi = logicalDpi();
    const QRect rect = normalPlacement(window);
    FormPosition position;
    position.windowState = placementState(window->windowState());
    position.left = Twips::fromPixels(rect.x(), dpi);
    position.top = Twips::fromPixels(rect.y(), dpi);
    position.width = Twips::fromPixels(rect.width(), dpi);
    position.height = Twips::fromPixels(rect.height(), dpi);
    position.write(store, window->objectName());
}

QRect WindowPlacement::keptOnScreens(const QRect& rect, const QList<QRect>& screenAreas)
{
    if (screenAreas.isEmpty())
        return rect;
    for (const QRect& area : screenAreas) {
        if (area.contains(rect))
            return rect;
    }
    const QRect area = bestArea(rect, screenAreas);
    const QSize size = rect.size().boundedTo(area.size());
    const int x = std::clamp(rect.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(rect.y(), area.top(), area.top() + area.height() - size.height());
    return {QPoint(x, y), size};
}

double WindowPlacement::logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : fallbackDpi;
}

QList<QRect> WindowPlacement::availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}
