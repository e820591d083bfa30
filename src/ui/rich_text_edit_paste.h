#pragma once

#include <QList>
#include <QTextOption>

class QString;
class QTextCursor;
class QTextDocument;

// Text that comes in from other programs is brought into the page's own model
// before it is inserted: every line break becomes a paragraph break, table
// cells are separated by a tab, and pictures take their images with them.
class RichTextEditPaste
{
public:
    static void insertDocument(QTextCursor& cursor, const QTextDocument& source);
    static void insertPlainText(QTextCursor& cursor, const QString& text);
    // Every paragraph from `first` to the cursor gets these tab stops.
    static void setTabs(QTextCursor& cursor, int first, const QList<QTextOption::Tab>& tabs);
};
