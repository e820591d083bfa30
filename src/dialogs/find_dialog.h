#pragma once

#include "core/built_in_text.h"
#include "document/search_walk.h"

#include <QDialog>
#include <functional>

class MessageService;
class QCheckBox;
class SearchTarget;
class CueTextBox;

// `frmFind`: searches the book for a sample and selects one match per press
// of "find next" in the page editor. It is modeless, so the user goes on
// editing while it is open, and it deletes itself when closed: the next one
// starts afresh from the caret. The target and the message service must
// outlive it (its owner window is the usual keeper of both).
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    FindDialog(SearchTarget& target, MessageService& messages, TextLookup text,
               const FormLocalize& localize, QWidget* parent = nullptr);

    // Shows the window, or brings it forward when it is already open; the
    // sample, the options and where the search goes on stay as they were.
    void bringForward();
    // The page list changed (pages added, deleted, moved, sorted, the book
    // reverted): the start page may be gone, so the search starts afresh
    // from the caret.
    void pageListChanged();

private:
    void onFind();
    void showEnterSomething();
    int options() const;

    SearchWalk m_walk;
    MessageService& m_messages;
    TextLookup m_text;
    CueTextBox* m_whatEdit = nullptr;
    QCheckBox* m_wholeWordCheck = nullptr;
    QCheckBox* m_matchCaseCheck = nullptr;
    QCheckBox* m_allPagesCheck = nullptr;
    QCheckBox* m_yoCheck = nullptr;
    QCheckBox* m_digitsCheck = nullptr;
};
