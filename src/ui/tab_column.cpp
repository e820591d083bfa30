#include "ui/tab_column.h"

#include "richtext/win_color.h"
#include "rules/main_layout.h"
#include "ui/tab_column_accessible.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const QColor kHoverText(0, 0, 255);
const QColor kHoverTextOnDark(128, 176, 255);
constexpr double kReadableContrast = 4.5;
constexpr int kTextPadding = 2;
constexpr int kWheelNotch = 120;

// The pointer of unselected tabs: a small hand pointing up, its hot spot at
// the fingertip, drawn here so no picture file travels with the program.
QCursor handCursor()
{
    QPixmap picture(20, 22);
    picture.fill(Qt::transparent);
    QPainterPath hand;
    hand.addRoundedRect(5, 0, 4, 12, 2, 2); // index finger
    hand.addRoundedRect(8, 6, 4, 8, 2, 2);  // folded fingers
    hand.addRoundedRect(11, 7, 4, 7, 2, 2);
    hand.addRoundedRect(14, 8, 4, 7, 2, 2);
    hand.addRoundedRect(0, 9, 7, 4, 2, 2);    // thumb
    hand.addRoundedRect(3, 10, 15, 11, 3, 3); // palm
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(hand.simplified());
    return QCursor(picture, 7, 0);
}

} // namespace

TabColumn::TabColumn(const TabMetrics& metrics, QWidget* parent)
    : QWidget(parent), m_metrics(metrics), m_pageColor(palette().color(QPalette::Base)),
      m_handCursor(handCursor())
{
    setObjectName(QStringLiteral("picTabs"));
    TabColumnAccessible::install();
    // Typing stays in the editor whatever the user clicks here.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        QFont tahoma = font();
        tahoma.setFamily(QStringLiteral("Tahoma"));
        setFont(tahoma);
    }
}

void TabColumn::setPages(TitleSource title, int count)
{
    m_title = std::move(title);
    m_count = std::max(0, count);
    m_hovered = 0;
    if (m_pressed > m_count)
        m_pressed = 0;
    updateGeometry();
    scrollTo(m_scroll);
    update();
}

QString TabColumn::titleOf(int k) const
{
    return hasTab(k) && m_title ? m_title(k) : QString();
}

void TabColumn::setCurrentPage(int k)
{
    const int old = m_current;
    m_current = k;
    if (m_hovered == k)
        m_hovered = 0;
    updateTab(old);
    updateTab(k);
    ensureVisible(k);
}

void TabColumn::setMetrics(const TabMetrics& metrics)
{
    m_metrics = metrics;
    updateGeometry();
    scrollTo(m_scroll);
    update();
}

void TabColumn::setPageColor(const QColor& color)
{
    m_pageColor = color;
    updateTab(m_current);
}

QRect TabColumn::tabRect(int k) const
{
    if (!hasTab(k))
        return {};
    int top = slotTop(k) - m_scroll;
    int height = slotTop(k + 1) - slotTop(k);
    if (k == m_current) {
        const int pixel = toPixels(m_metrics.pixelSize);
        top += pixel;
        height -= pixel;
    }
    return {0, top, tabWidth(), height};
}

int TabColumn::tabAt(const QPoint& pos) const
{
    const int k = firstTabNear(pos.y() + m_scroll);
    return hasTab(k) && tabRect(k).contains(pos) ? k : 0;
}

int TabColumn::maximumScroll() const
{
    return std::max(0, contentHeight() - height());
}

void TabColumn::ensureVisible(int k)
{
    if (!hasTab(k) || height() <= 0)
        return;
    // A widget lower than one tab shows the tab's top, where its title is.
    scrollTo(MainLayout::scrollShowing(slotTop(k) - margin(), slotTop(k + 1) + margin(), m_scroll,
                                       height()));
}

QSize TabColumn::sizeHint() const
{
    return {tabWidth(), contentHeight()};
}

void TabColumn::unHiliteAll()
{
    setHovered(0);
}

void TabColumn::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    m_lastPainted = {0, 0};
    const int last = firstTabNear(exposed.bottom() + m_scroll);
    for (int k = firstTabNear(exposed.top() + m_scroll); k <= last; ++k) {
        if (!tabRect(k).intersects(exposed))
            continue;
        paintTab(painter, k);
        if (m_lastPainted.first == 0)
            m_lastPainted.first = k;
        m_lastPainted.second = k;
    }
}

void TabColumn::mousePressEvent(QMouseEvent* event)
{
    const int k = tabAt(event->position().toPoint());
    if (k == 0) {
        event->ignore();
        return;
    }
    m_pressed = k;
    Q_EMIT tabPressed(k, event->button());
}

void TabColumn::mouseReleaseEvent(QMouseEvent* event)
{
    const int k = m_pressed;
    if (event->buttons() == Qt::NoButton)
        m_pressed = 0;
    if (k == 0) {
        event->ignore();
        return;
    }
    Q_EMIT tabReleased(k, event->button(), event->globalPosition().toPoint());
}

// The second press of a double click opens nothing again: it only prints.
void TabColumn::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const int k = tabAt(event->position().toPoint());
    if (k == 0) {
        event->ignore();
        return;
    }
    m_pressed = k;
    Q_EMIT tabDoubleClicked(k);
}

void TabColumn::mouseMoveEvent(QMouseEvent* event)
{
    pointAt(event->position().toPoint());
}

void TabColumn::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    setHovered(0);
    Q_EMIT pointerLeft();
}

