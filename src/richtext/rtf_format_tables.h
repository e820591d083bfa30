#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QStringList>
#include <QTextFormat>
#include <QTextImageFormat>
#include <optional>
#include <vector>

class QTextDocument;
class RtfOutput;

// What one character format amounts to in RTF, with fonts and colours already
// turned into their table numbers.
struct RtfCharAttributes
{
    int font = -1;
    int halfPoints = 0;
    int color = 0; // 0 = automatic
    int highlight = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;

    bool operator==(const RtfCharAttributes&) const = default;
};

// The font and colour tables of the document being written. Tables grow as the
// writer meets formats, in order of first use, so the output is deterministic;
// each format of the document is resolved only once.
class RtfFormatTables
{
public:
    explicit RtfFormatTables(const QTextDocument& doc);

    const RtfCharAttributes& attributes(int formatIndex);
    // The picture's format, or nullptr for a text format.
    const QTextImageFormat* picture(int formatIndex);
    void writeFontTable(RtfOutput& out);
    void writeColorTable(RtfOutput& out) const;
    bool hasColors() const { return !m_colors.isEmpty(); }

private:
    RtfCharAttributes resolve(const QTextCharFormat& format);
    QString familyOf(const QTextCharFormat& format) const;
    double pointSizeOf(const QTextCharFormat& format) const;
    int fontIndex(const QString& family);
    int colorIndex(const QTextCharFormat& format, QTextFormat::Property property);

    QFont m_defaultFont;
    QList<QTextFormat> m_formats;
    std::vector<std::optional<RtfCharAttributes>> m_resolved;
    std::optional<RtfCharAttributes> m_unknownFormat;
    std::vector<std::optional<QTextImageFormat>> m_pictures;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};
