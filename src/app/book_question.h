#pragma once

#include "core/built_in_text.h"

#include <QString>
#include <functional>
#include <vector>

// A question about the book that start-up cannot answer alone: the text, the
// choices offered (in order, the first the default) and the one taken. The
// window asks it; closing the question without a choice quits.
struct BookQuestion
{
    enum class Choice
    {
        Quit,
        RestoreBackup,  // the newest encrypted backup in the book's place
        NewBook,        // a new, empty, encrypted book under a new password
        SealAgain,      // a plain book where an encrypted one was: seal it
        StopEncrypting, // the same, kept plain: the settings forget it was encrypted
        LookAgain,      // a book that was there and is gone: its folder may be back
        ChooseFolder,   // the same: the book lies elsewhere
        PlainNewBook,   // the same: a new book, the earlier one's backups kept
    };
    using Ask = std::function<Choice(const BookQuestion& question)>;

    QString text;
    std::vector<Choice> offered;

    // The caption of a choice's button.
    static TextId caption(Choice choice);
};
