#pragma once

// What the user can ask of the notebook window, one vocabulary for its keys,
// its menu items and the rules that say when each is offered: a key and its
// menu item reach the same handler with the same value.
enum class Command
{
    None,
    // A command key with no command here (an Alt combination that opens no
    // page): it does nothing, and above all types nothing.
    Ignore,
    // The book and the program.
    Save,
    Revert,
    Backups,
    Find,
    Options,
    Help,
    About,
    Exit,
    OpenPage, // the argument names the page
    // The open page.
    Print,
    AddPage,
    RenamePage,
    DeletePage,
    MovePageUp,
    MovePageDown,
    SortPage,
    ConvertToAddress,
    ConvertToText,
    ImportNotes,
    // Contacts: the book's address pages or the open page written as vCard
    // or CSV, and a file of contacts added to the open page.
    ImportContacts,
    ExportBookVCard,
    ExportBookCsv,
    ExportPageVCard,
    ExportPageCsv,
    // The book's contacts and a CardDAV address book: the account, sending
    // the entries there and fetching what other programs put there.
    CardDavAccount,
    CardDavSend,
    CardDavFetch,
    // The window and its editor.
    MainMenu,
    EditorMenu,
    HideTip,
    HideStatusBar,
    ToggleInsert,
    Undo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    Bold,
    Italic,
    Underline,
    Strikeout,
    FontDialog,
    ApplyStyle, // the argument is the style number from 1
};
