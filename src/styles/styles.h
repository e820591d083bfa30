#pragma once

#include "core/app_error.h"
#include "styles/style.h"

#include <QString>
#include <optional>
#include <vector>

// The ordered styles of the program, read from "Styles.dat" at start-up and
// written back at shutdown. The order is the user's: it is that of the
// styles list, the editor's style menu and the Ctrl+1 ... Ctrl+0 keys.
// Positions count from 1.
class Styles
{
public:
    // A file of styles is a few kilobytes; anything near this is not one.
    static constexpr qint64 MaxFileBytes = qint64(1) << 20;

    using const_iterator = std::vector<Style>::const_iterator;

    void add(const Style& style) { m_styles.push_back(style); }
    // False for a position outside 1..count().
    bool remove(int index);
    // Null for a position outside 1..count(). The pointer lasts until the
    // collection next grows or shrinks.
    Style* item(int index);
    const Style* item(int index) const;
    // Puts `style` in place of the one at `index`; false, changing nothing,
    // for a position outside 1..count().
    bool setItem(int index, const Style& style);
    int count() const { return static_cast<int>(m_styles.size()); }
    void clear() { m_styles.clear(); }
    const_iterator begin() const { return m_styles.begin(); }
    const_iterator end() const { return m_styles.end(); }

    // Replaces the styles by those of the file, one per line; a damaged line
    // is skipped and the others load. A missing file leaves no styles. False
    // when the file is there but cannot be read: there are no styles then,
    // and the file has been moved aside (keptAside()) so that the next Save
    // cannot replace it.
    // Lines that are there but hold no style (blank lines aside) make the
    // file be copied aside (keptAside()) before a save could lose them.
    bool load(const QString& path);
    QString errorString() const { return m_errorString; }
    QString keptAside() const { return m_keptAside; }
    int droppedLines() const { return m_droppedLines; }
    int firstDroppedLine() const { return m_firstDroppedLine; }

    // Writes every style, in order; on failure the old file is left whole.
    std::optional<AppError> save(const QString& path) const;

    // Why a style name cannot be kept as it is (a ";", which separates the
    // fields of the file, or characters without a code in Windows-1251), for
    // the user; nullopt when it can.
    static std::optional<AppError> checkName(const QString& name);
    // Why a face cannot be kept; a style with such a face is stored with
    // StyleFont::defaultName() instead, which the message says.
    static std::optional<AppError> checkFaceName(const QString& faceName);

private:
    bool contains(int index) const { return index >= 1 && index <= count(); }

    std::vector<Style> m_styles;
    QString m_errorString;
    QString m_keptAside;
    QString m_loadedFrom;
    int m_droppedLines = 0;
    int m_firstDroppedLine = 0;
    bool m_holdFile = false; // lines were dropped and could not be copied aside
};
