#include "rules/main_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kMinimumWidth = 4000;
constexpr int kMinimumHeight = 3000;
constexpr int kTabStopRoom = 1500; // right of the marker, besides the tabs
constexpr int kTabsRoom = 1000;    // below the tabs
constexpr int kMinimumButtonWidth = 300;
constexpr int kMaximumButtonWidth = 2000;
constexpr int kTabStopInset = 300; // the marker's nearest approach to the frame's left edge
constexpr int kTabStopWidth = 15;
constexpr int kPanelTop = 30;
constexpr int kSplitterPixels = 6;   // the splitter's grab zone
constexpr int kSplitterOverPage = 2; // of those, left of the tab column

// Applied in this order so that a frame too narrow for both bounds keeps the
// marker inside its right edge.
int clampTabStop(int left, const QRect& frame)
{
    const int afterLeftBound = std::max(left, frame.left() + kTabStopInset);
    return std::min(afterLeftBound, frame.left() + frame.width() - kTabStopWidth);
}

} // namespace

MainLayout::MainLayout(const Input& input) : m_input(input)
{
    m_geometry.minimumSize = minimumSize();
    m_geometry.innerSize = QSize(input.innerWidth, input.innerHeight)
                               .expandedTo(m_geometry.minimumSize - input.frameExtra);
    layOutTabColumn();
    layOutPage();
    layOutSelection();
    layOutSplitter();
    layOutStatusBar();
}

QRect MainLayout::tab(int page) const
{
    if (page < 1 || page > m_input.pageCount)
        return {};
    const QRect unselected(tabLeft(), tabTop(page), m_input.buttonWidth, m_input.tabHeight);
    if (page != m_input.recentPage)
        return unselected;
    return unselected.adjusted(0, m_input.pixelSize, 0, 0);
}

int MainLayout::scrollToShow(int page) const
{
    if (page < 1 || page > m_input.pageCount)
        return m_geometry.tabScroll;
    const int top = (page - 1) * m_input.tabHeight;
    const int bottom = page * m_input.tabHeight + 8 * m_input.pixelSize;
    return scrollShowing(top, bottom, m_geometry.tabScroll, m_geometry.tabColumn.height());
}

int MainLayout::scrollShowing(int top, int bottom, int scroll, int viewport)
{
    if (bottom > scroll + viewport)
        scroll = bottom - viewport;
    return std::min(scroll, top);
}

int MainLayout::pixelSize(double twipsPerPixelX, double twipsPerPixelY)
{
    return static_cast<int>(std::lround(twipsPerPixelX + twipsPerPixelY)) / 2;
}

int MainLayout::splitterButtonWidth(int buttonWidth, int x)
{
    return std::clamp(buttonWidth - x, kMinimumButtonWidth, kMaximumButtonWidth);
}

int MainLayout::draggedTabStop(int left, int x, const QRect& frame)
{
    return clampTabStop(left + x, frame);
}

int MainLayout::tabLeft() const
{
    return m_geometry.innerSize.width() - m_input.buttonWidth - 4 * m_input.pixelSize;
}

int MainLayout::tabTop(int page) const
{
    return (page - 1) * m_input.tabHeight + 4 * m_input.pixelSize - m_geometry.tabScroll;
}

// A marker saved on a larger screen, or a page count beyond the screen's
// height, would otherwise push the window off the screen.
QSize MainLayout::minimumSize() const
{
    const int width =
        std::max(kMinimumWidth, m_input.tabStopLeft + m_input.buttonWidth + kTabStopRoom);
    const qint64 allTabs = qint64(m_input.tabHeight) * m_input.pageCount + kTabsRoom;
    const qint64 height = std::max<qint64>(kMinimumHeight, allTabs);
    return {std::min(width, m_input.screenSize.width()),
            int(std::min<qint64>(height, m_input.screenSize.height()))};
}

void MainLayout::layOutTabColumn()
{
    const int left = tabLeft();
    const QSize inner = m_geometry.innerSize;
    m_geometry.tabColumn =
        QRect(left, 0, inner.width() - left, inner.height() - m_input.statusHeight);
    const qint64 allTabs = qint64(m_input.tabHeight) * m_input.pageCount + 8 * m_input.pixelSize;
    const qint64 hidden = allTabs - m_geometry.tabColumn.height();
    m_geometry.maxTabScroll = int(std::clamp<qint64>(hidden, 0, INT_MAX));
    m_geometry.tabScroll = std::clamp(m_input.tabScroll, 0, m_geometry.maxTabScroll);
}

void MainLayout::layOutPage()
{
    const int p = m_input.pixelSize;
    const int t = 3 * p;
    const int left = tabLeft();
    const int height = m_geometry.innerSize.height() - m_input.statusHeight - 2 * t;
    m_geometry.page = QRect(t + 75, t + 15, left - t - 30 - 60, height - 30);
    m_geometry.frame = QRect(t, t, left - t, height);
    const int tabStop = clampTabStop(m_input.tabStopLeft, m_geometry.frame);
    m_geometry.tabStop = QRect(tabStop, t, kTabStopWidth, height);
}

void MainLayout::layOutSelection()
{
    const QRect selected = tab(m_input.recentPage);
    if (selected.isNull())
        return;
    const int p = m_input.pixelSize;
    m_geometry.pageHilite = selected.adjusted(-p, -2 * p, p, p);
    m_geometry.whiteLine = QRect(selected.topLeft() - QPoint(p, p), m_input.whiteLineSize);
}

// The handles leave the frame's edge open only where the selected tab joins
// it; a tab scrolled out of sight, or none, leaves the edge to the handles.
// Each is a grab zone wide enough to hit without aiming: a little over the
// page's edge, more over the tabs, which leaves the editor's scroll bar alone.
void MainLayout::layOutSplitter()
{
    const QRect& frame = m_geometry.frame;
    const QRect& hilite = m_geometry.pageHilite;
    const int frameBottom = frame.top() + frame.height();
    const int edge = frame.left() + frame.width() - kSplitterOverPage * m_input.pixelSize;
    const int width = kSplitterPixels * m_input.pixelSize;
    const int openTop = std::clamp(hilite.top(), frame.top(), frameBottom);
    const int openBottom = std::clamp(hilite.top() + hilite.height(), frame.top(), frameBottom);
    m_geometry.resizeTop = QRect(edge, frame.top(), width, openTop - frame.top());
    m_geometry.resizeBottom = QRect(edge, openBottom, width, frameBottom - openBottom);
}

void MainLayout::layOutStatusBar()
{
    const int s = m_input.statusHeight;
    if (s <= 0)
        return;
    const int p = m_input.pixelSize;
    const int t = 3 * p;
    const QSize inner = m_geometry.innerSize;
    StatusBar& bar = m_geometry.status;
    m_geometry.statusArea = QRect(0, inner.height() - s, inner.width(), s);
    const QSize grip = m_input.gripSize;
    bar.gripper = QRect(QPoint(inner.width() - grip.width(), s - grip.height()), grip);
    const int panelWidth = bar.gripper.left() - 30 - 285 - 800 - 2 * t;
    bar.panel = QRect(315, kPanelTop, panelWidth, s - 45);
    bar.insFrame = QRect(bar.panel.left() + panelWidth + t, kPanelTop, 800, s - 45);
    const int textTop = kPanelTop + p;
    const int textHeight = s - 45 - 2 * p;
    bar.insLabel = QRect(bar.insFrame.left() + p, textTop, 800 - 2 * p, textHeight);
    bar.iconLeft = 30;
    bar.statusLabel = QRect(420, textTop, panelWidth - 270, textHeight);
}
