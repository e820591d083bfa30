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

} // namespace

StatusTipBar::StatusTipBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("picStatus"));
    setFocusPolicy(Qt::NoFocus);
    const double dpi = logicalDpiX();

    m_imgStatus = addLabel("imgStatus", this);
    m_imgTip = addLabel("imgTip", this);
    m_imgTip->setPixmap(AppPictures::tip());

    QFrame* panel = addPanel("shpPanel1");
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(Twips::toPixels(kTextIndentTwips, dpi), 0, 0, 0);
    m_lblStatus = addLabel("lblStatus", panel);
    m_lblTip = addLabel("lblTip", panel);
    for (QLabel* text : {m_lblStatus, m_lblTip}) {
        // A long path or tip is cut at the panel's edge instead of widening the window.
        text->setMinimumWidth(1);
        text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panelLayout->addWidget(text);
    }

    QFrame* box = addPanel("shpIns");
    box->setFixedWidth(Twips::toPixels(kIndicatorWidthTwips, dpi));
    auto* boxLayout = new QHBoxLayout(box);
    boxLayout->setContentsMargins(1, 0, 1, 0);
    m_lblIns = addLabel("lblIns", box);
    m_lblIns->setAlignment(Qt::AlignCenter);
    boxLayout->addWidget(m_lblIns);

    m_lblGripper = new QSizeGrip(this);
    m_lblGripper->setObjectName(QStringLiteral("lblGripper"));
    m_lblGripper->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(Twips::toPixels(kIconLeftTwips, dpi), 1, 0, 0);
    layout->setSpacing(Twips::toPixels(kIconLeftTwips, dpi) + 1);
    layout->addWidget(m_imgStatus);
    layout->addWidget(m_imgTip);
    layout->addWidget(panel, 1);
    layout->addWidget(box);
    layout->addWidget(m_lblGripper, 0, Qt::AlignBottom | Qt::AlignRight);

    setSaved(true);
    showTipPair(false);
}

QLabel* StatusTipBar::addLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QFrame* StatusTipBar::addPanel(const char* name)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFocusPolicy(Qt::NoFocus);
    return panel;
}

void StatusTipBar::showTip(const QString& text)
{
    m_lblTip->setText(text);
    showTipPair(true);
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
