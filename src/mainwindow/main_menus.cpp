#include "mainwindow/main_menus.h"

#include "rules/command_table.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

namespace {

constexpr int kFirstSize = 8;
constexpr int kSizeCount = 7;
constexpr int kFirstColorIndex = -1;

// "&8", "&9", "1&0" ... "1&4": the last digit is the mnemonic.
QString sizeCaption(int points)
{
    QString digits = QString::number(points);
    digits.insert(digits.size() - 1, u'&');
    return digits;
}

} // namespace

MainMenus::MainMenus(QWidget* window, const Caption& caption)
    : QObject(window), m_window(window), m_caption(caption)
{
    buildMain();
    buildText();
    buildStatus();
}

QAction* MainMenus::add(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// The item of a command's row, with its caption and the key that gives the
// command. The key is only shown: the window's key handling carries it out,
// so a key never gives its command twice.
QAction* MainMenus::command(QMenu* menu, const char* name)
{
    const CommandRow* row = CommandTable::find(QString::fromLatin1(name));
    Q_ASSERT(row && row->caption);
    QAction* action = add(menu, name, m_caption(*row->caption));
    action->setShortcut(row->key);
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

void MainMenus::addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void MainMenus::setEnableSort(bool on)
{
    m_enableSort = on;
    item(QStringLiteral("mnuMainSort"))->setVisible(on);
}

// An open menu takes every key itself, so the keys its items show give no
// command from there.
bool MainMenus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    return QObject::eventFilter(watched, event);
}

QAction* MainMenus::item(const QString& name) const
{
    return m_window->findChild<QAction*>(name);
}

void MainMenus::buildMain()
{
    m_mainMenu = new QMenu(m_window);
    m_mainMenu->installEventFilter(this);
    m_mainMenu->setObjectName(QStringLiteral("mnuMain"));
    command(m_mainMenu, "mnuMainAdd");
    command(m_mainMenu, "mnuMainPrint");
    command(m_mainMenu, "mnuMainSort")->setVisible(m_enableSort);
    command(m_mainMenu, "mnuMainRename");
    command(m_mainMenu, "mnuMainDelete");
    addSeparator(m_mainMenu, "mnuMainSep7");
    command(m_mainMenu, "mnuMainUp");
    command(m_mainMenu, "mnuMainDown");
    addSeparator(m_mainMenu, "mnuMainSep1");
    QMenu* convert = submenu(m_mainMenu, "mnuMainConvert", m_caption(TextId::MainConvert));
    command(convert, "mnuMainConvertAddress");
    command(convert, "mnuMainConvertText");
    addSeparator(m_mainMenu, "mnuMainSep8");
    command(m_mainMenu, "mnuMainSave");
    command(m_mainMenu, "mnuMainRevert");
    command(m_mainMenu, "mnuMainBackups");
    addSeparator(m_mainMenu, "mnuMainSep6");
    command(m_mainMenu, "mnuMainFind");
    // Hidden in version 3.0's menu; users bring the notes files of that
    // version over with it.
    addSeparator(m_mainMenu, "mnuMainSep2");
    command(m_mainMenu, "mnuMainImport");
    command(m_mainMenu, "mnuMainImportContacts");
    QMenu* exports = submenu(m_mainMenu, "mnuMainExport", m_caption(TextId::MainExport));
    command(exports, "mnuMainExportVCard");
    command(exports, "mnuMainExportCsv");
    addSeparator(exports, "mnuMainExportSep");
    command(exports, "mnuMainExportPageVCard");
    command(exports, "mnuMainExportPageCsv");
    QMenu* cardDav = submenu(m_mainMenu, "mnuMainCardDav", m_caption(TextId::MainCardDav));
    command(cardDav, "mnuMainCardDavSend");
    command(cardDav, "mnuMainCardDavFetch");
    addSeparator(cardDav, "mnuMainCardDavSep");
    command(cardDav, "mnuMainCardDavAccount");
    addSeparator(m_mainMenu, "mnuMainSep3");
    command(m_mainMenu, "mnuMainOptons");
    addSeparator(m_mainMenu, "mnuMainSep4");
    command(m_mainMenu, "mnuMainHelp");
    command(m_mainMenu, "mnuMainAbout");
    addSeparator(m_mainMenu, "mnuMainSep5");
    command(m_mainMenu, "mnuMainExit");
}

void MainMenus::buildText()
{
    m_textMenu = new QMenu(m_window);
    m_textMenu->installEventFilter(this);
    m_textMenu->setObjectName(QStringLiteral("mnuText"));
    command(m_textMenu, "mnuTextUndo");
    addSeparator(m_textMenu, "mnuTextSep2");
    command(m_textMenu, "mnuTextCut");
    command(m_textMenu, "mnuTextCopy");
    command(m_textMenu, "mnuTextPaste");
    addSeparator(m_textMenu, "mnuTextSep3");
    command(m_textMenu, "mnuTextSelectAll");
    addSeparator(m_textMenu, "mnuTextSep4");
    m_textStyleMenu = submenu(m_textMenu, "mnuTextStyle", m_caption(TextId::TextStyle));
    m_emptyStyles = m_caption(TextId::TextStylesEmpty);
    setStyleNames({});
    addSeparator(m_textMenu, "mnuTextSep5");
    const std::array<const char*, 4> fontStyles{"mnuTextBold", "mnuTextItalics", "mnuTextUnderline",
                                                "mnuTextStrikeout"};
    for (std::size_t i = 0; i < fontStyles.size(); ++i) {
        m_fontStyleItems[i] = command(m_textMenu, fontStyles[i]);
        m_fontStyleItems[i]->setCheckable(true);
    }
    addSeparator(m_textMenu, "mnuTextSep6");
    command(m_textMenu, "mnuTextFont");
    m_textSizeMenu = submenu(m_textMenu, "mnuTextSize", m_caption(TextId::TextSize));
    m_textColorMenu = submenu(m_textMenu, "mnuTextColor", m_caption(TextId::TextColor));
    m_colorOtherCaption = m_caption(TextId::TextColorOther);
}

QMenu* MainMenus::submenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->installEventFilter(this);
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name));
    return sub;
}

