#pragma once

#include "core/built_in_text.h"
#include "rules/command.h"

#include <QKeyCombination>
#include <optional>
#include <span>

// Every command of the notebook window, one row each: its menu item, the
// caption of the item, the key shown beside it, when the page offers it and
// which keyboard route carries out its key. The menus are made from the
// rows, the keys are read through them and the one check of the page rule
// goes by them.
struct CommandRow
{
    // When the open page offers the command.
    enum class Rule
    {
        Always,
        OnPage,
        FromLastLetterPage, // a page is added after the last letter page or later
        UserPage,
        NotFirstUserPage,
        NotLastPage,
        SortOn,
        AddressToText, // a user page converts to the other kind; its own kind
        TextToAddress, // is shown greyed
    };

    // Which key handler carries out the key.
    enum class KeyRoute
    {
        Window, // the window's keys, seen before the editor's
        Editor, // the editor's keys, which the window let through
        Shown,  // the editor's own binding: the key is only shown
    };

    Command command;
    const char* objectName; // the menu item; none for a key alone
    std::optional<TextId> caption; // none for a key alone
    QKeyCombination key;
    Rule rule = Rule::Always;
    KeyRoute route = KeyRoute::Window;
};

namespace CommandTable {

std::span<const CommandRow> rows();
// The row of `command`, or none.
const CommandRow* find(Command command);
const CommandRow* find(QStringView objectName);
// The command whose key is `key` on `route`, or None.
Command byKey(QKeyCombination key, CommandRow::KeyRoute route);

} // namespace CommandTable
