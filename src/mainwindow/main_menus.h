#pragma once

#include "core/built_in_text.h"
#include "rules/page_menu_rules.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

// What the text menu marks for the selection; an empty value (a mixed
// selection, or a colour outside the palette) marks no item.
struct TextMarks
{
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<bool> strikeout;
    std::optional<int> points;
    // 0 to 15; the automatic colour is never marked, as it is no palette colour.
    std::optional<int> paletteColor;
};

// The three popup menus of `frmMain`: `mnuMain` (the book and the page),
// `mnuText` (the editor) and `mnuStatus` (the status bar). Items carry their
// object names, so "language.ini" and the tests find them.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    using Caption = std::function<QString(TextId)>;

    MainMenus(QWidget* window, const Caption& caption);

    QMenu* mainMenu() const { return m_mainMenu; }
    QMenu* textMenu() const { return m_textMenu; }
    QMenu* statusMenu() const { return m_statusMenu; }
    QAction* item(const QString& name) const;

    // The items 1 to 7 of `mnuTextSizes` and 1 to 17 of `mnuTextColorS`, with
    // the captions of their own rules: point sizes, and the colour names
    // `colorCaption` gives for -1 to 15.
    void buildSizeAndColorItems(const QStringList& colorCaptions);
    // The items of `mnuTextStyles`: element 0 "(пусто)", disabled, shown only
    // when there is no style; then one per style in collection order.
    void setStyleNames(const QStringList& names);
    // Called on every move of the cursor, so it looks nothing up by name.
    void markText(const TextMarks& marks);

    // Pops `mnuMain` up with the page commands a rule allows and its default
    // item in bold; afterwards every page command is back for the next route.
    void popUpMain(const PageMenuRules::State& rules, const QPoint& globalPos);
    void setEnableSort(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void sizeChosen(int points);
    // -1 for the automatic colour, else the palette colour 0 to 15.
    void colorChosen(int index);
    // The style number from 1.
    void styleChosen(int index);
    void otherColorRequested();

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption);
    QAction* command(QMenu* menu, const char* name);
    void addSeparator(QMenu* menu, const char* name);
    QMenu* submenu(QMenu* menu, const char* name, const QString& caption);
    void apply(const PageMenuRules::State& rules);
    void buildMain();
    void buildText();
    void buildStatus();

    QWidget* m_window;
    Caption m_caption;
    QMenu* m_mainMenu = nullptr;
    QMenu* m_textMenu = nullptr;
    QMenu* m_statusMenu = nullptr;
    QMenu* m_textSizeMenu = nullptr;
    QMenu* m_textColorMenu = nullptr;
    QMenu* m_textStyleMenu = nullptr;
    // Bold, italic, underline and strikeout.
    std::array<QAction*, 4> m_fontStyleItems{};
    QList<QAction*> m_sizeItems;
    QList<QAction*> m_colorItems;
    QString m_emptyStyles;
    QString m_colorOtherCaption;
    bool m_enableSort = false;
};
