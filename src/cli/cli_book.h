#pragma once

#include "document/page_record.h"

#include <QString>
#include <vector>

// A book file read the way the program reads it at start-up, but never
// recovered or rewritten: a file that does not load is only described.
class CliBook
{
public:
    struct Loaded
    {
        std::vector<PageRecord> pages; // page 1 first
        QString problem;               // empty when the book loaded
        // Line where text follows the last counted page; the program keeps
        // the counted pages and a copy of the whole file.
        int trailingLine = 0;
        bool ok() const { return problem.isEmpty(); }
    };

    // With cleanUp the address pages pass the same tab clean-up as at load,
    // so texts read back exactly as the program shows and exports them.
    static Loaded read(const QString& path, bool cleanUp);
};
