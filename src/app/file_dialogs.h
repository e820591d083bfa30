#pragma once

#include "core/bounded_file.h"
#include "core/built_in_text.h"

#include <QStringList>
#include <functional>

// What the commands that open and save files share: the filters of their
// file dialogs and the reasons a chosen file could not be read.
class FileDialogs
{
public:
    // "Description|pattern|..." pairs, the filter form translations written
    // for version 3.0 carry, as Qt writes them. "*.*" meant every file there; here it would miss names
    // without a dot.
    static QStringList nameFilters(const QString& pairs);
    // Why `failure` was not read, in the user's language.
    static QString unreadableReason(const BoundedFile::Result& failure,
                                    const std::function<QString(TextId)>& text);
};
