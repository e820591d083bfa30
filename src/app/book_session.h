#pragma once

#include "core/folders.h"
#include "document/book.h"
#include "document/book_preload.h"
#include "document/book_storage.h"
#include "document/letter_pages.h"
#include "ui/book_view.h"

#include <QObject>
#include <functional>
#include <optional>

class Notices;
class Options;
class SettingsStore;

// The book the user works on: its pages, the files they live in, which page
// is open, saving (the user's, the autosave's, shutdown's), going back to the
// saved book and the check whether another program changed the file since.
// It shows the book through the notebook window's intents and tells the user
// through Notices; the window's open page is read only when somebody reads
// the book.
class BookSession : public QObject
{
    Q_OBJECT

public:
    enum class SaveOutcome
    {
        Saved,    // the book in memory is safe on disk (perhaps beside another's)
        Failed,   // and the user has been told why
        Cancelled // the user chose nothing
    };

    BookSession(Options& options, SettingsStore& settings, Notices& notices,
                QObject* parent = nullptr);
    // The user's book, read from now on for the session's first load, where
    // a second processor can take it (none otherwise); the program's name as
    // started names the file as the running program will.
    static std::unique_ptr<BookPreload> preloadBook(const QString& programPath);

    Book& book() { return m_book; }
    const Book& book() const { return m_book; }
    BookStorage& storage() { return m_storage; }
    const BookStorage& storage() const { return m_storage; }
    Folders& folders() { return m_folders; }
    const Folders& folders() const { return m_folders; }
    const Options& options() const { return m_options; }

    // The alphabets whose titles may begin a book, the language's own first;
    // every rebuild of the tabs counts the book's letter pages by them.
    void setAlphabets(std::vector<LetterPages::Alphabet> alphabets);
    // The Alt keys of the book's letter pages.
    const QString& shortcuts() const { return m_shortcuts; }

    // The window that shows the book and the display options it shows it with.
    void setWindow(BookView* window, std::function<BookView::Display()> display);

    // Finds the book where the options say and loads it, telling the user
    // what the load found; a start without any backup claims the book.
    void open();
    // What the last load found besides the pages, told the user.
    void reportLoad();
    // A rescue copy a run before had to write, told the user once.
    void reportRescueCopy();

    // The open page's edits go into its record; every reader of the book
    // calls this first.
    void flushOpenPage();
    // The tab column made anew from the book, then the current page opened.
    void rebuildTabs();
    // Nothing but the letter pages, and not a word on them: a book a change
    // of language may give its own letters.
    bool holdsOnlyEmptyLetterPages();
    // Opens page `index`; the open page's edits go into its record first.
    void selectPage(int index);

    // `closing`: the window stays open on a failure and says why itself.
    SaveOutcome save(bool closing = false);
    // The user's Save: the book is his from now on, even a default one.
    void claimAndSave();
    // The book as the file holds it, the open page's edits dropped.
    void revert();
    // What the user reads when the window stays open because the book could
    // not be saved; the advice fits the cause.
    QString windowKeptText() const;

    // The options dialog moved the book: the folder the user chose is the
    // one the next start looks in, even when this run had to fall back.
    void folderChosen();
    // The folder the settings keep: the fallback folder serves this run only.
    QString folderToStore() const;

Q_SIGNALS:
    // The page list may have changed (a rebuild of the tabs).
    void pagesChanged();

private:
    SaveOutcome presentSave(const BookStorage::SaveResult& result, bool closing = false);
    SaveOutcome resolveChangedOnDisk();
    SaveOutcome keepBothBooks(bool reload);
    void onFallbackBookUsed();

    Options& m_options;
    SettingsStore& m_settings;
    Notices& m_notices;
    Book m_book;
    BookStorage m_storage;
    Folders m_folders;
    QString m_filePathAsStored;
    std::optional<AppError> m_saveRefusal; // why the last save wrote no book
    std::vector<LetterPages::Alphabet> m_alphabets{LetterPages::russian()};
    QString m_shortcuts;
    BookView* m_window = nullptr;
    std::function<BookView::Display()> m_display;
};
