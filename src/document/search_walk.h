#pragma once

#include <QString>

class SearchTarget;

// The find window's search through the book, one match per press. It starts
// at the caret, walks to the end of the open page, then either returns to the
// top of that page or (all pages) goes on through the following pages,
// wrapping from the last page to the first, and ends on the page where it
// began, from its top up to the caret where it began.
class SearchWalk
{
public:
    enum class State
    {
        Fresh,          // reset; the next press starts at the caret
        CurrentPage,    // the open page from the caret to its end
        StartPage,      // the start page from its top up to the start position
        FollowingPages, // the pages after the start page, from their top
    };

    enum class Result
    {
        Found,    // the match is selected in the editor
        Completed // nothing (more) found; the next press starts the last pass again
    };

    explicit SearchWalk(SearchTarget& target);

    // A fresh search from the editor's caret: on opening the find window,
    // when the sample or an option changes, and when the page list changes
    // (the start page may be gone or moved).
    void reset();

    // One press of "find next"; options are TextFinder's bits. The sample must
    // not be empty.
    Result findNext(const QString& sample, int options, bool allPages);

    State state() const { return m_state; }

private:
    void begin();
    bool findOnOpenPage(const QString& sample, int last, int options);
    Result findBeforeStart(const QString& sample, int options);
    Result findOnFollowingPages(const QString& sample, int options);
    void open(int page);

    SearchTarget& m_target;
    State m_state = State::Fresh;
    int m_startPosition = 0;
    int m_startPage = 1;
    int m_lastPosition = -1;
};
