#include "ui/balloon_tip.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

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

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, kTailHeight + 8, 10, 10);
    grid->addWidget(m_picture, 0, 0, Qt::AlignTop);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(m_text, 1, 1);
}

void BalloonTip::showAt(const QWidget* target, const QString& title, const QString& text, Icon icon)
{
    m_icon = icon;
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_picture->setPixmap(pictureOf(icon, style(), size));
    m_picture->setVisible(icon != Icon::None);
    m_title->setText(forLabel(title));
    m_text->setText(forLabel(text));
    adjustSize();
    const QPoint tip = target->mapToGlobal(QPoint(target->height() / 2, target->height() * 3 / 4));
    move(tip - QPoint(kTailLeft + kTailWidth / 2, 0));
    show();
    raise();
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
    const QRectF box(0.5, kTailHeight + 0.5, width() - 1.0, height() - kTailHeight - 1.0);
    QPainterPath path;
    path.addRoundedRect(box, kRadius, kRadius);
    QPainterPath tail;
    tail.moveTo(kTailLeft, box.top() + 1);
    tail.lineTo(kTailLeft + kTailWidth / 2.0, 0.5);
    tail.lineTo(kTailLeft + kTailWidth, box.top() + 1);
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
