#include "mainwindow/main_window.h"

#include "contacts/contact_import.h"
#include "core/app_info.h"
#include "core/code_page.h"
#include "core/twips.h"
#include "document/book.h"
#include "mainwindow/main_menus.h"
#include "mainwindow/print_dialog_setup.h"
#include "richtext/paragraph_pieces.h"
#include "richtext/win_color.h"
#include "rules/main_layout.h"
#include "rules/page_menu_rules.h"
#include "styles/style.h"
#include "ui/app_pictures.h"
#include "ui/font_choice.h"
#include "ui/page_fonts.h"
#include "ui/rich_text_edit.h"
#include "ui/status_bar.h"
#include "ui/tab_column.h"
#include "ui/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFrame>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kAddressTabTwips = 300;
constexpr int kMarkerOffsetTwips = 75;
// The marker is a line of one pixel, grabbed this many pixels either side.
constexpr int kMarkerReach = 3;
constexpr int kPastTheEnd = 10;
constexpr double kTabHeightTwips = 255;
constexpr int kMenuInsetTwips = 30;
constexpr int kWindowFontPoints = 8;
constexpr int kMainMenuAboveStatusTwips = 45;
constexpr double kMixedFontSize = 8;
constexpr double kSmallestFontSize = 6;
constexpr double kLargestFontSize = 15;

// The standard 16 colours of the text-mode colour numbers, as Windows colour values.
constexpr std::array<quint32, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

QWidget* plainChild(QWidget* parent, const char* name)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAutoFillBackground(true);
    return widget;
}

// The printer as the user chose it: the file of a print to file, else its name.
QString printerLabel(const QPrinter* printer)
{
    if (!printer)
        return {};
    if (!printer->outputFileName().isEmpty())
        return QDir::toNativeSeparators(printer->outputFileName());
    return printer->printerName();
}

void paint(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

} // namespace