void MainMenus::setStyleNames(const QStringList& names)
{
    m_textStyleMenu->clear();
    QAction* empty = add(m_textStyleMenu, "mnuTextStyles", m_emptyStyles);
    empty->setProperty("Index", 0);
    empty->setEnabled(false);
    empty->setVisible(names.isEmpty());
    for (int i = 0; i < names.size(); ++i) {
        QAction* style = add(m_textStyleMenu, "mnuTextStyles", names[i]);
        style->setProperty("Index", i + 1);
        connect(style, &QAction::triggered, this, [this, i] { Q_EMIT styleChosen(i + 1); });
    }
}

void MainMenus::buildStatus()
{
    m_statusMenu = new QMenu(m_window);
    m_statusMenu->installEventFilter(this);
    m_statusMenu->setObjectName(QStringLiteral("mnuStatus"));
    command(m_statusMenu, "mnuStatusHideTip");
    command(m_statusMenu, "mnuStatusHideBar");
}

void MainMenus::buildSizeAndColorItems(const QStringList& colorCaptions)
{
    m_textSizeMenu->clear();
    m_sizeItems.clear();
    for (int i = 1; i <= kSizeCount; ++i) {
        const int points = kFirstSize + i - 1;
        QAction* size = add(m_textSizeMenu, "mnuTextSizes", sizeCaption(points));
        size->setProperty("Index", i);
        size->setCheckable(true);
        m_sizeItems.append(size);
        connect(size, &QAction::triggered, this, [this, points] { Q_EMIT sizeChosen(points); });
    }
    m_textColorMenu->clear();
    m_colorItems.clear();
    for (int i = 0; i < colorCaptions.size(); ++i) {
        const int index = kFirstColorIndex + i;
        QAction* color = add(m_textColorMenu, "mnuTextColorS", colorCaptions[i]);
        color->setProperty("Index", i + 1);
        color->setCheckable(true);
        m_colorItems.append(color);
        connect(color, &QAction::triggered, this, [this, index] { Q_EMIT colorChosen(index); });
    }
    addSeparator(m_textColorMenu, "mnuTextColorSep2");
    connect(add(m_textColorMenu, "mnuTextColorOther", m_colorOtherCaption), &QAction::triggered,
            this, &MainMenus::otherColorRequested);
}

void MainMenus::markText(const TextMarks& marks)
{
    const std::array<std::optional<bool>, 4> fontStyles{marks.bold, marks.italic, marks.underline,
                                                        marks.strikeout};
    for (std::size_t i = 0; i < fontStyles.size(); ++i)
        m_fontStyleItems[i]->setChecked(fontStyles[i].value_or(false));
    for (int i = 0; i < m_sizeItems.size(); ++i)
        m_sizeItems[i]->setChecked(marks.points == kFirstSize + i);
    for (int i = 0; i < m_colorItems.size(); ++i)
        m_colorItems[i]->setChecked(marks.paletteColor == kFirstColorIndex + i);
}

void MainMenus::apply(const PageMenuRules::State& rules)
{
    for (auto it = rules.visible.begin(); it != rules.visible.end(); ++it) {
        if (QAction* action = item(it.key()))
            action->setVisible(it.value());
    }
    for (auto it = rules.enabled.begin(); it != rules.enabled.end(); ++it) {
        if (QAction* action = item(it.key()))
            action->setEnabled(it.value());
    }
}

void MainMenus::popUpMain(const PageMenuRules::State& rules, const QPoint& globalPos)
{
    apply(rules);
    QAction* bold = item(rules.defaultItem);
    m_mainMenu->setDefaultAction(bold);
    m_mainMenu->exec(globalPos);
    m_mainMenu->setDefaultAction(nullptr);
    PageMenuRules::State restored;
    for (auto it = rules.visible.begin(); it != rules.visible.end(); ++it)
        restored.visible.insert(it.key(), it.key() != QLatin1String("mnuMainSort") || m_enableSort);
    apply(restored);
}
