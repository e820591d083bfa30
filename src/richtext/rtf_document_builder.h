#pragma once

#include "richtext/rtf_content_sink.h"

#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

// Builds a QTextDocument from parsed RTF: runs go in through one cursor with
// their formats merged per run, never character by character.
class RtfDocumentBuilder : public RtfContentSink
{
public:
    explicit RtfDocumentBuilder(QTextDocument& doc);

    void appendText(const QString& text, const RtfRunFormat& format) override;
    void appendPicture(const RtfPictureData& picture, const RtfRunFormat& format) override;
    void startBlock(const RtfRunFormat& format) override;
    void setBlockFormat(const RtfParagraphFormat& format) override;

private:
    const QTextCharFormat& charFormat(const RtfRunFormat& format);
    static QTextBlockFormat blockFormat(const RtfParagraphFormat& format);

    QTextDocument& m_doc;
    QTextCursor m_cursor;
    RtfRunFormat m_lastRun;
    QTextCharFormat m_lastFormat;
    bool m_lastValid = false;
    // Most pages use one paragraph format throughout: a new block starts with
    // the previous block's format and is only changed when it differs.
    RtfParagraphFormat m_blockParagraph;
    QTextBlockFormat m_blockFormat;
    bool m_blockFormatSet = false;
    int m_pictures = 0;
};
