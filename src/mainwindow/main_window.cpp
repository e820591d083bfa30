#include "mainwindow/main_window.h"

#include "core/app_info.h"
#include "core/built_in_text.h"
#include "ui/rich_text_edit.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace {

constexpr int kAddressTabTwips = 300;
constexpr int kMarkerOffsetTwips = 75;
constexpr int kPastTheEnd = 10;

} // namespace

MainWindow::MainWindow(MainWindowHost& host, QWidget* parent) : QMainWindow(parent), m_host(host)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::title());
    m_rtfPage = new RichTextEdit(this);
    m_rtfPage->setObjectName(QStringLiteral("rtfPage"));
    setCentralWidget(m_rtfPage);
    connect(m_rtfPage, &RichTextEdit::Change, this, [this] {
        if (!m_loadingPage)
            m_host.pageEdited(m_rtfPage->TextRTF());
    });
    buildMenu();
    buildStatusBar();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addMenuAction(const char* name, const QString& caption)
{
    QAction* action = m_mnuMain->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    addAction(action);
    return action;
}

void MainWindow::buildMenu()
{
    m_mnuMain = new QMenu(this);
    m_mnuMain->setObjectName(QStringLiteral("mnuMain"));
    QAction* save = addMenuAction("mnuMainSave", BuiltInTexts::text(TextId::MainSave));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { m_host.saveCommand(); });
    QAction* revert = addMenuAction("mnuMainRevert", BuiltInTexts::text(TextId::MainRevert));
    connect(revert, &QAction::triggered, this, [this] { m_host.revertCommand(); });
    m_mnuMain->addSeparator()->setObjectName(QStringLiteral("mnuMainSep5"));
    QAction* exit = addMenuAction("mnuMainExit", BuiltInTexts::text(TextId::MainExit));
    exit->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(exit, &QAction::triggered, this, [this] { m_host.exitCommand(); });
}

void MainWindow::buildStatusBar()
{
    m_imgStatus = new QLabel(this);
    m_imgStatus->setObjectName(QStringLiteral("imgStatus"));
    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblTip = new QLabel(BuiltInTexts::text(TextId::MainTipPlaceholder), this);
    m_lblTip->setObjectName(QStringLiteral("lblTip"));
    m_lblTip->setVisible(false);
    statusBar()->setObjectName(QStringLiteral("picStatus"));
    statusBar()->addWidget(m_imgStatus);
    statusBar()->addWidget(m_lblStatus, 1);
    statusBar()->addWidget(m_lblTip, 1);
    setSavedState(true);
}

void MainWindow::openPage(const QString& title, const QString& text, bool addressPage,
                          int tabStopTwips, bool caretAtEnd)
{
    setWindowTitle(AppInfo::title() + QStringLiteral(" - ") + title);
    m_loadingPage = true;
    m_rtfPage->setTextRTF(text);
    m_rtfPage->setSelStart(0);
    m_rtfPage->setSelLength(m_rtfPage->Text().size());
    if (addressPage) {
        m_rtfPage->setSelTabCount(2);
        m_rtfPage->setSelTabs(0, kAddressTabTwips);
        m_rtfPage->setSelTabs(1, tabStopTwips - kMarkerOffsetTwips);
    }
    m_rtfPage->setSelStart(caretAtEnd ? m_rtfPage->Text().size() + kPastTheEnd : 0);
    m_rtfPage->setSelLength(0);
    m_loadingPage = false;
}

void MainWindow::setSavedState(bool saved)
{
    // Until the status pictures arrive, a word says what the icon will show.
    m_imgStatus->setText(saved ? QStringLiteral("✓") : QStringLiteral("✎"));
    m_imgStatus->setToolTip(
        m_host.localizedText(saved ? TextId::MainSavedTip : TextId::MainUnsavedTip));
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

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    m_mnuMain->popup(event->globalPos());
}
