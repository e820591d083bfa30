#pragma once

#include "dialogs/help_window.h"

#include <QPointer>
#include <functional>

class BookSession;
class CommandHandlers;
class EventLog;
class FindDialog;
class Localization;
class MainWindow;
class MessageService;
class Notices;
class Styles;
struct Options;

// The commands of the notebook as a whole: save, revert, exit, find, help,
// about, opening a page, applying a style and hiding the status bar. It owns
// the windows they open beside the notebook.
class NotebookCommands
{
public:
    struct Parts
    {
        BookSession& session;
        MainWindow& window;
        Notices& notices;
        MessageService& messages;
        Localization& localization;
        EventLog& log;
        Options& options;
        const Styles& styles;
        std::function<HelpWindow::Setup()> helpSetup;
    };

    explicit NotebookCommands(Parts parts) : m_parts(std::move(parts)) {}
    ~NotebookCommands();

    void bind(CommandHandlers& handlers);

    // The notebook's one help window, while it is open.
    HelpWindow* helpWindow() const { return m_help; }
    // Every window but the notebook closes; a question is cancelled.
    static void closeOtherWindows(const QWidget* notebook);
    // The page list changed under the find window.
    void pageListChanged();

private:
    void save();
    void revert();
    void exit();
    void find();
    void help();
    void about();
    void applyStyle(int index);
    void hideStatusBar();
    QString text(TextId id) const;

    Parts m_parts;
    QPointer<HelpWindow> m_help;
    QPointer<FindDialog> m_find;
};
