#pragma once

#include <QString>

// An error as the user sees it in the standard message: a description and the
// number the earlier program used for the same condition, so support
// conversations and translated messages keep matching.
struct AppError
{
    int number = 0;
    QString description;

    static constexpr int InvalidProcedureCall = 5;
    static constexpr int TypeMismatch = 13;
    static constexpr int FileNotFound = 53;
    static constexpr int BadFileMode = 54;
    static constexpr int DiskFull = 61;
    static constexpr int InputPastEndOfFile = 62;
    static constexpr int PermissionDenied = 70;
    static constexpr int PathFileAccessError = 75;
    static constexpr int PathNotFound = 76;
    static constexpr int InvalidCountOfSections = 20001;

    static AppError typeMismatch() { return {TypeMismatch, QStringLiteral("Type mismatch")}; }
};
