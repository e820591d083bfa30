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

    QTextDocument& m_doc;
    QTextCursor m_cursor;
    RtfRunFormat m_lastRun;
    QTextCharFormat m_lastFormat;
    bool m_lastValid = false;
    int m_pictures = 0;
};