MainWindow::MainWindow(MainWindowHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_printSetup(std::make_unique<PrintDialogSetup>())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    setFont(QFont(PageFonts::defaultFamily(), kWindowFontPoints));
    setMouseTracking(true);
    buildControls();
    m_menus = new MainMenus(this, [this](TextId id) { return m_host.localizedText(id); });
    connectMenus();
    connectTabs();
    nameControls();
    setSavedState(true);
    m_statusBar->setIndicatorText(m_host.localizedText(TextId::MainInsert));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("shpFrame"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setAutoFillBackground(true);
    m_pageEditor = new RichTextEdit(this);
    m_pageEditor->setObjectName(QStringLiteral("rtfPage"));
    m_pageEditor->setFrameShape(QFrame::NoFrame);
    // Its page, scroll bar and their corner cover it whole: what a keystroke
    // repaints is not painted first in the frame beneath.
    m_pageEditor->setAttribute(Qt::WA_OpaquePaintEvent);
    m_pageEditor->setContextMenuPolicy(Qt::NoContextMenu);
    m_pageEditor->installEventFilter(this);
    m_pageEditor->viewport()->installEventFilter(this);
    m_pageEditor->viewport()->setMouseTracking(true);
    connect(m_pageEditor, &RichTextEdit::change, this, [this] {
        if (m_loadingPage)
            return;
        m_pageEdited = true;
        m_host.pageEdited();
    });
    connect(m_pageEditor, &RichTextEdit::refused, this, [this](const QString& characters) {
        m_host.warn(m_host.localizedText(TextId::PlainTextCharacterRefused).arg(characters));
    });
    connect(m_pageEditor, &RichTextEdit::overwriteModeToggled, this,
            [this] { toggleInsertIndicator(); });
    m_tabStopMarker = plainChild(this, "picTabStop");
    m_tabStopMarker->setAutoFillBackground(false);
    m_tabStopMarker->setCursor(Qt::SizeHorCursor);
    m_tabStopMarker->installEventFilter(this);
    m_topResizer = plainChild(this, "picResizeTop");
    m_bottomResizer = plainChild(this, "picResizeBottom");
    for (QWidget* handle : {m_topResizer, m_bottomResizer}) {
        // Invisible: the page's edge and the tabs show through.
        handle->setAutoFillBackground(false);
        handle->setCursor(Qt::SplitHCursor);
        handle->installEventFilter(this);
    }
    m_pageHighlight = plainChild(this, "shpPageHilite");
    m_tabs = new TabColumn(TabMetrics{}, this);
    m_tabs->setFont(font());
    m_whiteLine = plainChild(this, "picWhiteLine");
    // The splitter's grab zone reaches over the tabs' edge and wins there: a
    // press that starts a drag opens no page.
    m_topResizer->raise();
    m_bottomResizer->raise();
    m_statusBar = new StatusTipBar(this);
    m_statusBar->setObjectName(QStringLiteral("picStatus"));
}

// For screen readers: what each control is, where no caption says it.
void MainWindow::nameControls()
{
    const auto name = [this](QWidget* widget, TextId caption, TextId description) {
        widget->setAccessibleName(m_host.localizedText(caption));
        widget->setAccessibleDescription(m_host.localizedText(description));
    };
    name(m_tabs, TextId::MainTabsName, TextId::MainTabsDescription);
    m_tabs->setTabDescription(m_host.localizedText(TextId::MainTabDescription));
    name(m_pageEditor, TextId::MainPageName, TextId::MainPageDescription);
    name(m_statusBar, TextId::MainStatusName, TextId::MainStatusDescription);
    name(m_tabStopMarker, TextId::MainMarkerName, TextId::MainMarkerDescription);
    for (QWidget* handle : {m_topResizer, m_bottomResizer})
        name(handle, TextId::MainSplitterName, TextId::MainSplitterDescription);
}

void MainWindow::connectMenus()
{
    for (const CommandRow& row : CommandTable::rows()) {
        if (row.objectName)
            connect(m_menus->item(QString::fromLatin1(row.objectName)), &QAction::triggered,
                    this, [this, command = row.command] { execute(command); });
    }
    connect(m_menus, &MainMenus::sizeChosen, this, [this](int points) {
        m_pageEditor->setSelFontSize(points);
        showSelectionFormat();
    });
    connect(m_menus, &MainMenus::colorChosen, this, [this](int index) {
        m_pageEditor->setSelColor(index < 0 ? WinColor::windowText
                                            : kPalette[static_cast<std::size_t>(index)]);
        showSelectionFormat();
    });
    connect(m_menus, &MainMenus::styleChosen, this,
            [this](int index) { execute(Command::ApplyStyle, index); });
    connect(m_pageEditor, &RichTextEdit::selChange, this, &MainWindow::showSelectionFormat);
    connect(m_menus, &MainMenus::otherColorRequested, this, &MainWindow::chooseColor);
    connect(m_statusBar, &StatusTipBar::statusMenuRequested, this, &MainWindow::popUpStatusMenu);
}

void MainWindow::connectTabs()
{
    connect(m_tabs, &TabColumn::tabPressed, this,
            [this](int page, Qt::MouseButton) { execute(Command::OpenPage, page); });
    connect(m_tabs, &TabColumn::tabReleased, this,
            [this](int, Qt::MouseButton button, QPoint globalPos) {
                if (button == Qt::RightButton)
                    popUpPageMenu(globalPos);
            });
    connect(m_tabs, &TabColumn::tabDoubleClicked, this, [this](int) { printPage(); });
    connect(m_tabs, &TabColumn::hovered, this,
            [this](int) { m_statusBar->setStatusText(m_standingStatus); });
    connect(m_tabs, &TabColumn::scrolled, this, [this](int) { layOut(); });
}

void MainWindow::rebuildTabs(const Book& book, const Display& display)
{
    m_book = &book;
    m_display = display;
    const int count = book.pageCount();
    m_tabs->setPages([&book](int page) { return book.page(page).title; }, count);
    m_statusBar->setVisible(display.status);
    applyPageColor();
    m_menus->setEnableSort(display.enableSort);
    m_menus->setStyleNames(display.styleNames);
    m_pageEditor->setCodePageOnly(display.codePageOnly);
    layOut();
}

void MainWindow::showPage(const PageRecord& page, int index)
{
    m_current = index;
    m_tabs->setCurrentPage(index);
    setWindowTitle(AppInfo::title() + QStringLiteral(" - ") + page.title);
    m_loadingPage = true;
    m_textPage = page.kind == PageRecord::TextPage;
    m_pageEditor->setTextRTF(page.text, tabStops(m_textPage));
    m_tabStopMarker->setVisible(!m_textPage);
    m_loadingPage = false;
    m_pageEdited = false;
    for (const auto& off : {&RichTextEdit::setSelBold, &RichTextEdit::setSelItalic,
                            &RichTextEdit::setSelStrikeThru, &RichTextEdit::setSelUnderline})
        (m_pageEditor->*off)(false);
    if (m_display.moveToEnd)
        m_pageEditor->setSelStart(static_cast<int>(m_pageEditor->text().size()) + kPastTheEnd);
    showSelectionFormat();
    m_pageEditor->setFocus();
    layOut();
}

// Two stops on an address page, at 300 twips and just left of the marker.
QList<int> MainWindow::tabStops(bool textPage) const
{
    if (textPage)
        return {};
    return {kAddressTabTwips, static_cast<int>(m_display.tabStop) - kMarkerOffsetTwips};
}

void MainWindow::applyTabStops(bool textPage)
{
    const bool wasLoading = m_loadingPage;
    m_loadingPage = true;
    m_pageEditor->setUpdatesEnabled(false);
    const int start = m_pageEditor->selStart();
    const int length = m_pageEditor->selLength();
    m_pageEditor->setSelStart(0);
    m_pageEditor->setSelLength(static_cast<int>(m_pageEditor->text().size()));
    const QList<int> stops = tabStops(textPage);
    m_pageEditor->setSelTabCount(static_cast<int>(stops.size()));
    for (int i = 0; i < stops.size(); ++i)
        m_pageEditor->setSelTabs(i, stops[i]);
    m_pageEditor->setSelStart(start);
    m_pageEditor->setSelLength(length);
    m_pageEditor->setUpdatesEnabled(true);
    m_pageEditor->clearUndo();
    m_loadingPage = wasLoading;
}

bool MainWindow::takePageEdits(QString& richText)
{
    if (!m_pageEdited)
        return false;
    richText = m_pageEditor->textRTF();
    m_pageEdited = false;
    return true;
}

QString MainWindow::pageText() const
{
    return m_pageEditor->text();
}

int MainWindow::pageCount() const
{
    return m_book ? m_book->pageCount() : 0;
}

int MainWindow::selStart() const
{
    return m_pageEditor->selStart();
}

QString MainWindow::pageText(int page) const
{
    if (page == m_current)
        return m_pageEditor->text();
    if (!m_book || page < 1 || page > m_book->pageCount())
        return {};
    return m_book->page(page).plainText();
}

int MainWindow::findText(const QString& sample, int first, int last, int options)
{
    return m_pageEditor->findText(sample, first, last, options);
}

QFont MainWindow::pageFont() const
{
    return m_pageEditor->font();
}

void MainWindow::replacePageText(const QString& plain)
{
    m_pageEditor->replaceAllText(plain);
    if (m_display.moveToEnd)
        m_pageEditor->setSelStart(static_cast<int>(m_pageEditor->text().size()) + kPastTheEnd);
    repaintEditor();
    m_pageEditor->setFocus();
}

void MainWindow::appendEntries(const QString& entries)
{
    // A note of a whole file is one long paragraph: held in pieces, as a
    // loaded page holds it, it is laid out a few pieces at a time. The view
    // shows the first added entry, which needs no layout of those after it.
    QTextDocument& page = *m_pageEditor->document();
    const int end = page.characterCount() - 1;
    m_pageEditor->asOneLargeEdit([&] {
        ContactImport::appendEntries(page, entries);
        ParagraphPieces::split(page);
    });
    // On a page with text the entries start a paragraph of their own.
    m_pageEditor->showAtTop(end > 0 ? end + 1 : 0);
    m_pageEditor->setFocus();
}

void MainWindow::editOpenPage(const std::function<void(QTextDocument&)>& edit)
{
    m_pageEditor->asOneEdit([&] { edit(*m_pageEditor->document()); });
    m_pageEditor->setFocus();
}

void MainWindow::dropPageEdits()
{
    m_pageEdited = false;
}

void MainWindow::showTip(const QString& text)
{
    m_statusBar->showTip(text);
}

void MainWindow::endTip()
{
    m_statusBar->endTip();
}

bool MainWindow::isTipShowing() const
{
    return m_statusBar->isTipShowing();
}

void MainWindow::showStatusText(const QString& text)
{
    m_standingStatus = text;
    m_statusBar->setStatusText(text);
}

void MainWindow::showNotice(const QString& text)
{
    m_statusBar->setStatusText(text);
}

void MainWindow::setSavedState(bool saved)
{
    m_statusBar->setSaved(
        saved, m_host.localizedText(saved ? TextId::MainSavedTip : TextId::MainUnsavedTip));
}

void MainWindow::showStyleNames(const QStringList& names)
{
    m_menus->setStyleNames(names);
}

void MainWindow::buildSizeAndColorMenus(const QStringList& colorCaptions)
{
    m_menus->buildSizeAndColorItems(colorCaptions);
}

void MainWindow::applyStyle(const Style& style)
{
    style.applyTo(*m_pageEditor);
    showSelectionFormat();
}

void MainWindow::repaintEditor()
{
    m_pageEditor->viewport()->update();
}

void MainWindow::applyPageColor()
{
    const QColor color = WinColor::toQColor(m_display.pageColor, palette());
    m_pageEditor->setBackColor(m_display.pageColor);
    for (QWidget* widget : {static_cast<QWidget*>(m_frame), m_pageHighlight, m_whiteLine})
        paint(widget, color);
    m_tabs->setPageColor(color);
}

double MainWindow::toTwips(int pixels) const
{
    return Twips::fromPixels(pixels, WindowPlacement::logicalDpi());
}

int MainWindow::toPixels(double twips) const
{
    return Twips::toPixels(twips, WindowPlacement::logicalDpi());
}

FormPosition MainWindow::firstPlacement() const
{
    constexpr int kPageCharacters = 80;
    constexpr double kPageAspect = 0.7; // height to width, for a page of a notebook
    const int p = pixelSize();
    const int t = 3 * p;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int page = kPageCharacters * m_pageEditor->fontMetrics().averageCharWidth() + scrollBar +
                     2 * (m_pageEditor->frameWidth() +
                          static_cast<int>(m_pageEditor->document()->documentMargin()));
    // Beside the page: its margin and frame, the tabs and their own margin.
    const double width = toTwips(page) + m_display.buttonWidth + 4 * p + 2 * t + 165;
    const double tabs =
        kTabHeightTwips * m_tabs->pageCount() + 1000 + toTwips(m_statusBar->sizeHint().height());
    const double height = std::max(tabs, width * kPageAspect);
    FormPosition position;
    position.width = width;
    position.height = height;
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        position.width = std::min(width, toTwips(area.width()));
        position.height = std::min(height, toTwips(area.height()));
        position.left = toTwips(area.x()) + (toTwips(area.width()) - position.width) / 2;
        position.top = toTwips(area.y()) + (toTwips(area.height()) - position.height) / 2;
    }
    return position;
}

