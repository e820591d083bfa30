#pragma once

#include <QColor>
#include <QCursor>
#include <QFontMetrics>
#include <QWidget>
#include <functional>

// Geometry of the tab column in twips, and the one factor that turns twips
// into pixels: the caller owns the DPI (Twips at the screen's logical DPI
// gives pixelsPerTwip = logicalDpi / 1440).
struct TabMetrics
{
    double buttonWidth = 600;
    double tabHeight = 255;
    int pixelSize = 15;
    double pixelsPerTwip = 0;
};

// The column of page tabs beside the editor, object name "picTabs". Tab k
// (k = 1..pageCount) is the array element `lblSecs(k)`: it shows the title of
// page k. One widget paints only the tabs it has to, so a book of 32,767 pages
// costs no more than a short one; titles are asked for only when a tab is
// painted.
//
// Tab k lies at top = (k - 1) x tabHeight + 4 x pixelSize twips from the top of
// the column, as wide as buttonWidth; each tab's edges are rounded to pixels on
// their own, so tabs touch without gaps at any DPI. The tab of the current
// page is one pixel lower and one pixel shorter, and only that smaller
// rectangle reacts to the mouse. A column taller than the widget scrolls with
// the wheel; areas outside the tabs are left unpainted so the window's page
// highlight shows through.
class TabColumn : public QWidget
{
    Q_OBJECT
public:
    using TitleSource = std::function<QString(int page)>;

    explicit TabColumn(const TabMetrics& metrics, QWidget* parent = nullptr);

    void setPages(TitleSource title, int count);
    int pageCount() const { return m_count; }
    QString titleOf(int k) const;

    // Tab k gets the selected look and is scrolled into view; a page without
    // a tab leaves no tab selected.
    void setCurrentPage(int k);
    int currentPage() const { return m_current; }

    void setMetrics(const TabMetrics& metrics);
    const TabMetrics& metrics() const { return m_metrics; }

    // The background of the selected tab, as the page behind it.
    void setPageColor(const QColor& color);

    // In widget pixels, after scrolling; empty for a k without a tab.
    QRect tabRect(int k) const;
    // The tab under a point in widget pixels, 0 when there is none.
    int tabAt(const QPoint& pos) const;
    // What a screen reader says of each tab besides its title: "%1" is
    // the tab's page, "%2" the page count.
    void setTabDescription(const QString& pattern) { m_tabDescription = pattern; }
    QString tabDescription() const { return m_tabDescription; }

    // The tab with the hover look, 0 when there is none.
    int hoveredTab() const { return m_hovered; }
    // The hovered tab's title colour, readable on the tabs' background.
    QColor hoverTextColor() const;
    // Tab k's title as its tab shows it in its present look: whole when it
    // fits, else cut. The whole title is the tab's tooltip then.
    QString shownTitle(int k) const;

    int scrollOffset() const { return m_scroll; }
    int maximumScroll() const;
    void ensureVisible(int k);

    // The tabs the last paint drew, first and last (0, 0 when none).
    QPair<int, int> lastPaintedTabs() const { return m_lastPainted; }

    QSize sizeHint() const override;

public Q_SLOTS:
    void unHiliteAll();

Q_SIGNALS:
    // Any button opens page k.
    void tabPressed(int k, Qt::MouseButton button);
    // Sent to the tab that got the press, wherever the button goes up, like a
    // captured mouse.
    void tabReleased(int k, Qt::MouseButton button, QPoint globalPos);
    void tabDoubleClicked(int k);
    // On every move over tab k, the current one too, so the window can restore
    // its status text.
    void hovered(int k);
    // On every move over no tab and when the mouse leaves the column.
    void pointerLeft();
    // The tabs moved on the screen; the window lays out what joins the
    // selected tab to the page.
    void scrolled(int offset);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int toPixels(double twips) const;
    int slotTop(int k) const;
    int margin() const;
    int contentHeight() const;
    int tabWidth() const;
    int firstTabNear(int contentY) const;
    bool hasTab(int k) const { return k >= 1 && k <= m_count; }
    static QString fitTitle(const QString& title, const QFontMetrics& metrics, int room);
    struct ShownTitle
    {
        QString text;
        QRect rect;
    };
    QFont tabFont(int k) const;
    ShownTitle layOutTitle(int k, const QString& title) const;
    void paintTab(QPainter& painter, int k) const;
    void setHovered(int k);
    void pointAt(const QPoint& pos);
    void scrollTo(int offset);
    void updateTab(int k);

    TabMetrics m_metrics;
    TitleSource m_title;
    int m_count = 0;
    int m_current = 0;
    int m_hovered = 0;
    int m_pressed = 0;
    int m_scroll = 0;
    QColor m_pageColor;
    QCursor m_handCursor;
    QPair<int, int> m_lastPainted;
    QString m_tabDescription = QStringLiteral("%1 / %2");
};
