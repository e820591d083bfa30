#pragma once

#include <QString>
#include <optional>

// The password of an encrypted book, never taken from the command line
// (where every user of the machine can read it): the first line of a file
// the user names, or typed on the terminal with the echo off.
class CliPassword
{
public:
    // The file the password comes from ("-": a line of standard input;
    // empty: the terminal), and the option that named it, which every
    // problem with it names.
    struct Source
    {
        QString file;
        QString option = QStringLiteral("--password-file");
    };

    struct Result
    {
        std::optional<QString> password;
        QString problem; // why there is none
    };

    static Result obtain(const QString& book, const Source& source);
    // The first line of the source's file.
    static Result fromFile(const Source& source);

private:
    static Result fromTerminal(const QString& book, const QString& option);
};