int MainWindow::pixelSize() const
{
    const double perPixel = Twips::perInch / WindowPlacement::logicalDpi();
    return MainLayout::pixelSize(perPixel, perPixel);
}

// The one place where the layout in twips becomes pixels.
void MainWindow::layOut()
{
    const int p = pixelSize();
    MainLayout::Input in;
    in.innerWidth = static_cast<int>(toTwips(width()));
    in.innerHeight = static_cast<int>(toTwips(height()));
    in.statusHeight = m_statusBar->isVisibleTo(this)
                          ? static_cast<int>(toTwips(m_statusBar->sizeHint().height()))
                          : 0;
    in.tabHeight = static_cast<int>(kTabHeightTwips);
    in.pageCount = m_tabs->pageCount();
    in.buttonWidth = static_cast<int>(m_display.buttonWidth);
    in.tabStopLeft = static_cast<int>(m_display.tabStop);
    in.recentPage = m_current;
    in.pixelSize = p;
    if (const QScreen* screen = this->screen()) {
        const QSize available = screen->availableSize();
        in.screenSize = QSize(static_cast<int>(toTwips(available.width())),
                              static_cast<int>(toTwips(available.height())));
    }
    in.whiteLineSize = QSize(2 * p, static_cast<int>(kTabHeightTwips) - p);
    in.tabScroll = static_cast<int>(toTwips(m_tabs->scrollOffset()));
    const MainLayout layout(in);
    const MainLayout::Geometry& g = layout.geometry();
    const auto px = [this](const QRect& r) {
        return QRect(toPixels(r.x()), toPixels(r.y()), toPixels(r.width()), toPixels(r.height()));
    };
    setMinimumSize(toPixels(g.minimumSize.width()), toPixels(g.minimumSize.height()));
    m_display.tabStop = g.tabStop.x();
    m_pageEditor->setGeometry(px(g.page));
    m_frame->setGeometry(px(g.frame));
    m_tabStopMarker->setGeometry(px(g.tabStop).adjusted(-kMarkerReach, 0, kMarkerReach, 0));
    m_pageHighlight->setGeometry(px(g.pageHilite));
    m_pageHighlight->setVisible(!g.pageHilite.isEmpty());
    m_whiteLine->setGeometry(px(g.whiteLine));
    m_whiteLine->setVisible(!g.whiteLine.isEmpty());
    m_topResizer->setGeometry(px(g.resizeTop));
    m_bottomResizer->setGeometry(px(g.resizeBottom));
    m_tabs->setMetrics(TabMetrics{m_display.buttonWidth, kTabHeightTwips, p,
                                  WindowPlacement::logicalDpi() / Twips::perInch});
    m_tabs->setGeometry(px(g.tabColumn));
    if (!g.statusArea.isEmpty())
        m_statusBar->setGeometry(px(g.statusArea));
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pageEditor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return windowKey(key) || editorKey(key);
    }
    if (watched == m_pageEditor->viewport()) {
        // Its pictures decoded once the window is on the screen, not before.
        if (event->type() == QEvent::Paint && !m_iconGiven) {
            m_iconGiven = true;
            QTimer::singleShot(0, this, [this] { setWindowIcon(AppPictures::windowIcon()); });
        }
        if (event->type() == QEvent::MouseMove) {
            m_statusBar->setStatusText(m_standingStatus);
            m_tabs->unHiliteAll();
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            popUpEditorMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        return false;
    }
    if (watched == m_tabStopMarker && event->type() == QEvent::Paint) {
        QPainter(m_tabStopMarker)
            .fillRect(m_tabStopMarker->rect().adjusted(kMarkerReach, 0, -kMarkerReach, 0),
                      m_tabStopMarker->palette().window());
        return true;
    }
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return false;
    if (watched == m_topResizer || watched == m_bottomResizer)
        return dragSplitter(mouse);
    if (watched == m_tabStopMarker)
        return dragMarker(mouse);
    return false;
}

