#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads a whole user file with a ceiling, so a file of any size, or a device
// that never ends (/dev/zero given by mistake), costs bounded memory.
class BoundedFile
{
public:
    struct Result
    {
        std::optional<QByteArray> bytes; // nullopt: not read
        bool tooLarge = false;
        QString error; // why it could not be read, for the user
    };

    static Result read(const QString& path, qint64 maxBytes);
};
