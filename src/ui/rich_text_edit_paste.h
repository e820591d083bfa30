#pragma once

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
};
