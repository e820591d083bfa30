#pragma once

#include <QFrame>

class QGridLayout;
class QLabel;
class QPainterPath;

// A balloon like the one an edit control shows for a warning about its input:
// an icon, a bold title and a text in a rounded box whose tail points at a
// widget. A click on it puts it away.
class BalloonTip : public QFrame
{
    Q_OBJECT

public:
    // The numbers the balloon icon has always been given.
    enum class Icon
    {
        None = 0,
        Information = 1,
        Warning = 2
    };

    explicit BalloonTip(QWidget* owner);

    // Shows the balloon below `target`, its tail at the target's text, or
    // where it covers no button of the target's window.
    void showAt(const QWidget* target, const QString& title, const QString& text, Icon icon);

    QString title() const;
    QString text() const;
    Icon icon() const { return m_icon; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The corner of the balloon its tail sits at.
    enum class Tail
    {
        TopLeft,
        TopRight,
        BottomLeft,
        BottomRight
    };

    static QList<QRect> buttonsAround(const QWidget* target);
    void placeTail(Tail tail, const QPoint& tip);
    int tailLeft() const;
    QPainterPath outline() const;

    Tail m_tail = Tail::TopLeft;
    QGridLayout* m_grid = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
    Icon m_icon = Icon::None;
};
