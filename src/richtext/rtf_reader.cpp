#include "richtext/rtf_reader.h"

#include "core/code_page.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_document_builder.h"
#include "richtext/rtf_parser.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

// Replaces the content in one edit, without undo history: reading a page is
// not an edit the user could undo.
template <typename Fill> void replaceContent(QTextDocument& doc, Fill fill)
{
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    fill(cursor);
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

void insertPlainText(QTextCursor& cursor, QStringView text)
{
    QString lines = PlainText::normalized(text);
    lines.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    cursor.insertText(lines);
}

} // namespace

void RtfReader::read(QByteArrayView source, QTextDocument& doc)
{
    if (!RtfParser::isRtf(source)) {
        const QString text = CodePage::decode(source);
        replaceContent(doc, [&](QTextCursor& cursor) { insertPlainText(cursor, text); });
        return;
    }
    replaceContent(doc, [&](QTextCursor&) {
        RtfDocumentBuilder builder(doc);
        RtfParser(source, builder).parse();
    });
}

void RtfReader::read(const QString& source, QTextDocument& doc)
{
    if (RtfParser::isRtf(QStringView(source))) {
        read(QByteArrayView(CodePage::encodeLossy(source)), doc);
        return;
    }
    replaceContent(doc, [&](QTextCursor& cursor) { insertPlainText(cursor, source); });
}
