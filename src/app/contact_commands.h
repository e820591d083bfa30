#pragma once

#include "contacts/contact.h"
#include "contacts/contact_entry.h"
#include "contacts/contact_export.h"
#include "core/built_in_text.h"
#include "rules/command.h"

#include <QString>

class CommandHandlers;
class BookSession;
class BookView;
class Notices;

// The contact commands of the main popup: the book's address pages or the
// open page written as vCard or CSV through the save dialog, and a vCard or
// CSV file added to the open page after a preview. A file with a bad line
// changes nothing and the user is told which line.
class ContactCommands
{
public:
    ContactCommands(BookSession& session, BookView& window, Notices& notices)
        : m_session(session), m_window(window), m_notices(notices)
    {}

    void bind(CommandHandlers& handlers);

private:
    void run(Command command);
    void exportContacts(ContactExport::Format format, bool wholeBook);
    void importContacts();
    // False, after saying why, when the book cannot keep the contacts' entries.
    // Stopped by `stop`, it is false without a word.
    bool storable(const std::vector<Contact>& contacts, const QString& shownPath,
                  const StopRequest& stop);
    // The file the user chose to save to, empty when cancelled.
    QString askExportPath(ContactExport::Format format, const QString& baseName);
    QString problemText(const ContactsRead& read);
    QString text(TextId id);
    void warn(const QString& message);

    BookSession& m_session;
    BookView& m_window;
    Notices& m_notices;
};
