#include "rules/command_table.h"

#include <QString>
#include <array>

namespace {

using Rule = CommandRow::Rule;
using Route = CommandRow::KeyRoute;

constexpr QKeyCombination kNoKey{};
constexpr Qt::Modifier kCtrl = Qt::CTRL;
constexpr Qt::Modifier kAlt = Qt::ALT;

constexpr std::array kRows{
    CommandRow{Command::AddPage, "mnuMainAdd", TextId::MainAdd, Qt::Key_F5,
               Rule::FromLastLetterPage},
    CommandRow{Command::Print, "mnuMainPrint", TextId::MainPrint, kCtrl | Qt::Key_P, Rule::OnPage},
    CommandRow{Command::SortPage, "mnuMainSort", TextId::MainSort, kNoKey, Rule::SortOn},
    CommandRow{Command::RenamePage, "mnuMainRename", TextId::MainRename, Qt::Key_F2,
               Rule::UserPage},
    CommandRow{Command::DeletePage, "mnuMainDelete", TextId::MainDelete, Qt::Key_F8,
               Rule::UserPage},
    CommandRow{Command::MovePageUp, "mnuMainUp", TextId::MainUp, kAlt | Qt::Key_PageUp,
               Rule::NotFirstUserPage},
    CommandRow{Command::MovePageDown, "mnuMainDown", TextId::MainDown, kAlt | Qt::Key_PageDown,
               Rule::NotLastPage},
    CommandRow{Command::ConvertToAddress, "mnuMainConvertAddress", TextId::MainConvertAddress,
               kNoKey, Rule::TextToAddress},
    CommandRow{Command::ConvertToText, "mnuMainConvertText", TextId::MainConvertText, kNoKey,
               Rule::AddressToText},
    CommandRow{Command::Save, "mnuMainSave", TextId::MainSave, kCtrl | Qt::Key_S},
    CommandRow{Command::Revert, "mnuMainRevert", TextId::MainRevert, kNoKey},
    CommandRow{Command::Backups, "mnuMainBackups", TextId::MainBackups, kNoKey},
    CommandRow{Command::Find, "mnuMainFind", TextId::MainFind, kCtrl | Qt::Key_F},
    CommandRow{Command::ImportNotes, "mnuMainImport", TextId::MainImport, kNoKey},
    CommandRow{Command::ImportContacts, "mnuMainImportContacts", TextId::MainImportContacts,
               kNoKey, Rule::OnPage},
    CommandRow{Command::ExportBookVCard, "mnuMainExportVCard", TextId::MainExportVCard, kNoKey},
    CommandRow{Command::ExportBookCsv, "mnuMainExportCsv", TextId::MainExportCsv, kNoKey},
    CommandRow{Command::ExportPageVCard, "mnuMainExportPageVCard", TextId::MainExportPageVCard,
               kNoKey, Rule::OnPage},
    CommandRow{Command::ExportPageCsv, "mnuMainExportPageCsv", TextId::MainExportPageCsv, kNoKey,
               Rule::OnPage},
    CommandRow{Command::CardDavSend, "mnuMainCardDavSend", TextId::MainCardDavSend, kNoKey},
    CommandRow{Command::CardDavFetch, "mnuMainCardDavFetch", TextId::MainCardDavFetch, kNoKey},
    CommandRow{Command::CardDavAccount, "mnuMainCardDavAccount", TextId::MainCardDavAccount,
               kNoKey},
    CommandRow{Command::Options, "mnuMainOptons", TextId::MainOptons, kCtrl | Qt::Key_O},
    CommandRow{Command::Help, "mnuMainHelp", TextId::MainHelp, Qt::Key_F1},
    CommandRow{Command::About, "mnuMainAbout", TextId::MainAbout, Qt::SHIFT | Qt::Key_F1},
    CommandRow{Command::Exit, "mnuMainExit", TextId::MainExit, Qt::Key_Escape},
    CommandRow{Command::Undo, "mnuTextUndo", TextId::TextUndo, kCtrl | Qt::Key_Z, Rule::Always,
               Route::Editor},
    CommandRow{Command::Cut, "mnuTextCut", TextId::TextCut, kCtrl | Qt::Key_X, Rule::Always,
               Route::Shown},
    CommandRow{Command::Copy, "mnuTextCopy", TextId::TextCopy, kCtrl | Qt::Key_C, Rule::Always,
               Route::Shown},
    CommandRow{Command::Paste, "mnuTextPaste", TextId::TextPaste, kCtrl | Qt::Key_V,
               Rule::Always, Route::Shown},
    CommandRow{Command::SelectAll, "mnuTextSelectAll", TextId::TextSelectAll, kCtrl | Qt::Key_A,
               Rule::Always, Route::Shown},
    CommandRow{Command::Bold, "mnuTextBold", TextId::TextBold, kCtrl | Qt::Key_B, Rule::Always,
               Route::Editor},
    CommandRow{Command::Italic, "mnuTextItalics", TextId::TextItalics, kCtrl | Qt::Key_I,
               Rule::Always, Route::Editor},
    CommandRow{Command::Underline, "mnuTextUnderline", TextId::TextUnderline, kCtrl | Qt::Key_U,
               Rule::Always, Route::Editor},
    CommandRow{Command::Strikeout, "mnuTextStrikeout", TextId::TextStrikeout, kCtrl | Qt::Key_T,
               Rule::Always, Route::Editor},
    CommandRow{Command::FontDialog, "mnuTextFont", TextId::TextFont, kCtrl | Qt::Key_D},
    CommandRow{Command::HideTip, "mnuStatusHideTip", TextId::StatusHideTip, kNoKey},
    CommandRow{Command::HideStatusBar, "mnuStatusHideBar", TextId::StatusHideBar, kNoKey},
    // Keys alone: the popups themselves.
    CommandRow{Command::MainMenu, nullptr, std::nullopt, Qt::Key_F10},
    CommandRow{Command::EditorMenu, nullptr, std::nullopt, Qt::SHIFT | Qt::Key_F10},
};

} // namespace

std::span<const CommandRow> CommandTable::rows()
{
    return kRows;
}

const CommandRow* CommandTable::find(Command command)
{
    for (const CommandRow& row : kRows) {
        if (row.command == command)
            return &row;
    }
    return nullptr;
}

const CommandRow* CommandTable::find(QStringView objectName)
{
    for (const CommandRow& row : kRows) {
        if (row.objectName && objectName == QLatin1String(row.objectName))
            return &row;
    }
    return nullptr;
}

Command CommandTable::byKey(QKeyCombination key, CommandRow::KeyRoute route)
{
    for (const CommandRow& row : kRows) {
        if (row.route == route && row.key == key && row.key != kNoKey)
            return row.command;
    }
    return Command::None;
}
