#include "ui/cue_text_box.h"

#include <QFocusEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// The space QLineEdit leaves on either side of its text, inside the frame.
constexpr int kTextMargin = 2;

} // namespace

CueTextBox::CueTextBox(QWidget* parent) : QLineEdit(parent), m_balloon(new BalloonTip(this))
{
    connect(this, &QLineEdit::textChanged, this, &CueTextBox::hideBalloonTip);
}

void CueTextBox::setCueBanner(const QString& text)
{
    m_cueBanner = text;
    if (!hasFocus())
        setPlaceholderText(text);
    updateGeometry();
}

QSize CueTextBox::sizeHint() const
{
    return QLineEdit::sizeHint().expandedTo(cueSize());
}

QSize CueTextBox::minimumSizeHint() const
{
    return QLineEdit::minimumSizeHint().expandedTo(cueSize());
}

QSize CueTextBox::cueSize() const
{
    if (m_cueBanner.isEmpty())
        return {};
    const QMargins margins = textMargins();
    const QSize text(fontMetrics().horizontalAdvance(m_cueBanner) + 2 * kTextMargin +
                         margins.left() + margins.right() + 1,
                     fontMetrics().height());
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
}

void CueTextBox::showBalloonTip()
{
    m_balloon->showAt(this, m_balloonTipTitle, m_balloonTipText, m_balloonTipIcon);
}

void CueTextBox::hideBalloonTip()
{
    m_balloon->hide();
}

void CueTextBox::focusInEvent(QFocusEvent* event)
{
    // Qt keeps the placeholder on a focused empty box; the cue is a hint for
    // a box the user is not in.
    setPlaceholderText(QString());
    QLineEdit::focusInEvent(event);
    selectAll();
}

void CueTextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    setPlaceholderText(m_cueBanner);
}

void CueTextBox::hideEvent(QHideEvent* event)
{
    hideBalloonTip();
    QLineEdit::hideEvent(event);
}
