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
    m_statusIcon = newLabel("imgStatus", this);
    m_tipIcon = newLabel("imgTip", this);
    m_tipIcon->setPixmap(AppPictures::tip());
    m_sizeGrip = new QSizeGrip(this);
    m_sizeGrip->setObjectName(QStringLiteral("lblGripper"));
    m_sizeGrip->setFocusPolicy(Qt::NoFocus);
    layOut(buildTextPanel(), buildIndicator());
    setSaved(true);
    showTipPair(false);
}

QFrame* StatusTipBar::buildTextPanel()
{
    QFrame* panel = newSunkenPanel("shpPanel1", this);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(Twips::toPixels(kTextIndentTwips, logicalDpiX()), 0, 0, 0);
    m_statusLabel = newLabel("lblStatus", panel);
    m_tipLabel = newLabel("lblTip", panel);
    for (QLabel* text : {m_statusLabel, m_tipLabel}) {
        // A long path or tip is cut at the panel's edge instead of widening the window.
        text->setMinimumWidth(1);
        text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(text);
    }
    m_tipLabel->installEventFilter(this);
    return panel;
}

QFrame* StatusTipBar::buildIndicator()
{
    QFrame* box = newSunkenPanel("shpIns", this);
    box->setFixedWidth(Twips::toPixels(kIndicatorWidthTwips, logicalDpiX()));
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(1, 0, 1, 0);
    m_insertLabel = newLabel("lblIns", box);
    m_insertLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_insertLabel);
    return box;
}

void StatusTipBar::layOut(QFrame* textPanel, QFrame* indicator)
{
    const int iconLeft = Twips::toPixels(kIconLeftTwips, logicalDpiX());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(iconLeft, 1, 0, 0);
    layout->setSpacing(iconLeft + 1);
    layout->addWidget(m_statusIcon);
    layout->addWidget(m_tipIcon);
    layout->addWidget(textPanel, 1);
    layout->addWidget(indicator);
    layout->addWidget(m_sizeGrip, 0, Qt::AlignBottom | Qt::AlignRight);
}

void StatusTipBar::showTip(const QString& text)
{
    m_tip = text;
    fitTip();
    showTipPair(true);
}

void StatusTipBar::fitTip()
{
    const QString shown = m_tipLabel->fontMetrics().elidedText(m_tip, Qt::ElideRight,
                                                               m_tipLabel->contentsRect().width());
    m_tipLabel->setText(shown);
    m_tipLabel->setToolTip(shown == m_tip ? QString() : m_tip);
}

bool StatusTipBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tipLabel && event->type() == QEvent::Resize)
        fitTip();
    return QFrame::eventFilter(watched, event);
}

void StatusTipBar::endTip()
{
    showTipPair(false);
}

bool StatusTipBar::isTipShowing() const
{
    return !m_tipIcon->isHidden();
}

void StatusTipBar::showTipPair(bool tip)
{
    m_tipIcon->setVisible(tip);
    m_tipLabel->setVisible(tip);
    m_statusIcon->setVisible(!tip);
    m_statusLabel->setVisible(!tip);
}

void StatusTipBar::setStatusText(const QString& text)
{
    m_statusLabel->setText(text);
}

QString StatusTipBar::statusText() const
{
    return m_statusLabel->text();
}

void StatusTipBar::setSaved(bool saved, const QString& toolTip)
{
    m_saved = saved;
    m_statusIcon->setPixmap(saved ? AppPictures::saved() : AppPictures::unsaved());
    m_statusIcon->setToolTip(toolTip);
    m_statusIcon->setAccessibleName(toolTip);
}

void StatusTipBar::setIndicatorText(const QString& text)
{
    m_insertLabel->setText(text);
}

QString StatusTipBar::indicatorText() const
{
    return m_insertLabel->text();
}

void StatusTipBar::mouseReleaseEvent(QMouseEvent* event)
{
    // The grip passes on what it does not use; it opens no menu.
    const bool onGrip = m_sizeGrip->geometry().contains(event->position().toPoint());
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
