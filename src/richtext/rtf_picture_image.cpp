#include "richtext/rtf_picture_image.h"

#include "richtext/document_units.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr double kTwipsPerHimetric = 1440.0 / 2540.0;
constexpr double kTwipsPerBitmapPixel = 15.0;
constexpr double kDefaultTwips = 1440.0;
constexpr qreal kMaxSide = 4000.0;

bool isMetafile(RtfPictureData::Kind kind)
{
    return kind == RtfPictureData::Kind::Emf || kind == RtfPictureData::Kind::Wmf ||
           kind == RtfPictureData::Kind::Unknown;
}

// The size the picture was meant to have, in twips: the goal size when the
// writer gave one, else the picture's own size in its own units.
double naturalTwips(int goal, int own, RtfPictureData::Kind kind, int imagePixels)
{
    if (goal > 0)
        return goal;
    if (imagePixels > 0)
        return imagePixels * kTwipsPerBitmapPixel;
    if (own > 0)
        return own * (isMetafile(kind) ? kTwipsPerHimetric : kTwipsPerBitmapPixel);
    return kDefaultTwips;
}

qreal side(double twips, int scale)
{
    const double scaled = twips * (scale > 0 ? scale : 100) / 100.0;
    return std::clamp<qreal>(DocumentUnits::fromTwips(scaled), 1.0, kMaxSide);
}

} // namespace

QImage RtfPictureImage::image(const RtfPictureData& picture)
{
    if (picture.kind == RtfPictureData::Kind::Png || picture.kind == RtfPictureData::Kind::Jpeg) {
        const char* format = picture.kind == RtfPictureData::Kind::Png ? "PNG" : "JPEG";
        QImage decoded = QImage::fromData(picture.data, format);
        if (!decoded.isNull())
            return decoded;
    }
    return placeholder();
}

QSizeF RtfPictureImage::displaySize(const RtfPictureData& picture, const QImage& image)
{
    const bool real =
        picture.kind == RtfPictureData::Kind::Png || picture.kind == RtfPictureData::Kind::Jpeg;
    const int imageWidth = real ? image.width() : 0;
    const int imageHeight = real ? image.height() : 0;
    const double w = naturalTwips(picture.goalWidth, picture.width, picture.kind, imageWidth);
    const double h = naturalTwips(picture.goalHeight, picture.height, picture.kind, imageHeight);
    return QSizeF(side(w, picture.scaleX), side(h, picture.scaleY));
}

// A small framed grey image; the document scales it to the picture's size.
QImage RtfPictureImage::placeholder()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(0xE8, 0xE8, 0xE8));
    QPainter painter(&image);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
    painter.drawLine(0, 0, image.width() - 1, image.height() - 1);
    painter.drawLine(0, image.height() - 1, image.width() - 1, 0);
    return image;
}
