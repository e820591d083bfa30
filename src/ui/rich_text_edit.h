#pragma once

#include "styles/style_target.h"

#include <QTextCursor>
#include <QTextEdit>
#include <functional>
#include <optional>

class QPrinter;
class TextPositionMap;

// The page editor control. Its members carry the names the rest of the program
// uses for the editor; positions are counted on the plain text, where a line
// break is CR LF (two positions) and a picture takes none.
//
// Character attributes of a selection that mixes values read as std::nullopt;
// with nothing selected they are those of the caret, and writing them sets the
// format for further typing. Colours are Windows colour values; the automatic
// colour (no colour of its own) reads as WinColor::windowText, and writing
// WinColor::windowText makes text automatic again.
class RichTextEdit : public QTextEdit, public StyleTarget
{
    Q_OBJECT
public:
    static constexpr int findWholeWord = 2;
    static constexpr int findMatchCase = 4;
    static constexpr int findNoSelect = 8;

    explicit RichTextEdit(QWidget* parent = nullptr);
    ~RichTextEdit() override;

    QString textRTF() const;
    void setTextRTF(const QString& text);
    // The same, with every paragraph given these tab stops (in twips; an
    // empty list removes them) before the text is laid out on the screen, so
    // a large page is laid out once.
    void setTextRTF(const QString& text, const QList<int>& tabStopsTwips);
    QString text() const;

    int selStart() const;
    void setSelStart(int start);
    int selLength() const;
    void setSelLength(int length);

    std::optional<bool> selBold() const;
    void setSelBold(bool on) override;
    std::optional<bool> selItalic() const;
    void setSelItalic(bool on) override;
    std::optional<bool> selUnderline() const;
    void setSelUnderline(bool on) override;
    std::optional<bool> selStrikeThru() const;
    void setSelStrikeThru(bool on) override;
    std::optional<quint32> selColor() const;
    void setSelColor(quint32 winColor) override;
    std::optional<QString> selFontName() const;
    void setSelFontName(const QString& name) override;
    std::optional<double> selFontSize() const;
    void setSelFontSize(double points) override;

    // Tab stops of the paragraphs the selection touches; reading looks at the
    // first of them. An index without a stop reads as 0.
    int selTabCount() const;
    void setSelTabCount(int count);
    int selTabs(int index) const;
    void setSelTabs(int index, int twips);

    quint32 backColor() const;
    void setBackColor(quint32 winColor);

    // Start of the first match inside [first, last) of the plain text, or -1;
    // last = -1 searches to the end. Unless findNoSelect is given the match
    // becomes the selection.
    int findText(const QString& sample, int first, int last = -1, int options = 0);
    // The selection, or everything when nothing is selected, as one job,
    // `copies` times, each copy starting on a page of its own. False when the
    // printer did not take the job (no printer, a file that cannot be
    // written, a failed driver).
    bool selPrint(QPrinter* printer, int copies = 1) const;

    // The page's one-step undo: it reaches back exactly one change (one
    // keystroke), and undoing again brings that change back. Loading a text
    // leaves nothing to undo.
    // The whole text becomes `plain` in the page's default look, keeping the
    // first paragraph's tab stops for all, as one change that one Undo takes
    // back whole.
    void replaceAllText(const QString& plain);
    // Everything `work` changes counts as one change: one Change signal and
    // one step for Undo.
    void asOneEdit(const std::function<void()>& work);
    // The same for an edit that adds much text (a whole file's entries): the
    // page is laid out again from its top a few pieces at a time, as a loaded
    // page is, instead of all at once before the window answers again.
    void asOneLargeEdit(const std::function<void()>& work);
    // The cursor at a document position, its line at the top of the view;
    // only the text above it is laid out for that.
    void showAtTop(int position);
    void undoEdit();
    // Where the book keeps its pages as Windows-1251 text: a key or a paste
    // that would add a character without a code there is refused (Refused
    // names the characters) and the page stays as it is.
    void setCodePageOnly(bool on) { m_codePageOnly = on; }
    bool canUndo() const { return m_undoState != UndoState::Nothing; }
    void clearUndo();

public Q_SLOTS:
    // Carried out once the current event has been handled, like a posted
    // window message.
    void postCut();
    void postCopy();
    void postPaste();
    void postClear();

Q_SIGNALS:
    void change();
    void selChange();
    // Connect with Qt::DirectConnection; setting keyCode (a Qt::Key) to 0 keeps
    // the key from the control. shift holds Shift, Control and Alt only.
    void keyDown(int& keyCode, Qt::KeyboardModifiers shift);
    void overwriteModeToggled(bool overwrite);
    void refused(const QString& characters);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A style is one edit: one Change signal and one step for Undo, also
    // when it changes nothing.
    void beginApply() override;
    void endApply() override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    enum class UndoState
    {
        Nothing,
        CanUndo,
        CanRedo
    };

    // True, with Refused emitted, when `text` holds a character the page cannot keep.
    bool refuses(const QString& text);
    void onContentsChanged();
    void changed();
    void load(const std::function<void(QTextDocument&)>& read);
    void adopt(QTextDocument* fresh);
    void onCursorMoved();
    void changeContent(const std::function<void()>& work, bool alwaysNotify);
    void selectText(int start, int length);
    void applyCharFormat(const std::function<void(QTextCharFormat&)>& edit);
    void applyTabs(const std::function<void(QList<QTextOption::Tab>&)>& edit);
    QList<QTextBlock> selectedBlocks() const;
    const QString& plainText() const;
    void resetCaret();

    TextPositionMap* m_positions;
    quint32 m_backColor;
    int m_changeDepth = 0;
    QTextCursor m_styleStep;
    bool m_changePending = false;
    int m_lastAnchor = -1;
    int m_lastPosition = -1;
    mutable QString m_plainText;
    mutable bool m_plainTextKnown = false;
    UndoState m_undoState = UndoState::Nothing;
    bool m_codePageOnly = false;
    bool m_undoing = false;
};
