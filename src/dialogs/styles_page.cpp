#include "dialogs/styles_page.h"

#include "core/message_service.h"
#include "core/text_fill.h"
#include "dialogs/input_box.h"
#include "dialogs/style_mask_dialog.h"
#include "richtext/win_color.h"
#include "styles/styles.h"
#include "ui/font_choice.h"
#include "ui/form_localizer.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kShortcutCount = 10;
constexpr double kSmallestSize = 6;
constexpr double kLargestSize = 15;

// An entry is its shortcut, a tab and the name; the names line up in a
// column right of the widest shortcut, as the list control set its tab stop.
class ShortcutRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString row = item.text;
        item.text.clear();
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        const int column = item.fontMetrics.horizontalAdvance(QStringLiteral("Ctrl+0   "));
        const bool selected = item.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, row.section(u'\t', 0, 0));
        painter->drawText(text.adjusted(column, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          row.section(u'\t', 1));
        painter->restore();
    }
};

QString entryText(const Style& style)
{
    return u'\t' + style.name();
}

QPushButton* button(QWidget* parent, const char* name, TextId caption)
{
    auto* button = new QPushButton(BuiltInTexts::text(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

StylesPage::StylesPage(Styles& styles, MessageService& messages, TextLookup text,
                       FormLocalize localize, QWidget* parent)
    : QWidget(parent), m_styles(styles), m_messages(messages), m_text(std::move(text)),
      m_localize(std::move(localize))
{
    auto* stylesLabel = new QLabel(BuiltInTexts::text(TextId::OptionsStyles), this);
    stylesLabel->setObjectName(QStringLiteral("lblStyles"));
    m_styleList = new QListWidget(this);
    m_styleList->setObjectName(QStringLiteral("lstStyles"));
    m_styleList->setItemDelegate(new ShortcutRowDelegate(m_styleList));
    stylesLabel->setBuddy(m_styleList);
    FormLocalizer::nameByLabel(stylesLabel);
    auto* styleSampleLabel = new QLabel(BuiltInTexts::text(TextId::OptionsStyleSample), this);
    styleSampleLabel->setObjectName(QStringLiteral("lblStyleSample"));
    m_styleSample = new QWidget(this);
    m_styleSample->setObjectName(QStringLiteral("picStyleSample"));
    m_styleSample->setAutoFillBackground(true);
    m_styleSample->setMinimumHeight(48);
    m_styleLabel = new QLabel(m_styleSample);
    m_styleLabel->setObjectName(QStringLiteral("lblStyle"));
    m_styleLabel->setTextFormat(Qt::PlainText);
    auto* sample = new QVBoxLayout(m_styleSample);
    sample->addWidget(m_styleLabel, 0, Qt::AlignCenter);

    QPushButton* newStyleButton = button(this, "cmdNewStyle", TextId::OptionsNewStyle);
    m_editStyleButton = button(this, "cmdEditStyle", TextId::OptionsEditStyle);
    m_deleteStyleButton = button(this, "cmdDeleteStyle", TextId::OptionsDeleteStyle);
    m_moveStyleUpButton = button(this, "cmdMoveUpStyle", TextId::OptionsMoveUpStyle);
    m_moveStyleDownButton = button(this, "cmdMoveDownStyle", TextId::OptionsMoveDownStyle);

    m_editStyleMenu = new QMenu(this);
    m_editStyleMenu->setObjectName(QStringLiteral("mnuEditStyle"));
    const auto item = [this](const char* name, TextId caption,
                             const std::function<void()>& command) {
        QAction* action = m_editStyleMenu->addAction(BuiltInTexts::text(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    item("mnuEditStyleName", TextId::OptionsEditStyleName, [this] { renameStyle(); });
    item("mnuEditStyleFont", TextId::OptionsEditStyleFont, [this] { chooseFont(); });
    m_editStyleBoldAction = item("mnuEditStyleBold", TextId::OptionsEditStyleBold,
                                 [this] { toggleAttribute(&StyleFont::bold); });
    m_editStyleItalicAction = item("mnuEditStyleItalic", TextId::OptionsEditStyleItalic,
                                   [this] { toggleAttribute(&StyleFont::italic); });
    m_editStyleBoldAction->setCheckable(true);
    m_editStyleItalicAction->setCheckable(true);
    item("mnuEditStyleUnused", TextId::OptionsEditStyleUnused, [this] { editMask(); });
    // Qt's font dialog has no colour field: the colour has an item of its own.
    item("mnuEditStyleColor", TextId::OptionsEditStyleColor, [this] { chooseColor(); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(stylesLabel, 0, 0);
    grid->addWidget(m_styleList, 1, 0, 5, 1);
    grid->addWidget(newStyleButton, 1, 1);
    grid->addWidget(m_editStyleButton, 2, 1);
    grid->addWidget(m_deleteStyleButton, 3, 1);
    grid->addWidget(m_moveStyleUpButton, 4, 1, Qt::AlignTop);
    grid->addWidget(m_moveStyleDownButton, 5, 1, Qt::AlignTop);
    grid->addWidget(styleSampleLabel, 6, 0, 1, 2);
    grid->addWidget(m_styleSample, 7, 0, 1, 2);

    connect(m_styleList, &QListWidget::itemSelectionChanged, this, &StylesPage::showChosenStyle);
    connect(newStyleButton, &QPushButton::clicked, this, &StylesPage::newStyle);
    connect(m_editStyleButton, &QPushButton::clicked, this, [this] {
        m_editStyleMenu->exec(
            m_editStyleButton->mapToGlobal(m_editStyleButton->rect().bottomLeft()));
    });
    connect(m_deleteStyleButton, &QPushButton::clicked, this, &StylesPage::deleteStyle);
    connect(m_moveStyleUpButton, &QPushButton::clicked, this, [this] { moveStyle(-1); });
    connect(m_moveStyleDownButton, &QPushButton::clicked, this, [this] { moveStyle(1); });
}

void StylesPage::fillList()
{
    m_styleList->clear();
    for (const Style& style : m_styles)
        m_styleList->addItem(entryText(style));
    updateStyleShortcuts();
    select(-1);
}

void StylesPage::updateStyleShortcuts()
{
    for (int k = 0; k < m_styleList->count(); ++k) {
        QListWidgetItem* entry = m_styleList->item(k);
        const QString rest = entry->text().mid(entry->text().indexOf(u'\t'));
        const QString prefix = k < kShortcutCount
                                   ? QStringLiteral("Ctrl+") + QString::number((k + 1) % 10)
                                   : QString();
        entry->setText(prefix + rest);
    }
}

void StylesPage::setSampleBackground(const QColor& color)
{
    QPalette palette = m_styleSample->palette();
    palette.setColor(QPalette::Window, color);
    m_styleSample->setPalette(palette);
}

int StylesPage::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = m_styleList->selectedItems();
    return selected.isEmpty() ? -1 : m_styleList->row(selected.constFirst());
}

Style* StylesPage::selectedStyle()
{
    const int index = selectedIndex();
    return index < 0 ? nullptr : m_styles.item(index + 1);
}

void StylesPage::select(int index)
{
    if (index < 0) {
        m_styleList->clearSelection();
        m_styleList->setCurrentRow(-1);
    } else {
        m_styleList->setCurrentRow(index);
    }
    showChosenStyle();
}

// The sample shows the selected style's name in its font and colour, whatever
// its mask; the buttons offer what the selection allows.
void StylesPage::showChosenStyle()
{
    const int index = selectedIndex();
    const Style* style = selectedStyle();
    m_styleLabel->clear();
    if (style) {
        QFont font(style->font().name);
        font.setPointSizeF(style->font().size);
        font.setBold(style->font().bold);
        font.setItalic(style->font().italic);
        font.setUnderline(style->font().underline);
        font.setStrikeOut(style->font().strikeThru);
        m_styleLabel->setFont(font);
        QPalette palette = m_styleLabel->palette();
        palette.setColor(QPalette::WindowText, WinColor::toQColor(style->color(), palette));
        m_styleLabel->setPalette(palette);
        m_styleLabel->setText(style->name());
    }
    m_editStyleBoldAction->setChecked(style && style->font().bold);
    m_editStyleItalicAction->setChecked(style && style->font().italic);
    m_editStyleButton->setEnabled(index >= 0);
    m_deleteStyleButton->setEnabled(index >= 0);
    m_moveStyleUpButton->setEnabled(index > 0);
    m_moveStyleDownButton->setEnabled(index >= 0 && index < m_styleList->count() - 1);
}

std::optional<QString> StylesPage::askName(TextId prompt, TextId title, const QString& preset)
{
    const QString name = askText(m_text(prompt), m_text(title), preset, window(), m_text).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    if (const std::optional<AppError> problem = Styles::checkName(name)) {
        warn(*problem);
        return std::nullopt;
    }
    return name;
}

void StylesPage::warn(const AppError& error)
{
    m_messages.show(TextFill::fill(error.text ? m_text(*error.text) : error.description, error.args),
                    MessageService::Icon::Exclamation);
}

void StylesPage::newStyle()
{
    const std::optional<QString> name =
        askName(TextId::NewStyleNamePrompt, TextId::NewStyle, m_text(TextId::NewStyleDef));
    if (!name)
        return;
    Style style;
    style.setName(*name);
    m_styles.add(style);
    m_styleList->addItem(entryText(style));
    updateStyleShortcuts();
    select(m_styleList->count() - 1);
}

void StylesPage::renameStyle()
{
    Style* style = selectedStyle();
    if (!style)
        return;
    const std::optional<QString> name =
        askName(TextId::EditStyleNamePrompt, TextId::CommonRename, style->name());
    if (!name)
        return;
    style->setName(*name);
    m_styleList->item(selectedIndex())->setText(entryText(*style));
    updateStyleShortcuts();
    showChosenStyle();
}

// Sizes are kept to the 6 to 15 points the style's font may have; Qt's font
// dialog offers any size, so a size outside them is said to be limited. What
// the user left as the dialog showed it stays as the style had it: a bold or
// italic the face lacks in the dialog is the style's own.
void StylesPage::chooseFont()
{
    Style* style = selectedStyle();
    if (!style)
        return;
    StyleFont font = style->font();
    QFont initial(font.name);
    initial.setPointSizeF(std::clamp(font.size, kSmallestSize, kLargestSize));
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    initial.setUnderline(font.underline);
    initial.setStrikeOut(font.strikeThru);
    const std::optional<FontChoice> chosen = FontChoice::ask(initial, window());
    if (!chosen)
        return;
    font.name = chosen->family.value_or(font.name);
    if (const std::optional<AppError> problem = Styles::checkFaceName(font.name)) {
        warn(*problem);
        font.name = StyleFont::defaultName();
    }
    if (chosen->pointSize) {
        font.size = std::clamp(*chosen->pointSize, kSmallestSize, kLargestSize);
        if (font.size != *chosen->pointSize)
            m_messages.show(m_text(TextId::StyleSizeLimited)
                                .arg(QLocale().toString(*chosen->pointSize),
                                     QLocale().toString(font.size)),
                            MessageService::Icon::Exclamation);
    }
    font.bold = chosen->bold.value_or(font.bold);
    font.italic = chosen->italic.value_or(font.italic);
    font.underline = chosen->underline.value_or(font.underline);
    font.strikeThru = chosen->strikeOut.value_or(font.strikeThru);
    style->setFont(font);
    showChosenStyle();
}

// Bold and italic of any face, whether or not the font dialog finds a face
// that draws them.
void StylesPage::toggleAttribute(bool StyleFont::*attribute)
{
    Style* style = selectedStyle();
    if (!style)
        return;
    StyleFont font = style->font();
    font.*attribute = !(font.*attribute);
    style->setFont(font);
    showChosenStyle();
}

void StylesPage::chooseColor()
{
    Style* style = selectedStyle();
    if (!style)
        return;
    QColorDialog dialog(WinColor::toQColor(style->color(), palette()), window());
    dialog.setObjectName(QStringLiteral("cdgColor"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    style->setColor(WinColor::fromQColor(dialog.selectedColor()));
    showChosenStyle();
}

void StylesPage::editMask()
{
    Style* style = selectedStyle();
    if (!style)
        return;
    StyleMaskDialog dialog(*style, m_text, m_localize, window());
    dialog.exec();
}

void StylesPage::deleteStyle()
{
    int index = selectedIndex();
    if (index < 0 || !m_messages.ask(m_text(TextId::DeleteStyleConfirm)))
        return;
    delete m_styleList->takeItem(index);
    m_styles.remove(index + 1);
    if (index == m_styleList->count())
        --index;
    select(index);
    updateStyleShortcuts();
}

// Two neighbours change places through the collection's item replacement.
void StylesPage::moveStyle(int by)
{
    const int index = selectedIndex();
    const int other = index + by;
    if (index < 0 || other < 0 || other >= m_styleList->count())
        return;
    const Style moving = *m_styles.item(index + 1);
    m_styles.setItem(index + 1, *m_styles.item(other + 1));
    m_styles.setItem(other + 1, moving);
    QListWidgetItem* first = m_styleList->item(index);
    QListWidgetItem* second = m_styleList->item(other);
    const QString text = first->text();
    first->setText(second->text());
    second->setText(text);
    select(other);
    updateStyleShortcuts();
}
