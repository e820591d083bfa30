#pragma once

#include <QByteArrayView>

// The control words the reader acts on; every other word is ignored.
enum class RtfWord
{
    Unknown,
    // document
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    ShapePicture,
    ListTable,
    ListOverrideTable,
    NestedTableProperties,
    SkippedDestination,
    // lists
    List,
    ListLevel,
    LevelText,
    LevelNumbers,
    LevelFormat,
    LevelStartAt,
    LevelFollow,
    ListId,
    ListOverride,
    ListOverrideIndex,
    ListLevelIndex,
    ListText,
    // font and colour tables
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    ColorIndex,
    Highlight,
    Hidden,
    // paragraph formatting
    ParagraphDefault,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    TabPosition,
    TabRight,
    TabCenter,
    TabDecimal,
    TabBar,
    // breaks
    Paragraph,
    Line,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    // characters
    Tab,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    ZeroWidthBreak,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WindowsMetafile,
    Bitmap,
    OtherPictureFormat,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

class RtfControlWords
{
public:
    static RtfWord lookup(QByteArrayView name);
};
