#include "shell/notebook_commands.h"

#include "app/book_session.h"
#include "app/command_handlers.h"
#include "app/notices.h"
#include "core/options.h"
#include "dialogs/about_dialog.h"
#include "dialogs/find_dialog.h"
#include "mainwindow/main_window.h"
#include "styles/styles.h"
#include "ui/form_localizer.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWindow>
#include <vector>

NotebookCommands::~NotebookCommands() = default;

void NotebookCommands::bind(CommandHandlers& handlers)
{
    handlers.bind(Command::Save, [this] { save(); });
    handlers.bind(Command::Revert, [this] { revert(); });
    handlers.bind(Command::Exit, [this] { exit(); });
    handlers.bind(Command::Find, [this] { find(); });
    handlers.bind(Command::Help, [this] { help(); });
    handlers.bind(Command::About, [this] { about(); });
    handlers.bind(Command::HideStatusBar, [this] { hideStatusBar(); });
    handlers.bindWithArgument(Command::OpenPage,
                              [this](int page) { m_parts.session.selectPage(page); });
    handlers.bindWithArgument(Command::ApplyStyle, [this](int index) { applyStyle(index); });
}

// The windows on the screen, not every widget there is: a large book's window
// holds many, and each would be looked at as the program ends.
void NotebookCommands::closeOtherWindows(const QWidget* notebook)
{
    std::vector<QPointer<QWidget>> windows;
    for (QWindow* shown : QGuiApplication::topLevelWindows()) {
        if (shown->isVisible())
            windows.emplace_back(QWidget::find(shown->winId()));
    }
    for (QWidget* window : windows) {
        if (!window || window == notebook || !window->isVisible())
            continue;
        // A question without a cancelling button would refuse to close.
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
    }
}

void NotebookCommands::pageListChanged()
{
    if (m_find)
        m_find->pageListChanged();
}

QString NotebookCommands::text(TextId id) const
{
    return m_parts.notices.text(id);
}

void NotebookCommands::save()
{
    m_parts.session.claimAndSave();
}

// Asked once, and only when edits would be lost.
void NotebookCommands::revert()
{
    m_parts.session.flushOpenPage();
    const int unsaved = m_parts.session.storage().unsavedPageCount();
    if (unsaved > 0 && !m_parts.notices.messages().askDefaultNo(
                           text(TextId::RevertConfirm).arg(QString::number(unsaved))))
        return;
    m_parts.session.revert();
}

void NotebookCommands::exit()
{
    closeOtherWindows(&m_parts.window);
    m_parts.window.close();
}

void NotebookCommands::find()
{
    if (!m_find) {
        m_find = new FindDialog(
            m_parts.window, m_parts.messages, [this](TextId id) { return text(id); },
            [this](QWidget* form) { FormLocalizer::localize(form, m_parts.localization); },
            &m_parts.window);
    }
    m_find->bringForward();
}

void NotebookCommands::help()
{
    if (m_help) {
        if (m_help->isMinimized())
            m_help->showNormal();
        m_help->raise();
        m_help->activateWindow();
        return;
    }
    m_help = HelpWindow::showModeless(m_parts.helpSetup(), &m_parts.window);
}

void NotebookCommands::about()
{
    AboutDialog::showAbout(
        &m_parts.window, [this](TextId id) { return text(id); },
        [this](QWidget* form) { FormLocalizer::localize(form, m_parts.localization); },
        m_parts.messages, m_parts.log);
}

void NotebookCommands::applyStyle(int index)
{
    if (const Style* style = m_parts.styles.item(index))
        m_parts.window.applyStyle(*style);
}

void NotebookCommands::hideStatusBar()
{
    m_parts.options.status = false;
    m_parts.session.rebuildTabs();
}
