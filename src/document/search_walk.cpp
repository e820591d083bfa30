#include "document/search_walk.h"

#include "document/search_target.h"
#include "richtext/text_finder.h"

SearchWalk::SearchWalk(SearchTarget& target) : m_target(target)
{
    reset();
}

void SearchWalk::reset()
{
    m_startPosition = m_target.selStart();
    m_state = State::Fresh;
}

SearchWalk::Result SearchWalk::findNext(const QString& sample, int options, bool allPages)
{
    // A start page deleted under the walk could never be reached again.
    if (m_state != State::Fresh && m_startPage > m_target.pageCount())
        reset();
    if (m_state == State::StartPage)
        return findBeforeStart(sample, options);
    if (m_state == State::Fresh)
        begin();
    if (findOnOpenPage(sample, -1, options))
        return Result::Found;
    if (m_state == State::CurrentPage && !allPages) {
        m_state = State::StartPage;
        return findBeforeStart(sample, options);
    }
    m_state = State::FollowingPages;
    return findOnFollowingPages(sample, options);
}

void SearchWalk::begin()
{
    m_state = State::CurrentPage;
    m_startPage = m_target.currentPage();
    m_lastPosition = m_startPosition - 1;
}

bool SearchWalk::findOnOpenPage(const QString& sample, int last, int options)
{
    // Matches may overlap: the next search starts one character after the
    // start of the previous match.
    m_lastPosition = m_target.findText(sample, m_lastPosition + 1, last, options);
    return m_lastPosition >= 0;
}

SearchWalk::Result SearchWalk::findBeforeStart(const QString& sample, int options)
{
    return findOnOpenPage(sample, m_startPosition, options) ? Result::Found : Result::Completed;
}

SearchWalk::Result SearchWalk::findOnFollowingPages(const QString& sample, int options)
{
    // The pages strictly between the open page and the start page in book
    // order (every other page when the start page is open), so the walk ends
    // after one round whatever the user opened in between.
    const int count = m_target.pageCount();
    const int from = m_target.currentPage();
    const int distance = ((m_startPage - from) % count + count) % count;
    const int steps = distance == 0 ? count : distance;
    for (int step = 1; step < steps; ++step) {
        const int page = (from - 1 + step) % count + 1;
        // Only a page holding a match is opened; the others are searched in
        // their plain text with the editor's own finder, so a book of
        // thousands of pages is walked without laying a single one out.
        if (TextFinder::find(m_target.pageText(page), sample, 0, -1, options) < 0)
            continue;
        open(page);
        if (findOnOpenPage(sample, -1, options))
            return Result::Found;
    }
    open(m_startPage);
    m_state = State::StartPage;
    return findBeforeStart(sample, options);
}

void SearchWalk::open(int page)
{
    if (m_target.currentPage() != page)
        m_target.selectPage(page);
}
