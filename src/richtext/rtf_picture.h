#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QTextFormat>

// How a picture read from RTF lives in a QTextDocument. The image format of the
// picture carries the original `{\pict ...}` group, braces included, byte for
// byte, so that saving writes back exactly what was read, whatever the picture
// type; the image itself is a document resource named "rtfpict:<n>".
class RtfPicture
{
public:
    // QByteArray: the source group of the picture.
    static constexpr int SourceProperty = QTextFormat::UserProperty + 1;
    static constexpr QLatin1StringView resourceScheme{"rtfpict"};

    static QString resourceName(int number)
    {
        return resourceScheme + QLatin1Char(':') + QString::number(number);
    }
};
