#pragma once

#include "ui/balloon_tip.h"

#include <QLineEdit>

// A one-line text box with a cue banner, the grey hint shown
// while the box is empty and has not got the focus, and a balloon tip that
// points at the box and goes away as soon as its text changes. Getting the
// focus selects the whole text, so typing replaces it.
class CueTextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit CueTextBox(QWidget* parent = nullptr);

    void setCueBanner(const QString& text);
    void setBalloonTipTitle(const QString& title) { m_balloonTipTitle = title; }
    void setBalloonTipText(const QString& text) { m_balloonTipText = text; }
    void setBalloonTipIcon(BalloonTip::Icon icon) { m_balloonTipIcon = icon; }

    void showBalloonTip();
    void hideBalloonTip();
    const BalloonTip* balloonTip() const { return m_balloon; }

    // Never narrower than its cue banner, which shows whole in any language.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QSize cueSize() const;

    QString m_cueBanner;
    QString m_balloonTipTitle;
    QString m_balloonTipText;
    BalloonTip::Icon m_balloonTipIcon = BalloonTip::Icon::None;
    BalloonTip* m_balloon = nullptr;
};
