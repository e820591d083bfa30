#pragma once

#include <QString>
#include <optional>

// The password of an encrypted book, never taken from the command line
// (where every user of the machine can read it): the first line of a file
// the user names, or typed on the terminal with the echo off.
class CliPassword
{
public:
    struct Result
    {
        std::optional<QString> password;
        QString problem; // why there is none
    };

    static Result obtain(const QString& book, const QString& passwordFile);

private:
    static Result fromFile(const QString& passwordFile);
    static Result fromTerminal(const QString& book);
};
