#pragma once

#include "core/app_error.h"
#include "core/built_in_text.h"

#include <QWidget>
#include <functional>
#include <optional>

class MessageService;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class Style;
class Styles;
struct StyleFont;
class QAction;

// `Picture7`, the styles page of `frmOptions`: the list `lstStyles` mirrors
// the style collection entry by entry, the first ten entries carrying the
// Ctrl+digit that applies them, and every command changes the collection at
// once, so a change outlives a Cancel of the dialog.
class StylesPage : public QWidget
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    StylesPage(Styles& styles, MessageService& messages, TextLookup text, FormLocalize localize,
               QWidget* parent = nullptr);

    // One entry per style, none selected.
    void fillList();
    // "Ctrl+1" ... "Ctrl+9", "Ctrl+0" before the first ten entries, nothing
    // before the others.
    void updateStyleShortcuts();
    // The page's background colour, on which the sample is drawn.
    void setSampleBackground(const QColor& color);

private:
    int selectedIndex() const;
    Style* selectedStyle();
    void select(int index);
    void showChosenStyle();
    void newStyle();
    void renameStyle();
    void chooseFont();
    void chooseColor();
    void toggleAttribute(bool StyleFont::*attribute);
    void editMask();
    void deleteStyle();
    void moveStyle(int by);
    // The trimmed answer, or nothing when the user cancelled, typed only
    // spaces or a name the style file cannot keep (and was told why).
    std::optional<QString> askName(TextId prompt, TextId title, const QString& preset);
    void warn(const AppError& error);

    Styles& m_styles;
    MessageService& m_messages;
    TextLookup m_text;
    FormLocalize m_localize;
    QListWidget* m_styleList = nullptr;
    QWidget* m_styleSample = nullptr;
    QLabel* m_styleLabel = nullptr;
    QPushButton* m_editStyleButton = nullptr;
    QPushButton* m_deleteStyleButton = nullptr;
    QPushButton* m_moveStyleUpButton = nullptr;
    QPushButton* m_moveStyleDownButton = nullptr;
    QMenu* m_editStyleMenu = nullptr;
    QAction* m_editStyleBoldAction = nullptr;
    QAction* m_editStyleItalicAction = nullptr;
};
