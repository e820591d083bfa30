#pragma once

#include <QFrame>
#include <QPoint>

class QLabel;
class QSizeGrip;

// The bar `picStatus` at the bottom of the main window. It starts as the
// status bar; showTip() turns it into the tip bar until endTip(). Exactly one
// of the pairs `imgStatus` + `lblStatus` and `imgTip` + `lblTip` is visible.
// The insert/overwrite indicator `lblIns` and the grip `lblGripper` always show.
// A tip longer than its panel ends in "…" and shows whole as the tooltip.
class StatusTipBar : public QFrame
{
    Q_OBJECT

public:
    explicit StatusTipBar(QWidget* parent = nullptr);

    void showTip(const QString& text);
    void endTip();
    bool isTipShowing() const;

    void setStatusText(const QString& text);
    QString statusText() const;
    // Picture 2 of `imgRes` when saved, picture 1 while there are unsaved changes.
    void setSaved(bool saved, const QString& toolTip = {});
    bool isSaved() const { return m_saved; }
    void setIndicatorText(const QString& text);
    QString indicatorText() const;

Q_SIGNALS:
    // A right-button release on the bar, its icons or its texts; the window
    // shows `mnuStatus` there.
    void statusMenuRequested(QPoint globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Keeps the window's background menu from opening over the bar.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QFrame* buildTextPanel();
    QFrame* buildIndicator();
    void layOut(QFrame* textPanel, QFrame* indicator);
    void showTipPair(bool tip);
    void fitTip();

    QLabel* m_statusIcon = nullptr;
    QLabel* m_tipIcon = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_tipLabel = nullptr;
    QLabel* m_insertLabel = nullptr;
    QSizeGrip* m_sizeGrip = nullptr;
    bool m_saved = true;
    QString m_tip;
};
