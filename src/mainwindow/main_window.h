#pragma once

#include "document/search_target.h"
#include "mainwindow/main_window_host.h"
#include "rules/form_position.h"
#include "rules/page_keys.h"
#include "rules/page_menu_rules.h"
#include "ui/book_view.h"

#include <QWidget>
#include <functional>
#include <memory>

class Book;
class MainMenus;
class PrintSetup;
class QFrame;
class QTextDocument;
class RichTextEdit;
class Style;
class StatusTipBar;
class TabColumn;
struct PageRecord;

// The notebook window `frmMain`: the page editor `rtfPage` in its frame, the
// column of page tabs down the right edge, the tab-stop marker of address
// pages and the status bar. It owns no book logic: the application tells it
// what to show through the intent-level members below and hears back through
// MainWindowHost. All geometry is computed in twips by MainLayout and turned
// into pixels in layOut() alone.
class MainWindow : public QWidget, public SearchTarget, public BookView
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // BookView
    QWidget* dialogParent() override { return this; }
    void rebuildTabs(const Book& book, const Display& display) override;
    void showPage(const PageRecord& page, int index) override;
    bool takePageEdits(QString& richText) override;
    void dropPageEdits() override;
    QString pageText() const override;
    QFont pageFont() const override;
    void replacePageText(const QString& plain) override;
    void appendEntries(const QString& entries) override;
    void editOpenPage(const std::function<void(QTextDocument&)>& edit) override;
    void setSavedState(bool saved) override;
    void showStatusText(const QString& text) override;
    void showNotice(const QString& text) override;
    void showStyleNames(const QStringList& names) override;
    double tabStopTwips() const override { return m_display.tabStop; }

    void showTip(const QString& text);
    void endTip();
    bool isTipShowing() const;
    // The size and colour submenus, made at start-up.
    void buildSizeAndColorMenus(const QStringList& colorCaptions);
    double buttonWidthTwips() const { return m_display.buttonWidth; }
    void repaintEditor();
    // The style goes onto the page editor's selection as one edit.
    void applyStyle(const Style& style);

    // SearchTarget: the find window searches the book through the window, so
    // the open page is searched as the user left it.
    int pageCount() const override;
    int currentPage() const override { return m_current; }
    int selStart() const override;
    QString pageText(int page) const override;
    void selectPage(int page) override { m_host.runCommand(Command::OpenPage, page); }
    int findText(const QString& sample, int first, int last, int options) override;
    // Where print jobs go: Qt's print dialog unless another setup is put in.
    void setPrintSetup(std::unique_ptr<PrintSetup> setup);

    // Carries out a command of a key, a menu item or a tab: the window's own
    // (the editor, printing, the popups), the rest through the host.
    void execute(Command command, int argument = 0);

    // Closing for logout or system shutdown: the host saves what it can without asking.
    void closeForShutdown();
    void bringToFront();
    // Where a first start opens, nothing being stored: centred on the screen,
    // the page 80 average characters of its font wide, every tab in view.
    FormPosition firstPlacement() const;

    RichTextEdit* editor() const { return m_pageEditor; }
    TabColumn* tabColumn() const { return m_tabs; }
    StatusTipBar* statusBar() const { return m_statusBar; }
    MainMenus* menus() const { return m_menus; }

Q_SIGNALS:
    // The user dragged the splitter or the tab-stop marker; a marker that
    // moved has changed the open page as well.
    void layoutDragged(double buttonWidthTwips, double tabStopTwips);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void nameControls();
    void connectMenus();
    void connectTabs();
    void layOut();
    bool windowKey(QKeyEvent* event);
    bool editorKey(QKeyEvent* event);
    void applyTabStops(bool textPage);
    QList<int> tabStops(bool textPage) const;
    PageMenuRules::Page pageState() const;
    void popUpPageMenu(const QPoint& globalPos);
    void popUpEditorMenu(const QPoint& globalPos);
    void popUpStatusMenu(const QPoint& globalPos);
    void toggleInsertIndicator();
    void printPage();
    // The formatting menu's check marks follow the selection.
    void showSelectionFormat();
    void toggle(std::optional<bool> (RichTextEdit::*get)() const, void (RichTextEdit::*set)(bool));
    void chooseFont();
    void chooseColor();
    void applyPageColor();
    bool drag(QMouseEvent* event, QWidget* handle, const std::function<void(int)>& moved,
              const std::function<void()>& released);
    bool dragSplitter(QMouseEvent* event);
    bool dragMarker(QMouseEvent* event);
    int toPixels(double twips) const;
    double toTwips(int pixels) const;
    int pixelSize() const;

    MainWindowHost& m_host;
    Display m_display;
    const Book* m_book = nullptr;
    int m_current = 0;
    RichTextEdit* m_pageEditor = nullptr;
    QFrame* m_frame = nullptr;
    QWidget* m_pageHighlight = nullptr;
    QWidget* m_whiteLine = nullptr;
    QWidget* m_topResizer = nullptr;
    QWidget* m_bottomResizer = nullptr;
    QWidget* m_tabStopMarker = nullptr;
    TabColumn* m_tabs = nullptr;
    StatusTipBar* m_statusBar = nullptr;
    MainMenus* m_menus = nullptr;
    std::unique_ptr<PrintSetup> m_printSetup;
    bool m_loadingPage = false;
    bool m_pageEdited = false;
    bool m_textPage = false;
    bool m_systemShutdown = false;
    bool m_iconGiven = false;
    bool m_dragging = false;
    double m_tabStopAtPress = 0;
    int m_dragOffset = 0; // pixels from the handle's left edge to where it was grabbed
    QString m_standingStatus;
};
