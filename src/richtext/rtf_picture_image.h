#pragma once

#include "richtext/rtf_formats.h"

#include <QImage>
#include <QSizeF>

// What a picture read from RTF looks like on the page: PNG and JPEG pictures
// themselves, every other kind a placeholder of the picture's size.
class RtfPictureImage
{
public:
    static QImage image(const RtfPictureData& picture);
    // Display size in document units.
    static QSizeF displaySize(const RtfPictureData& picture, const QImage& image);

private:
    static QImage placeholder();
};