void TabColumn::wheelEvent(QWheelEvent* event)
{
    if (maximumScroll() == 0) {
        event->ignore();
        return;
    }
    int delta = event->pixelDelta().y();
    if (delta == 0) {
        const int lineHeight = slotTop(2) - slotTop(1);
        delta =
            event->angleDelta().y() * QApplication::wheelScrollLines() * lineHeight / kWheelNotch;
    }
    scrollTo(m_scroll - delta);
    // The tab under the pointer changed without a move.
    pointAt(event->position().toPoint());
}

// The current tab stays in view whatever size the window gives the column.
void TabColumn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scrollTo(m_scroll);
    ensureVisible(m_current);
}

int TabColumn::toPixels(double twips) const
{
    return static_cast<int>(std::lround(twips * m_metrics.pixelsPerTwip));
}

// Top of tab k's full slot in column pixels, before scrolling; the slot of
// k + 1 starts where k's ends.
int TabColumn::slotTop(int k) const
{
    return toPixels((k - 1) * m_metrics.tabHeight + 4 * m_metrics.pixelSize);
}

int TabColumn::margin() const
{
    return toPixels(4 * m_metrics.pixelSize);
}

int TabColumn::contentHeight() const
{
    return slotTop(m_count + 1) + margin();
}

int TabColumn::tabWidth() const
{
    return toPixels(m_metrics.buttonWidth);
}

// The tab whose slot holds column pixel row y, or the nearest one; 0 without
// tabs. The estimate is off by rounding only, so the walks take a step or two.
int TabColumn::firstTabNear(int contentY) const
{
    const double perTab = m_metrics.tabHeight * m_metrics.pixelsPerTwip;
    int estimate = 1;
    if (perTab > 0)
        estimate = static_cast<int>(std::floor((contentY - margin()) / perTab)) + 1;
    return MainLayout::slotNear(contentY, m_count, estimate, [this](int k) { return slotTop(k); });
}

QFont TabColumn::tabFont(int k) const
{
    QFont look = font();
    look.setBold(k == m_current);
    look.setUnderline(k == m_hovered);
    return look;
}

// The padding gives way before any letter does.
TabColumn::ShownTitle TabColumn::layOutTitle(int k, const QString& title) const
{
    const QFontMetrics metrics(tabFont(k));
    const QRect rect = tabRect(k);
    const int padding =
        metrics.horizontalAdvance(title) > rect.width() - 2 * kTextPadding ? 0 : kTextPadding;
    const QRect room = rect.adjusted(padding, 0, -padding, 0);
    return {fitTitle(title, metrics, room.width()), room};
}

QString TabColumn::shownTitle(int k) const
{
    return layOutTitle(k, titleOf(k)).text;
}

// A cut title always ends in "…", so it is never taken for the whole; where
// not even one letter fits beside the mark, the mark alone is shown.
QString TabColumn::fitTitle(const QString& title, const QFontMetrics& metrics, int room)
{
    if (metrics.horizontalAdvance(title) <= room)
        return title;
    const QString elided = metrics.elidedText(title, Qt::ElideRight, room);
    return elided.isEmpty() ? QStringLiteral("…") : elided;
}

// Blue as a link, lighter on a dark palette, so it stays readable.
QColor TabColumn::hoverTextColor() const
{
    const QColor background = palette().color(QPalette::Button);
    for (const QColor& color : {kHoverText, kHoverTextOnDark}) {
        if (WinColor::contrast(color, background) >= kReadableContrast)
            return color;
    }
    return palette().color(QPalette::ButtonText);
}

bool TabColumn::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int k = tabAt(help->pos());
    const QString title = titleOf(k);
    if (k != 0 && layOutTitle(k, title).text != title)
        QToolTip::showText(help->globalPos(), title, this, tabRect(k));
    else
        QToolTip::hideText();
    return true;
}

void TabColumn::paintTab(QPainter& painter, int k) const
{
    const QRect rect = tabRect(k);
    const bool selected = k == m_current;
    const bool hover = k == m_hovered;
    painter.fillRect(rect, selected ? QBrush(m_pageColor) : palette().button());
    if (!selected) {
        // A line under and beside each unselected tab keeps touching tabs apart.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    painter.setFont(tabFont(k));
    painter.setPen(hover ? hoverTextColor() : palette().color(QPalette::ButtonText));
    const ShownTitle shown = layOutTitle(k, titleOf(k));
    painter.drawText(shown.rect, Qt::AlignCenter | Qt::TextSingleLine, shown.text);
}

void TabColumn::setHovered(int k)
{
    if (k == m_hovered)
        return;
    updateTab(m_hovered);
    m_hovered = k;
    updateTab(k);
}

// What a move of the pointer to pos does: the pointer's shape, the hover
// look (never on the current tab) and the news for the window.
void TabColumn::pointAt(const QPoint& pos)
{
    const int k = tabAt(pos);
    const bool hand = k != 0 && k != m_current;
    if (hand != (cursor().shape() == Qt::BitmapCursor))
        setCursor(hand ? m_handCursor : QCursor(Qt::ArrowCursor));
    if (k == 0) {
        setHovered(0);
        Q_EMIT pointerLeft();
        return;
    }
    setHovered(k == m_current ? 0 : k);
    Q_EMIT hovered(k);
}

void TabColumn::scrollTo(int offset)
{
    offset = std::clamp(offset, 0, maximumScroll());
    if (offset == m_scroll)
        return;
    m_scroll = offset;
    update();
    Q_EMIT scrolled(m_scroll);
}

// The whole slot, so the pixel a selected tab leaves free is painted too.
void TabColumn::updateTab(int k)
{
    if (!hasTab(k))
        return;
    update(0, slotTop(k) - m_scroll, tabWidth(), slotTop(k + 1) - slotTop(k));
}
