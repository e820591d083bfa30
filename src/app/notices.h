#pragma once

#include "contacts/contact_entry.h"
#include "core/app_error.h"
#include "core/message_service.h"
#include "document/data_file.h"

#include <QStringList>
#include <functional>
#include <optional>

class Localization;

// Who tells the user: every message of the program goes out here, in the
// interface's language. When nobody is there to answer a box (a termination
// signal, the session's end) no box is shown: the messages wait in a file of
// the settings folder and are shown at the next start.
class Notices
{
public:
    Notices(MessageService& messages, Localization& localization);

    MessageService& messages() { return m_messages; }
    // A text of the built-in table as the user's language has it.
    QString text(TextId id) const;
    std::function<QString(TextId)> textLookup() const;
    // The labels contacts' details carry in entries, in the user's language.
    ContactEntry::Labels contactLabels() const;

    void present(const QString& text, MessageService::Icon icon);
    void warn(const QString& text) { present(text, MessageService::Icon::Exclamation); }
    // The standard error message, its description in the user's language.
    void presentError(const LocatedError& error);

    // An error's description in the interface's language: its own text, else
    // the common reason it stands for, else its words as they came.
    QString describe(const AppError& error) const;
    // The same for a reason the system gave in words.
    QString describeReason(const QString& systemText) const;
    // `items` joined by commas, the first `most` of a longer list followed
    // by how many more there are, so that no box outgrows the screen.
    QString shortList(const QStringList& items, qsizetype most = 10) const;
    // Why a book could not be read: the file's reason, or the line the data
    // file went wrong on.
    QString unreadableReason(const QString& fileError,
                             const std::optional<DataFile::Error>& parseError) const;

    // From now on nobody answers: messages wait for the next start.
    void nobodyIsThere() { m_nobodyThere = true; }
    bool nobodyThere() const { return m_nobodyThere; }
    // The messages that found nobody, written to `path` (in `folder`).
    void keepWaiting(const QString& folder, const QString& path);
    // The messages a run before kept in `path`, shown once: the file goes.
    void showKept(const QString& path);

private:
    MessageService& m_messages;
    Localization& m_localization;
    QStringList m_waiting;
    bool m_nobodyThere = false;
};
