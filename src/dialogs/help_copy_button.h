#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// `imgCopy`: the help window's picture button. Normal, it shows its picture
// on the window's face; hot (pointer over it) and pressed, it stands on the
// highlight colour inside an outline of the highlight's shadow, the picture
// raised towards the top left while hot and sunk back while pressed.
class HelpCopyButton : public QWidget
{
    Q_OBJECT

public:
    enum class Look
    {
        Normal,
        Hot,
        Pressed
    };

    HelpCopyButton(const QPixmap& picture, const QColor& hilite, const QColor& hiliteShadow,
                   QWidget* parent = nullptr);

    Look look() const { return m_look; }
    void setLook(Look look);

Q_SIGNALS:
    void clicked();
    // The button was let go, inside it or not.
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    QColor m_hilite;
    QColor m_hiliteShadow;
    Look m_look = Look::Normal;
    bool m_pressed = false;
};