bool MainWindow::windowKey(QKeyEvent* event)
{
    const int count = m_tabs->pageCount();
    const PageKeys::Book book{m_current, count, m_display.lastIntPage, m_display.shortcuts};
    const int virtualKey = PageKeys::virtualKey(event->key(), event->nativeScanCode(),
                                                 event->nativeVirtualKey(), PageKeys::kNativeKeyCodes);
    const PageKeys::Action action =
        PageKeys::windowKey(event->key(), event->modifiers(), virtualKey, book);
    if (action.command == Command::None)
        return false;
    if (event->isAutoRepeat() && action.command == Command::Save)
        return true;
    execute(action.command, action.argument);
    return !action.passOn;
}

bool MainWindow::editorKey(QKeyEvent* event)
{
    const PageKeys::Action action = PageKeys::editorKey(event->key(), event->modifiers());
    if (action.command == Command::None)
        return false;
    execute(action.command, action.argument);
    return !action.passOn;
}

// Every key, menu item and tab reaches its command here, the one place that
// asks whether the open page offers it. Insert switches the editor's mode by
// itself: the key goes on to it.
void MainWindow::execute(Command command, int argument)
{
    if (!PageMenuRules::allowed(command, pageState()))
        return;
    switch (command) {
    case Command::None:
    case Command::Ignore:
    case Command::ToggleInsert:
        break;
    case Command::Print:
        printPage();
        break;
    case Command::Undo:
        m_pageEditor->undoEdit();
        break;
    case Command::Cut:
        m_pageEditor->postCut();
        break;
    case Command::Copy:
        m_pageEditor->postCopy();
        break;
    case Command::Paste:
        m_pageEditor->postPaste();
        break;
    case Command::SelectAll:
        m_pageEditor->setSelStart(0);
        m_pageEditor->setSelLength(static_cast<int>(m_pageEditor->text().size()));
        break;
    case Command::Bold:
        toggle(&RichTextEdit::selBold, &RichTextEdit::setSelBold);
        break;
    case Command::Italic:
        toggle(&RichTextEdit::selItalic, &RichTextEdit::setSelItalic);
        break;
    case Command::Underline:
        toggle(&RichTextEdit::selUnderline, &RichTextEdit::setSelUnderline);
        break;
    case Command::Strikeout:
        toggle(&RichTextEdit::selStrikeThru, &RichTextEdit::setSelStrikeThru);
        break;
    case Command::FontDialog:
        chooseFont();
        break;
    case Command::HideTip:
        endTip();
        break;
    case Command::MainMenu:
        popUpPageMenu(mapToGlobal(
            QPoint(toPixels(toTwips(width()) - kMenuInsetTwips),
                   toPixels(toTwips(height()) -
                            (m_statusBar->isVisible() ? toTwips(m_statusBar->height()) : 0) -
                            kMainMenuAboveStatusTwips))));
        break;
    case Command::EditorMenu: {
        const QRect editor = m_pageEditor->geometry();
        popUpEditorMenu(mapToGlobal(QPoint(editor.right() - toPixels(kMenuInsetTwips),
                                           editor.bottom() - toPixels(kMenuInsetTwips))));
        break;
    }
    default:
        m_host.runCommand(command, argument);
        break;
    }
}

