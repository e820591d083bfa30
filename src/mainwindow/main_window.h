#pragma once

#include "mainwindow/main_window_host.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class RichTextEdit;

// The notebook window `frmMain`. Its caption is the application title, then
// " - " and the title of the open page.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    QLabel* statusLabel() const { return m_lblStatus; }
    QLabel* tipLabel() const { return m_lblTip; }

    // Shows a page's text in the editor without counting it as an edit.
    void openPage(const QString& title, const QString& text, bool addressPage, int tabStopTwips,
                  bool caretAtEnd);
    void setSavedState(bool saved);
    // Closing for logout or system shutdown: the host saves what it can without asking.
    void closeForShutdown();
    // After a failed save in a closing window, the closing reason is forgotten.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildMenu();
    void buildStatusBar();
    QAction* addMenuAction(const char* name, const QString& caption);

    MainWindowHost& m_host;
    RichTextEdit* m_rtfPage = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblTip = nullptr;
    QLabel* m_imgStatus = nullptr;
    QMenu* m_mnuMain = nullptr;
    bool m_loadingPage = false;
    bool m_systemShutdown = false;
};
