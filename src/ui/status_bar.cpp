#include "ui/status_bar.h"

#include "core/twips.h"
#include "ui/app_pictures.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSizeGrip>

namespace {

constexpr double kIndicatorWidthTwips = 800;
constexpr double kIconLeftTwips = 30;
constexpr double kTextIndentTwips = 105; // text left 420 less panel left 315

// Nothing on the bar takes the focus away from the editor.
QLabel* newLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QFrame* newSunkenPanel(const char* name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFocusPolicy(Qt::NoFocus);
    return panel;
}

} // namespace

StatusTipBar::StatusTipBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("picStatus"));
    setFocusPolicy(Qt::NoFocus);
    m_imgStatus = newLabel("imgStatus", this);
    m_imgTip = newLabel("imgTip", this);
    m_imgTip->setPixmap(AppPictures::tip());
    m_lblGripper = new QSizeGrip(this);
    m_lblGripper->setObjectName(QStringLiteral("lblGripper"));
    m_lblGripper->setFocusPolicy(Qt::NoFocus);
    layOut(buildTextPanel(), buildIndicator());
    setSaved(true);
    showTipPair(false);
}

QFrame* StatusTipBar::buildTextPanel()
{
    QFrame* panel = newSunkenPanel("shpPanel1", this);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(Twips::toPixels(kTextIndentTwips, logicalDpiX()), 0, 0, 0);
    m_lblStatus = newLabel("lblStatus", panel);
    m_lblTip = newLabel("lblTip", panel);
    for (QLabel* text : {m_lblStatus, m_lblTip}) {
        // A long path or tip is cut at the panel's edge instead of widening the window.
        text->setMinimumWidth(1);
        text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(text);
    }
    m_lblTip->installEventFilter(this);
    return panel;
}

QFrame* StatusTipBar::buildIndicator()
{
    QFrame* box = newSunkenPanel("shpIns", this);
    box->setFixedWidth(Twips::toPixels(kIndicatorWidthTwips, logicalDpiX()));
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(1, 0, 1, 0);
    m_lblIns = newLabel("lblIns", box);
    m_lblIns->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_lblIns);
    return box;
}

void StatusTipBar::layOut(QFrame* textPanel, QFrame* indicator)
{
    const int iconLeft = Twips::toPixels(kIconLeftTwips, logicalDpiX());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(iconLeft, 1, 0, 0);
    layout->setSpacing(iconLeft + 1);
    layout->addWidget(m_imgStatus);
    layout->addWidget(m_imgTip);
    layout->addWidget(textPanel, 1);
    layout->addWidget(indicator);
    layout->addWidget(m_lblGripper, 0, Qt::AlignBottom | Qt::AlignRight);
}

void StatusTipBar::showTip(const QString& text)
{
    m_tip = text;
    fitTip();
    showTipPair(true);
}

void StatusTipBar::fitTip()
{
    const QString shown =
        m_lblTip->fontMetrics().elidedText(m_tip, Qt::ElideRight, m_lblTip->contentsRect().width());
    m_lblTip->setText(shown);
    m_lblTip->setToolTip(shown == m_tip ? QString() : m_tip);
}

bool StatusTipBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblTip && event->type() == QEvent::Resize)
        fitTip();
    return QFrame::eventFilter(watched, event);
}

void StatusTipBar::endTip()
{
    showTipPair(false);
}

bool StatusTipBar::isTipShowing() const
{
    return !m_imgTip->isHidden();
}

void StatusTipBar::showTipPair(bool tip)
{
    m_imgTip->setVisible(tip);
    m_lblTip->setVisible(tip);
    m_imgStatus->setVisible(!tip);
    m_lblStatus->setVisible(!tip);
}

void StatusTipBar::setStatusText(const QString& text)
{
    m_lblStatus->setText(text);
}

QString StatusTipBar::statusText() const
{
    return m_lblStatus->text();
}

void StatusTipBar::setSaved(bool saved, const QString& toolTip)
{
    m_saved = saved;
    m_imgStatus->setPixmap(saved ? AppPictures::saved() : AppPictures::unsaved());
    m_imgStatus->setToolTip(toolTip);
    m_imgStatus->setAccessibleName(toolTip);
}

void StatusTipBar::setIndicatorText(const QString& text)
{
    m_lblIns->setText(text);
}

QString StatusTipBar::indicatorText() const
{
    return m_lblIns->text();
}

void StatusTipBar::mouseReleaseEvent(QMouseEvent* event)
{
    // The grip passes on what it does not use; it opens no menu.
    const bool onGrip = m_lblGripper->geometry().contains(event->position().toPoint());
    if (event->button() != Qt::RightButton || onGrip) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    Q_EMIT statusMenuRequested(event->globalPosition().toPoint());
}

void StatusTipBar::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}
