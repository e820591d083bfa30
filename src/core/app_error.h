#pragma once

#include "core/built_in_text.h"

#include <QString>
#include <QStringList>
#include <optional>

// An error as the user sees it in the standard message: a description and the
// number version 3.0 showed for the same condition, so support
// conversations and translated messages keep matching.
struct AppError
{
    int number = 0;
    QString description;
    // A description the user's language should give: the built-in text with
    // `args` for its %1, %2 ... replaces `description` when shown.
    std::optional<TextId> text = std::nullopt;
    QStringList args = {};

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
};

// An error with the procedure it happened in, which the standard message names.
struct LocatedError
{
    AppError error;
    QString module;
    QString procedure;
    // The file it happened to, named before the description when known.
    QString file = {};
};
