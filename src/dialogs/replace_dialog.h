#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class QLabel;

// `frmReplace`: asks whether the book file found in the new storage folder is
// replaced by the book, showing the size and the modification time of both.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    // `ReplaceResult`: the button that closed the window.
    enum Result
    {
        Closed = 0, // by the frame or Esc, without a button
        Yes = 1,
        No = 2,
        Cancel = 3
    };

    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    // `NewFile`: the file in the new folder; `OldFile`: the book's file now.
    ReplaceDialog(const QString& NewFile, const QString& OldFile, const TextLookup& text,
                  const FormLocalize& localize, QWidget* owner = nullptr);

    Result ReplaceResult() const { return m_result; }

    // Size and modification time of `path`, as the labels show them.
    static QString describeFile(const QString& path, const TextLookup& text);

private:
    QLabel* addLabel(const char* name, const QString& caption);

    Result m_result = Closed;
};
