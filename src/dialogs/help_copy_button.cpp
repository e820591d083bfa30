#include "dialogs/help_copy_button.h"

#include "core/twips.h"
#include "ui/window_placement.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kPictureAtRest = 65;
constexpr int kPictureRaised = 35;
constexpr int kOutline = 340;

int toPixels(int twips)
{
    return Twips::toPixels(twips, WindowPlacement::logicalDpi());
}

} // namespace

HelpCopyButton::HelpCopyButton(const QPixmap& picture, const QColor& hilite,
                               const QColor& hiliteShadow, QWidget* parent)
    : QWidget(parent), m_picture(picture), m_hilite(hilite), m_hiliteShadow(hiliteShadow)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void HelpCopyButton::setLook(Look look)
{
    if (m_look == look)
        return;
    m_look = look;
    update();
}

void HelpCopyButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_look == Look::Normal) {
        painter.fillRect(rect(), palette().button());
        painter.drawPixmap(toPixels(kPictureAtRest), toPixels(kPictureAtRest), m_picture);
        return;
    }
    painter.fillRect(rect(), m_hilite);
    painter.setPen(m_hiliteShadow);
    painter.drawRect(0, 0, toPixels(kOutline), toPixels(kOutline));
    const int at = toPixels(m_look == Look::Hot ? kPictureRaised : kPictureAtRest);
    painter.drawPixmap(at, at, m_picture);
}

void HelpCopyButton::enterEvent(QEnterEvent*)
{
    if (!m_pressed)
        setLook(Look::Hot);
}

void HelpCopyButton::leaveEvent(QEvent*)
{
    if (!m_pressed)
        setLook(Look::Normal);
}

void HelpCopyButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    setLook(Look::Pressed);
}

// While the button is held the mouse stays with it, so moving out shows it
// hot and moving back in pressed again, as a push button does.
void HelpCopyButton::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (m_pressed)
        setLook(inside ? Look::Pressed : Look::Hot);
    else
        setLook(inside ? Look::Hot : Look::Normal);
}

void HelpCopyButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const bool inside = rect().contains(event->position().toPoint());
    setLook(inside ? Look::Hot : Look::Normal);
    Q_EMIT released();
    if (inside)
        Q_EMIT clicked();
}
