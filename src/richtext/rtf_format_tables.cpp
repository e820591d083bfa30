#include "richtext/rtf_format_tables.h"

#include "richtext/rtf_output.h"

#include <QTextDocument>
#include <cmath>

namespace {

constexpr double kFallbackPointSize = 12.0;

bool isBold(int weight)
{
    return weight > QFont::Medium;
}

// A font name ends at ';' in the font table and cannot contain one.
QString tableSafeName(QString name)
{
    name.remove(QLatin1Char(';'));
    return name.trimmed();
}

// Qt's generic aliases name no font that a reader of the RTF has; the pages were
// written on Windows in Tahoma, so that is what a page without a font of its own
// declares.
QString realFamily(const QString& family)
{
    static constexpr QStringView genericAliases[] = {u"Sans Serif", u"SansSerif", u"sans-serif",
                                                     u"Sans", u"system-ui"};
    const QString name = family.trimmed();
    if (name.isEmpty())
        return QStringLiteral("Tahoma");
    for (const QStringView alias : genericAliases) {
        if (name.compare(alias, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Tahoma");
    }
    return family;
}

} // namespace

RtfFormatTables::RtfFormatTables(const QTextDocument& doc)
    : m_defaultFont(doc.defaultFont()), m_formats(doc.allFormats())
{
    m_resolved.resize(m_formats.size());
    m_pictures.resize(m_formats.size());
    for (qsizetype i = 0; i < m_formats.size(); ++i) {
        if (m_formats.at(i).isImageFormat())
            m_pictures[i] = m_formats.at(i).toImageFormat();
    }
}

const QTextImageFormat* RtfFormatTables::picture(int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= qsizetype(m_pictures.size()) || !m_pictures[formatIndex])
        return nullptr;
    return &*m_pictures[formatIndex];
}

const RtfCharAttributes& RtfFormatTables::attributes(int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= qsizetype(m_resolved.size())) {
        if (!m_unknownFormat)
            m_unknownFormat = resolve(QTextCharFormat());
        return *m_unknownFormat;
    }
    std::optional<RtfCharAttributes>& slot = m_resolved[formatIndex];
    if (!slot)
        slot = resolve(m_formats.at(formatIndex).toCharFormat());
    return *slot;
}

RtfCharAttributes RtfFormatTables::resolve(const QTextCharFormat& format)
{
    RtfCharAttributes a;
    a.font = fontIndex(familyOf(format));
    a.halfPoints = std::max(1, int(std::lround(pointSizeOf(format) * 2.0)));
    a.bold = format.hasProperty(QTextFormat::FontWeight) ? isBold(format.fontWeight())
                                                         : m_defaultFont.bold();
    a.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : m_defaultFont.italic();
    a.underline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                          format.hasProperty(QTextFormat::FontUnderline)
                      ? format.fontUnderline()
                      : m_defaultFont.underline();
    a.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                              : m_defaultFont.strikeOut();
    a.color = colorIndex(format, QTextFormat::ForegroundBrush);
    a.highlight = colorIndex(format, QTextFormat::BackgroundBrush);
    return a;
}

QString RtfFormatTables::familyOf(const QTextCharFormat& format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    if (!family.isEmpty())
        return family;
    return realFamily(m_defaultFont.family());
}

double RtfFormatTables::pointSizeOf(const QTextCharFormat& format) const
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    const double size = m_defaultFont.pointSizeF();
    return size > 0 ? size : kFallbackPointSize;
}

int RtfFormatTables::fontIndex(const QString& family)
{
    const QString name = tableSafeName(family);
    const auto found = m_fontIndex.constFind(name);
    if (found != m_fontIndex.cend())
        return found.value();
    const int index = int(m_fonts.size());
    m_fonts.append(name);
    m_fontIndex.insert(name, index);
    return index;
}

int RtfFormatTables::colorIndex(const QTextCharFormat& format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return 0;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = brush.color().rgb() | 0xFF000000u;
    const auto found = m_colorIndex.constFind(rgb);
    if (found != m_colorIndex.cend())
        return found.value();
    m_colors.append(rgb);
    const int index = int(m_colors.size()); // entry 0 is the automatic colour
    m_colorIndex.insert(rgb, index);
    return index;
}

void RtfFormatTables::writeFontTable(RtfOutput& out)
{
    if (m_fonts.isEmpty())
        fontIndex(realFamily(m_defaultFont.family()));
    out.raw("{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        // Every \'hh we write is Windows-1251, so every font declares the Cyrillic charset.
        out.controlWord("{\\f", int(i));
        out.controlWord("\\fnil\\fcharset204");
        out.text(m_fonts.at(i));
        out.raw(";}");
    }
    out.raw("}");
}

void RtfFormatTables::writeColorTable(RtfOutput& out) const
{
    out.raw("{\\colortbl ;");
    for (const QRgb rgb : m_colors) {
        out.controlWord("\\red", qRed(rgb));
        out.controlWord("\\green", qGreen(rgb));
        out.controlWord("\\blue", qBlue(rgb));
        out.raw(";");
    }
    out.raw("}");
}
