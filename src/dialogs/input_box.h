#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// `frmInputBoxEx`: one line of text asked for with a prompt on the left, the
// text box right of it and OK and Cancel below. The window fits its prompt,
// so a long translation widens it instead of running under the text box.
class InputBoxDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;

    InputBoxDialog(const QString& prompt, const QString& title, const QString& preset,
                   const TextLookup& text, QWidget* owner = nullptr);

    // `Result`: the text box as typed when OK closed the window, else empty.
    const QString& answer() const { return m_result; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();

    QString m_result;
    QLabel* m_promptLabel = nullptr;
    QLineEdit* m_textEdit = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// Asks with a modal `frmInputBoxEx` owned by `owner` and returns the answer
// untrimmed; Cancel, Esc and the window's frame give the empty string, which
// callers (after trimming) take as a request to change nothing.
QString askText(const QString& prompt, const QString& title, const QString& preset, QWidget* owner,
                const InputBoxDialog::TextLookup& text);
