#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads a whole user file with a ceiling, so a file of any size costs bounded
// memory. Only regular files are read: a device (/dev/zero given by mistake)
// or a FIFO put where a file belongs is refused at once, never waited on.
class BoundedFile
{
public:
    enum class Problem
    {
        None,
        CannotRead, // missing, no permission, read error
        NotAFile,   // a folder, device, FIFO or socket
        TooLarge,   // over the ceiling; nothing was read
    };

    struct Result
    {
        std::optional<QByteArray> bytes; // nullopt: not read
        Problem problem = Problem::None;
        QString error; // why it could not be read, for the user
    };

    // What a symbolic link in the file's place means: a file of the user's
    // may be his link; a file the program keeps for itself is never read
    // through one, which someone else may have planted.
    enum class Links
    {
        Follow,
        Refuse // refused with the system's words for a link opened unfollowed
    };

    static Result read(const QString& path, qint64 maxBytes, Links links = Links::Follow);
    // At most the first `maxBytes` of a regular file, whatever its size: a
    // header is read without reading the file behind it.
    static Result readHead(const QString& path, qint64 maxBytes);
};