// A mixed selection shows no check mark, so it becomes wholly set.
void MainWindow::toggle(std::optional<bool> (RichTextEdit::*get)() const,
                        void (RichTextEdit::*set)(bool))
{
    (m_pageEditor->*set)(!(m_pageEditor->*get)().value_or(false));
    showSelectionFormat();
}

void MainWindow::showSelectionFormat()
{
    TextMarks marks;
    marks.bold = m_pageEditor->selBold();
    marks.italic = m_pageEditor->selItalic();
    marks.underline = m_pageEditor->selUnderline();
    marks.strikeout = m_pageEditor->selStrikeThru();
    if (const std::optional<double> size = m_pageEditor->selFontSize())
        marks.points = static_cast<int>(*size);
    if (const std::optional<quint32> color = m_pageEditor->selColor()) {
        const auto found = std::find(kPalette.begin(), kPalette.end(), *color);
        if (found != kPalette.end())
            marks.paletteColor = static_cast<int>(found - kPalette.begin());
    }
    m_menus->markText(marks);
}

// Qt's font dialog has no colour, so the colour stays as it is; sizes are
// kept to the 6 to 15 points the page's menus offer, and the user is told.
// Only what the user changed in the dialog is set: a mixed selection stays
// mixed in the rest, and bold or italic the dialog could not show stays.
void MainWindow::chooseFont()
{
    QFont initial(m_pageEditor->selFontName().value_or(PageFonts::defaultFamily()));
    initial.setPointSizeF(m_pageEditor->selFontSize().value_or(kMixedFontSize));
    initial.setBold(m_pageEditor->selBold().value_or(false));
    initial.setItalic(m_pageEditor->selItalic().value_or(false));
    initial.setStrikeOut(m_pageEditor->selStrikeThru().value_or(false));
    initial.setUnderline(m_pageEditor->selUnderline().value_or(false));
    std::optional<FontChoice> chosen = FontChoice::ask(initial, this);
    if (!chosen || chosen->isEmpty())
        return;
    if (chosen->family && !CodePage::canEncode(*chosen->family)) {
        m_host.warn(m_host.localizedText(TextId::FontNameNotStorable)
                        .arg(*chosen->family, PageFonts::defaultFamily()));
        chosen->family = PageFonts::defaultFamily();
    }
    if (chosen->pointSize) {
        const double limited = std::clamp(*chosen->pointSize, kSmallestFontSize, kLargestFontSize);
        if (limited != *chosen->pointSize)
            m_host.warn(
                m_host.localizedText(TextId::FontSizeLimited)
                    .arg(QLocale().toString(*chosen->pointSize), QLocale().toString(limited)));
        chosen->pointSize = limited;
    }
    m_pageEditor->asOneEdit([&] {
        if (chosen->bold)
            m_pageEditor->setSelBold(*chosen->bold);
        if (chosen->italic)
            m_pageEditor->setSelItalic(*chosen->italic);
        if (chosen->family)
            m_pageEditor->setSelFontName(*chosen->family);
        if (chosen->pointSize)
            m_pageEditor->setSelFontSize(*chosen->pointSize);
        if (chosen->strikeOut)
            m_pageEditor->setSelStrikeThru(*chosen->strikeOut);
        if (chosen->underline)
            m_pageEditor->setSelUnderline(*chosen->underline);
    });
    showSelectionFormat();
}

