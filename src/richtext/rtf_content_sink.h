#pragma once

#include "richtext/rtf_formats.h"

// Receives the content of an RTF document in reading order. The parser calls
// startBlock for every block separator and setBlockFormat when a block's
// paragraph properties are final, so a sink sees exactly the document's blocks.
class RtfContentSink
{
public:
    virtual ~RtfContentSink() = default;

    virtual void appendText(const QString& text, const RtfRunFormat& format) = 0;
    virtual void appendPicture(const RtfPictureData& picture, const RtfRunFormat& format) = 0;
    virtual void startBlock(const RtfRunFormat& format) = 0;
    virtual void setBlockFormat(const RtfParagraphFormat& format) = 0;
};
