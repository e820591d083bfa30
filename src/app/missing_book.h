#pragma once

#include "app/book_question.h"
#include "core/folders.h"

#include <QDate>
#include <functional>

class Notices;
class SettingsStore;

// A book that was there and is gone (a network or removable drive not
// connected, the user's own link to a synchronised folder dangling) is never
// silently replaced by a new one. The settings remember the book last opened;
// when its file is missing, the person is told where it was expected and
// looks again, chooses its folder, starts a new book or quits. A new book
// first keeps this period's backup of the earlier one beside the book, where
// the backups window lists it. A first start, with no book remembered, starts
// the new book without a word.
class MissingBook
{
public:
    struct Prompts
    {
        BookQuestion::Ask question;
        std::function<bool()> chooseFolder; // stores the folder chosen; false: cancelled
    };

    MissingBook(SettingsStore& settings, Notices& notices, Prompts prompts)
        : m_settings(settings), m_notices(notices), m_prompts(std::move(prompts))
    {}

    // False when the program must end. `locate` gives the folders as the
    // settings name them now; `today` picks the period's backup.
    bool resolve(const std::function<Folders()>& locate, QDate today);
    // The book at `path` as the one last opened.
    void remember(const QString& path);

private:
    QString remembered() const;
    void keepPeriodBackup(const Folders& folders, QDate today);

    SettingsStore& m_settings;
    Notices& m_notices;
    Prompts m_prompts;
};
