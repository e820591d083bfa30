#include "mainwindow/main_menus.h"

#include <QAction>
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

MainMenus::MainMenus(QWidget* window, const Caption& caption) : QObject(window), m_window(window)
{
    buildMain(caption);
    buildText(caption);
    buildStatus(caption);
}

QAction* MainMenus::add(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
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

QAction* MainMenus::item(const QString& name) const
{
    return m_window->findChild<QAction*>(name);
}

void MainMenus::buildMain(const Caption& caption)
{
    m_mainMenu = new QMenu(m_window);
    m_mainMenu->setObjectName(QStringLiteral("mnuMain"));
    add(m_mainMenu, "mnuMainAdd", caption(TextId::MainAdd));
    add(m_mainMenu, "mnuMainPrint", caption(TextId::MainPrint));
    add(m_mainMenu, "mnuMainSort", caption(TextId::MainSort))->setVisible(m_enableSort);
    add(m_mainMenu, "mnuMainRename", caption(TextId::MainRename));
    add(m_mainMenu, "mnuMainDelete", caption(TextId::MainDelete));
    addSeparator(m_mainMenu, "mnuMainSep7");
    add(m_mainMenu, "mnuMainUp", caption(TextId::MainUp));
    add(m_mainMenu, "mnuMainDown", caption(TextId::MainDown));
    addSeparator(m_mainMenu, "mnuMainSep1");
    QMenu* convert = submenu(m_mainMenu, "mnuMainConvert", caption(TextId::MainConvert));
    add(convert, "mnuMainConvertAddress", caption(TextId::MainConvertAddress));
    add(convert, "mnuMainConvertText", caption(TextId::MainConvertText));
    addSeparator(m_mainMenu, "mnuMainSep8");
    add(m_mainMenu, "mnuMainSave", caption(TextId::MainSave));
    add(m_mainMenu, "mnuMainRevert", caption(TextId::MainRevert));
    add(m_mainMenu, "mnuMainBackups", caption(TextId::MainBackups));
    addSeparator(m_mainMenu, "mnuMainSep6");
    add(m_mainMenu, "mnuMainFind", caption(TextId::MainFind));
    // Hidden in version 3.0's menu; users bring the notes files of that
    // version over with it.
    addSeparator(m_mainMenu, "mnuMainSep2");
    add(m_mainMenu, "mnuMainImport", caption(TextId::MainImport));
    add(m_mainMenu, "mnuMainImportContacts", caption(TextId::MainImportContacts));
    QMenu* exports = submenu(m_mainMenu, "mnuMainExport", caption(TextId::MainExport));
    add(exports, "mnuMainExportVCard", caption(TextId::MainExportVCard));
    add(exports, "mnuMainExportCsv", caption(TextId::MainExportCsv));
    addSeparator(exports, "mnuMainExportSep");
    add(exports, "mnuMainExportPageVCard", caption(TextId::MainExportPageVCard));
    add(exports, "mnuMainExportPageCsv", caption(TextId::MainExportPageCsv));
    QMenu* cardDav = submenu(m_mainMenu, "mnuMainCardDav", caption(TextId::MainCardDav));
    add(cardDav, "mnuMainCardDavSend", caption(TextId::MainCardDavSend));
    add(cardDav, "mnuMainCardDavFetch", caption(TextId::MainCardDavFetch));
    addSeparator(cardDav, "mnuMainCardDavSep");
    add(cardDav, "mnuMainCardDavAccount", caption(TextId::MainCardDavAccount));
    addSeparator(m_mainMenu, "mnuMainSep3");
    add(m_mainMenu, "mnuMainOptons", caption(TextId::MainOptons));
    addSeparator(m_mainMenu, "mnuMainSep4");
    add(m_mainMenu, "mnuMainHelp", caption(TextId::MainHelp));
    add(m_mainMenu, "mnuMainAbout", caption(TextId::MainAbout));
    addSeparator(m_mainMenu, "mnuMainSep5");
    add(m_mainMenu, "mnuMainExit", caption(TextId::MainExit));
}

void MainMenus::buildText(const Caption& caption)
{
    m_textMenu = new QMenu(m_window);
    m_textMenu->setObjectName(QStringLiteral("mnuText"));
    add(m_textMenu, "mnuTextUndo", caption(TextId::TextUndo));
    addSeparator(m_textMenu, "mnuTextSep2");
    add(m_textMenu, "mnuTextCut", caption(TextId::TextCut));
    add(m_textMenu, "mnuTextCopy", caption(TextId::TextCopy));
    add(m_textMenu, "mnuTextPaste", caption(TextId::TextPaste));
    addSeparator(m_textMenu, "mnuTextSep3");
    add(m_textMenu, "mnuTextSelectAll", caption(TextId::TextSelectAll));
    addSeparator(m_textMenu, "mnuTextSep4");
    m_textStyleMenu = submenu(m_textMenu, "mnuTextStyle", caption(TextId::TextStyle));
    m_emptyStyles = caption(TextId::TextStylesEmpty);
    setStyleNames({});
    addSeparator(m_textMenu, "mnuTextSep5");
    for (const auto& [name, id] : {std::pair{"mnuTextBold", TextId::TextBold},
                                   std::pair{"mnuTextItalics", TextId::TextItalics},
                                   std::pair{"mnuTextUnderline", TextId::TextUnderline},
                                   std::pair{"mnuTextStrikeout", TextId::TextStrikeout}})
        add(m_textMenu, name, caption(id))->setCheckable(true);
    addSeparator(m_textMenu, "mnuTextSep6");
    add(m_textMenu, "mnuTextFont", caption(TextId::TextFont));
    m_textSizeMenu = submenu(m_textMenu, "mnuTextSize", caption(TextId::TextSize));
    m_textColorMenu = submenu(m_textMenu, "mnuTextColor", caption(TextId::TextColor));
    m_colorOtherCaption = caption(TextId::TextColorOther);
}

QMenu* MainMenus::submenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
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

void MainMenus::buildStatus(const Caption& caption)
{
    m_statusMenu = new QMenu(m_window);
    m_statusMenu->setObjectName(QStringLiteral("mnuStatus"));
    add(m_statusMenu, "mnuStatusHideTip", caption(TextId::StatusHideTip));
    add(m_statusMenu, "mnuStatusHideBar", caption(TextId::StatusHideBar));
}

void MainMenus::buildSizeAndColorItems(const QStringList& colorCaptions)
{
    m_textSizeMenu->clear();
    for (int i = 1; i <= kSizeCount; ++i) {
        const int points = kFirstSize + i - 1;
        QAction* size = add(m_textSizeMenu, "mnuTextSizes", sizeCaption(points));
        size->setProperty("Index", i);
        size->setCheckable(true);
        connect(size, &QAction::triggered, this, [this, points] { Q_EMIT sizeChosen(points); });
    }
    m_textColorMenu->clear();
    for (int i = 0; i < colorCaptions.size(); ++i) {
        const int index = kFirstColorIndex + i;
        QAction* color = add(m_textColorMenu, "mnuTextColorS", colorCaptions[i]);
        color->setProperty("Index", i + 1);
        color->setCheckable(true);
        connect(color, &QAction::triggered, this, [this, index] { Q_EMIT colorChosen(index); });
    }
    addSeparator(m_textColorMenu, "mnuTextColorSep2");
    connect(add(m_textColorMenu, "mnuTextColorOther", m_colorOtherCaption), &QAction::triggered,
            this, &MainMenus::otherColorRequested);
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
