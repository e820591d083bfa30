#pragma once

#include "core/built_in_text.h"

#include <QString>
#include <optional>

class BookSession;
class CommandHandlers;
class BookView;
class Notices;

// The commands of the page popup: add, rename, delete, move, sort, convert
// and import. The window runs one only where the open page offers it; each
// ends with the tab column rebuilt and the book marked changed.
class PageCommands
{
public:
    PageCommands(BookSession& session, BookView& window, Notices& notices)
        : m_session(session), m_window(window), m_notices(notices)
    {}

    void bind(CommandHandlers& handlers);

private:
    void add();
    void rename();
    void remove();
    void move(int by);
    void sort();
    void convert(qint32 kind);
    void import();
    // The trimmed answer, or nothing when the user cancelled, typed only
    // spaces or a title the book file cannot keep (and was told why).
    std::optional<QString> askTitle(TextId prompt, TextId title, const QString& preset);
    void warn(const QString& text);

    BookSession& m_session;
    BookView& m_window;
    Notices& m_notices;
};