void MainWindow::chooseColor()
{
    const QColor initial = WinColor::toQColor(m_pageEditor->selColor().value_or(0), palette());
    QColorDialog dialog(initial, this);
    dialog.setObjectName(QStringLiteral("cdgColor"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pageEditor->setSelColor(WinColor::fromQColor(dialog.selectedColor()));
    showSelectionFormat();
}

void MainWindow::toggleInsertIndicator()
{
    const QString insert = m_host.localizedText(TextId::MainInsert);
    m_statusBar->setIndicatorText(m_statusBar->indicatorText() == insert
                                      ? m_host.localizedText(TextId::MainOverwrite)
                                      : insert);
}

void MainWindow::setPrintSetup(std::unique_ptr<PrintSetup> setup)
{
    m_printSetup = std::move(setup);
}

// The page, or its selection when the user keeps that choice; choosing the
// whole page lets go of the selection, leaving the caret where it began.
void MainWindow::printPage()
{
    const std::optional<PrintSetup::Choice> choice =
        m_printSetup->choose(m_pageEditor->selLength() != 0, this);
    if (!choice)
        return;
    if (!choice->selectionOnly)
        m_pageEditor->setSelLength(0);
    const int jobs = choice->oneJob ? 1 : choice->copies;
    for (int copy = 0; copy < jobs; ++copy) {
        QPrinter* printer = m_printSetup->printer(copy);
        if (m_pageEditor->selPrint(printer, choice->oneJob ? choice->copies : 1))
            continue;
        m_host.warn(m_host.localizedText(TextId::PrintFailed).arg(printerLabel(printer)));
        return;
    }
}

// The open page as the page rules see it; none before a book is shown.
PageMenuRules::Page MainWindow::pageState() const
{
    if (!m_book || !m_book->hasPage(m_current))
        return {};
    return {m_current, m_book->pageCount(), m_display.lastIntPage,
            m_book->page(m_current).kind, m_display.enableSort};
}

void MainWindow::popUpPageMenu(const QPoint& globalPos)
{
    const PageMenuRules::Page page = pageState();
    if (page.current >= 1)
        m_menus->popUpMain(PageMenuRules::forPage(page), globalPos);
}

void MainWindow::popUpEditorMenu(const QPoint& globalPos)
{
    const bool selected = m_pageEditor->selLength() >= 1;
    m_menus->item(QStringLiteral("mnuTextCut"))->setEnabled(selected);
    m_menus->item(QStringLiteral("mnuTextCopy"))->setEnabled(selected);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    m_menus->item(QStringLiteral("mnuTextPaste"))
        ->setEnabled(clipboard && clipboard->hasText() && !clipboard->text().isEmpty());
    m_menus->item(QStringLiteral("mnuTextUndo"))->setEnabled(m_pageEditor->canUndo());
    m_menus->textMenu()->exec(globalPos);
}

void MainWindow::popUpStatusMenu(const QPoint& globalPos)
{
    m_menus->item(QStringLiteral("mnuStatusHideTip"))->setVisible(m_statusBar->isTipShowing());
    m_menus->statusMenu()->exec(globalPos);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    m_statusBar->setStatusText(m_standingStatus);
    m_tabs->unHiliteAll();
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        m_menus->popUpMain(PageMenuRules::forBackground(), event->globalPosition().toPoint());
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// Only the background itself: a double click that a child left alone (the
// marker, the status bar) comes here too, and is not the user's way to the
// options. The tab column passes on only what falls beside or below its
// tabs, which is background.
void MainWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QWidget* under = childAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton &&
        (!under || under == m_frame || under == m_pageHighlight || under == m_tabs)) {
        execute(Command::Options);
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        repaintEditor();
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyPageColor();
    QWidget::changeEvent(event);
}

// The splitter and the marker follow the mouse the same way: a press
// captures it, each move reports how far the pointer has moved from where it
// grabbed the handle (in twips), so the handle keeps its place under the
// pointer; the release lets go and gives the editor its focus back.
bool MainWindow::drag(QMouseEvent* event, QWidget* handle, const std::function<void(int)>& moved,
                      const std::function<void()>& released)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dragging = true;
        m_dragOffset = handle->mapFromGlobal(event->globalPosition().toPoint()).x();
        handle->grabMouse();
        return true;
    case QEvent::MouseMove:
        if (!m_dragging)
            return false;
        moved(static_cast<int>(
            toTwips(handle->mapFromGlobal(event->globalPosition().toPoint()).x() - m_dragOffset)));
        layOut();
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        handle->releaseMouse();
        m_pageEditor->setFocus();
        released();
        return true;
    default:
        return false;
    }
}

