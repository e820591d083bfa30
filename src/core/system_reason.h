#pragma once

#include "core/app_error.h"
#include "core/built_in_text.h"

#include <QString>
#include <optional>

// The common reasons a file cannot be read or written, as the user reads
// them: from the table of texts, in the interface's language, instead of the
// system's English words.
class SystemReason
{
public:
    // The text for a reason the system or Qt gave in words ("No space left
    // on device", "Read-only file system"), or none for an uncommon one.
    static std::optional<TextId> of(const QString& systemText);
    // The text for a file error the program reports by its number.
    static std::optional<TextId> of(const AppError& error);
};
