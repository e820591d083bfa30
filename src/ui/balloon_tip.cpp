#include "ui/balloon_tip.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <array>

namespace {

constexpr int kTailHeight = 12;
constexpr int kTailWidth = 16;
constexpr int kTailLeft = 16;
constexpr int kRadius = 6;
constexpr int kMaxTextWidth = 320;

// Qt widgets break lines at "\n" alone; texts from the localization file come
// with CR LF.
QString forLabel(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QPixmap pictureOf(BalloonTip::Icon icon, const QStyle* style, int size)
{
    switch (icon) {
    case BalloonTip::Icon::Information:
        return style->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size);
    case BalloonTip::Icon::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size);
    case BalloonTip::Icon::None:
        break;
    }
    return {};
}

} // namespace

BalloonTip::BalloonTip(QWidget* owner) : QFrame(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("balloonTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);

    m_picture = new QLabel(this);
    m_title = new QLabel(this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_text->setMaximumWidth(kMaxTextWidth);

    m_grid = new QGridLayout(this);
    m_grid->addWidget(m_picture, 0, 0, Qt::AlignTop);
    m_grid->addWidget(m_title, 0, 1);
    m_grid->addWidget(m_text, 1, 1);
}

void BalloonTip::showAt(const QWidget* target, const QString& title, const QString& text, Icon icon)
{
    m_icon = icon;
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_picture->setPixmap(pictureOf(icon, style(), size));
    m_picture->setVisible(icon != Icon::None);
    m_title->setText(forLabel(title));
    m_text->setText(forLabel(text));
    // A long text takes the balloon's full width before it takes more lines.
    m_text->setMinimumWidth(std::min(kMaxTextWidth, m_text->fontMetrics().horizontalAdvance(
                                                        forLabel(text).section(u'\n', 0, 0))));
    const QPoint below =
        target->mapToGlobal(QPoint(target->height() / 2, target->height() * 3 / 4));
    const QPoint above = target->mapToGlobal(QPoint(target->height() / 2, target->height() / 4));
    const QList<QRect> buttons = buttonsAround(target);
    // Below the target, then above it, the box reaching right and then left:
    // the first place that leaves every button of the window uncovered.
    const auto leavesButtons = [&](Tail tail) {
        placeTail(tail, tail == Tail::TopLeft || tail == Tail::TopRight ? below : above);
        const QRegion covered = mask().translated(pos());
        return std::none_of(buttons.begin(), buttons.end(),
                            [&covered](const QRect& button) { return covered.intersects(button); });
    };
    const std::array tails{Tail::TopLeft, Tail::TopRight, Tail::BottomLeft, Tail::BottomRight};
    if (std::none_of(tails.begin(), tails.end(), leavesButtons))
        placeTail(Tail::TopLeft, below);
    show();
    raise();
}

// The buttons of the target's window a user may want to click, on the
// screen: a check box or an option button as far as its mark and caption go.
QList<QRect> BalloonTip::buttonsAround(const QWidget* target)
{
    QList<QRect> rects;
    for (const QAbstractButton* button : target->window()->findChildren<QAbstractButton*>()) {
        if (!button->isVisible())
            continue;
        QSize size = button->size();
        if (button->isCheckable() && !qobject_cast<const QPushButton*>(button))
            size.setWidth(std::min(size.width(), button->sizeHint().width()));
        rects << QRect(button->mapToGlobal(QPoint(0, 0)), size);
    }
    return rects;
}

// Sizes the balloon for its tail on that corner and puts the tail's point at `tip`.
void BalloonTip::placeTail(Tail tail, const QPoint& tip)
{
    m_tail = tail;
    const bool top = tail == Tail::TopLeft || tail == Tail::TopRight;
    m_grid->setContentsMargins(10, top ? kTailHeight + 8 : 8, 10, top ? 10 : kTailHeight + 10);
    adjustSize();
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
    move(tip - QPoint(tailLeft() + kTailWidth / 2, top ? 0 : height()));
}

int BalloonTip::tailLeft() const
{
    return m_tail == Tail::TopLeft || m_tail == Tail::BottomLeft ? kTailLeft
                                                                 : width() - kTailLeft - kTailWidth;
}

QString BalloonTip::title() const
{
    return m_title->text();
}

QString BalloonTip::text() const
{
    return m_text->text();
}

void BalloonTip::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    hide();
}

QPainterPath BalloonTip::outline() const
{
    const bool top = m_tail == Tail::TopLeft || m_tail == Tail::TopRight;
    const QRectF box(0.5, top ? kTailHeight + 0.5 : 0.5, width() - 1.0,
                     height() - kTailHeight - 1.0);
    QPainterPath path;
    path.addRoundedRect(box, kRadius, kRadius);
    // The tail's base lies one pixel inside the box, its point on the edge.
    const double base = top ? box.top() + 1 : box.bottom() - 1;
    const double point = top ? 0.5 : height() - 0.5;
    const int left = tailLeft();
    QPainterPath tail;
    tail.moveTo(left, base);
    tail.lineTo(left + kTailWidth / 2.0, point);
    tail.lineTo(left + kTailWidth, base);
    tail.closeSubpath();
    return path.united(tail);
}

void BalloonTip::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.setBrush(palette().color(QPalette::ToolTipBase));
    painter.drawPath(outline());
}

void BalloonTip::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    // Without a compositor a window cannot be see-through: the mask keeps the
    // rounded corners and the tail's sides from showing a square.
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
}
