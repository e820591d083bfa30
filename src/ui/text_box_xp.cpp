#include "ui/text_box_xp.h"

#include <QFocusEvent>

cTextBoxXP::cTextBoxXP(QWidget* parent) : QLineEdit(parent), m_balloon(new BalloonTip(this))
{
    connect(this, &QLineEdit::textChanged, this, &cTextBoxXP::HideBalloonTip);
}

void cTextBoxXP::setCueBanner(const QString& text)
{
    m_cueBanner = text;
    if (!hasFocus())
        setPlaceholderText(text);
}

void cTextBoxXP::ShowBalloonTip()
{
    m_balloon->showAt(this, m_balloonTipTitle, m_balloonTipText, m_balloonTipIcon);
}

void cTextBoxXP::HideBalloonTip()
{
    m_balloon->hide();
}

void cTextBoxXP::focusInEvent(QFocusEvent* event)
{
    // Qt keeps the placeholder on a focused empty box; the cue is a hint for
    // a box the user is not in.
    setPlaceholderText(QString());
    QLineEdit::focusInEvent(event);
    selectAll();
}

void cTextBoxXP::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    setPlaceholderText(m_cueBanner);
}

void cTextBoxXP::hideEvent(QHideEvent* event)
{
    HideBalloonTip();
    QLineEdit::hideEvent(event);
}