bool MainWindow::dragSplitter(QMouseEvent* event)
{
    return drag(
        event, m_topResizer,
        [this](int x) {
            m_display.buttonWidth =
                MainLayout::splitterButtonWidth(static_cast<int>(m_display.buttonWidth), x);
        },
        [this] { Q_EMIT layoutDragged(m_display.buttonWidth, m_display.tabStop); });
}

bool MainWindow::dragMarker(QMouseEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_tabStopAtPress = m_display.tabStop;
    return drag(
        event, m_tabStopMarker,
        [this](int x) {
            const QRect frame(static_cast<int>(toTwips(m_frame->x())),
                              static_cast<int>(toTwips(m_frame->y())),
                              static_cast<int>(toTwips(m_frame->width())),
                              static_cast<int>(toTwips(m_frame->height())));
            m_display.tabStop =
                MainLayout::draggedTabStop(static_cast<int>(m_display.tabStop), x, frame);
        },
        [this] {
            applyTabStops(false);
            // The stops are part of the page: the dropped marker changed it.
            if (m_display.tabStop != m_tabStopAtPress) {
                m_pageEdited = true;
                m_host.pageEdited();
            }
            Q_EMIT layoutDragged(m_display.buttonWidth, m_display.tabStop);
        });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const auto reason = m_systemShutdown ? MainWindowHost::CloseReason::SystemShutdown
                                         : MainWindowHost::CloseReason::User;
    m_systemShutdown = false;
    if (m_host.mainWindowClosing(reason)) {
        event->accept();
        return;
    }
    event->ignore();
}

void MainWindow::closeForShutdown()
{
    m_systemShutdown = true;
    close();
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}
