#pragma once

#include "core/built_in_text.h"
#include "document/help_document.h"
#include "rules/form_position.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>

class HelpCopyButton;
class MessageService;
class QComboBox;
class QFrame;
class RichTextEdit;
class SettingsStore;

// `frmHelp`: the list of help topics `cboContents` and the text of the chosen
// one in `rtfHelp`, with the copy button `imgCopy`. The help is read once,
// when the window is made; help files that cannot be read give the
// "HelpFailure" message and no window at all. The window remembers its
// placement like the main window.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;

    struct Setup
    {
        QString topicListPath; // the program folder, the program's name, ".hlp"
        QColor highlightColor;
        QColor highlightShadowColor;
        TextLookup text;
        SettingsStore* placement = nullptr; // where the window's placement is kept
        MessageService* messages = nullptr;
    };

    // The main window's help: a window owned by `owner`, shown without
    // blocking it, on the first topic; it deletes itself when closed. Null,
    // after the message, when the help cannot be read.
    static HelpWindow* showModeless(const Setup& setup, QWidget* owner);
    // The options dialog's help: a window of its own on topic `topic` (from
    // 0; the dialog's page + 7), modal over `owner`, gone when it returns.
    static void showModal(const Setup& setup, QWidget* owner, int topic);

    void selectTopic(int index);
    int currentTopic() const;

public Q_SLOTS:
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    HelpWindow(const Setup& setup, HelpDocument help, QWidget* owner);

    static std::optional<HelpDocument> loadHelpFile(const Setup& setup);
    void buildControls(const Setup& setup);
    FormPosition firstPlacement() const;
    void showTopic(int index);
    void layOut();

    HelpDocument m_help;
    SettingsStore* m_placement;
    QComboBox* m_contentsCombo = nullptr;
    HelpCopyButton* m_copyButton = nullptr;
    QFrame* m_frame = nullptr;
    RichTextEdit* m_helpEditor = nullptr;
};
