#pragma once

#include <QString>
#include <QStringList>

// velkaro-cli sync: the book's entries against a CardDAV address book.
class CliSync
{
public:
    static QString synopsis()
    {
        return QStringLiteral("sync BOOK --url URL --user NAME [--password-file FILE] "
                              "[--book-password-file FILE] [--ca-file FILE] [--allow-http] "
                              "[--resend-deleted] [--dry-run]");
    }
    // The arguments after "sync"; returns the exit status.
    static int run(const QStringList& arguments);
};
