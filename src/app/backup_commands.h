#pragma once

#include "core/built_in_text.h"
#include "document/restore_target.h"

#include <QString>
#include <optional>

class CommandHandlers;
class BookSession;
class BookView;
class Notices;
class Localization;

// The backups window and its restores on the application's book. A page is
// restored as a new page where Add puts one (after the open page, never
// among the built-in pages), titled with the copy's date; or over the open
// page; or the whole book is replaced. The two that overwrite ask first and
// keep the whole book beside the data file before they change it, so the
// same window can bring it back. Each ends with the book marked changed and
// the tab column rebuilt; the data file itself is written by the next save,
// as after any other edit.
class BackupCommands : public RestoreTarget
{
public:
    BackupCommands(BookSession& session, BookView& window, Notices& notices,
                   Localization& localization)
        : m_session(session), m_window(window), m_notices(notices), m_localization(localization)
    {}

    // The backups window, modal over the notebook window.
    void showWindow();
    void bind(CommandHandlers& handlers);

    Outcome insertPage(const PageRecord& page, const QDateTime& made) override;
    Outcome replaceCurrentPage(const PageRecord& page, const QDateTime& made) override;
    Outcome replaceBook(const std::vector<PageRecord>& pages, const QDateTime& made) override;

    // The title of a restored page: the localized pattern with its old title
    // and the copy's date as the book keeps dates, or the date alone when
    // that title would not read back from the book file as it was written.
    static QString restoredTitle(const QString& pattern, const QString& title,
                                 const QString& madeOn);

private:
    // The book as it stands, kept beside the data file; nothing when it
    // could not be (the user has been told, and nothing may change).
    std::optional<QString> keepBook();
    QString text(TextId id);
    QString dateText(const QDateTime& made);

    BookSession& m_session;
    BookView& m_window;
    Notices& m_notices;
    Localization& m_localization;
};
