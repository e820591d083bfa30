#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QTextOption>
#include <optional>

// Character attributes of a run as the reader resolved them from the font and
// colour tables. No foreground means the automatic colour.
struct RtfRunFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString family;
    qreal pointSize = 12.0;
    std::optional<QColor> foreground;
    std::optional<QColor> background;

    bool operator==(const RtfRunFormat&) const = default;
};

struct RtfTabStop
{
    int twips = 0;
    QTextOption::TabType type = QTextOption::LeftTab;

    bool operator==(const RtfTabStop&) const = default;
};

// Paragraph attributes, geometry in twips.
struct RtfParagraphFormat
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    QList<RtfTabStop> tabs;

    bool operator==(const RtfParagraphFormat&) const = default;
};

struct RtfPictureData
{
    enum class Kind
    {
        Unknown,
        Png,
        Jpeg,
        Emf,
        Wmf,
        Bitmap
    };

    QByteArray source; // the whole {\pict ...} group as it was read
    QByteArray data;   // decoded picture bytes
    Kind kind = Kind::Unknown;
    int width = 0;     // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int height = 0;    // \pich
    int goalWidth = 0; // \picwgoal, twips
    int goalHeight = 0;
    int scaleX = 100; // \picscalex, percent
    int scaleY = 100;
};
