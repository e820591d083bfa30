#pragma once

#include "document/page_record.h"

#include <QDateTime>
#include <QString>
#include <vector>

// What the backups window asks of the owner of the book. The owner checks
// its own conditions and asks the user what has to be asked; whatever a
// restore would overwrite is first kept as a dated copy of the whole book.
// Each restore marks the book changed and rebuilds the tab column.
class RestoreTarget
{
public:
    struct Outcome
    {
        bool restored = false;
        QString keptAs;    // the book as it was before, when it was kept
        QString pageTitle; // the title the restored page carries
    };

    virtual ~RestoreTarget() = default;

    // `page` of a copy made at `made` as a new page, where Add puts one,
    // titled with the copy's date.
    virtual Outcome insertPage(const PageRecord& page, const QDateTime& made) = 0;
    // `page`'s text in place of the open page's, once the user agreed.
    virtual Outcome replaceCurrentPage(const PageRecord& page, const QDateTime& made) = 0;
    // Every page of the copy in place of the book's, once the user agreed.
    virtual Outcome replaceBook(const std::vector<PageRecord>& pages, const QDateTime& made) = 0;
};
