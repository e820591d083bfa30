#include "styles/style.h"

#include "core/code_page.h"
#include "styles/style_target.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace {

const QString kSeparator = QStringLiteral("; ");
// Fields after the name: face, size, four flags, colour, mask.
constexpr int kFieldsAfterName = 8;

// Only spaces: they are what the separator adds.
QStringView trimSpaces(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.mid(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// A line break inside a field would cut the style's line in two.
QString oneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Sizes were a fixed-point value with four decimal places.
double fixedPoint(double size)
{
    return std::round(size * 10000.0) / 10000.0;
}

// The locale's decimal sign, with Latin digits: the file is Windows-1251, and
// a sign other than the comma or the point would not survive in it.
QString sizeText(double size)
{
    QString text = QString::number(fixedPoint(size), 'f', QLocale::FloatingPointShortest);
    if (QLocale().decimalPoint() == QStringLiteral(","))
        text.replace(u'.', u',');
    return text;
}

// Either decimal sign, whatever the locale: a file written under one locale
// reads the same under another.
std::optional<double> numberOf(QStringView text)
{
    QString c = text.toString();
    c.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(c, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> sizeOf(QStringView text)
{
    const std::optional<double> number = numberOf(text);
    if (!number)
        return std::nullopt;
    const double size = fixedPoint(*number);
    if (size < Style::MinSize || size > Style::MaxSize)
        return std::nullopt;
    return size;
}

std::optional<bool> flagOf(QStringView text)
{
    if (text.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = numberOf(text);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

// Upper-case hexadecimal of the 32 bits, so a system colour (top bit set)
// comes back as the same value.
std::optional<quint32> colorOf(QStringView text)
{
    const auto hexDigit = [](QChar ch) {
        const char16_t c = ch.unicode();
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    };
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), hexDigit))
        return std::nullopt;
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 16);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<quint32>(value);
}

std::optional<Style> styleOf(QStringView name, const QList<QStringView>& fields)
{
    Style style;
    style.setName(trimSpaces(name).toString());
    StyleFont& font = style.font();
    font.name = trimSpaces(fields[0]).toString();
    const std::optional<double> size = sizeOf(trimSpaces(fields[1]));
    if (!size)
        return std::nullopt;
    font.size = *size;
    for (auto [index, flag] : {std::pair{2, &font.bold}, std::pair{3, &font.italic},
                               std::pair{4, &font.underline}, std::pair{5, &font.strikeThru}}) {
        const std::optional<bool> value = flagOf(trimSpaces(fields[index]));
        if (!value)
            return std::nullopt;
        *flag = *value;
    }
    const std::optional<quint32> color = colorOf(trimSpaces(fields[6]));
    if (!color)
        return std::nullopt;
    style.setColor(*color);
    bool ok = false;
    const qint16 mask = trimSpaces(fields[7]).toShort(&ok);
    if (!ok)
        return std::nullopt;
    style.setUnused(mask);
    return style;
}

// The name is what comes before the last eight fields, so a name holding
// ";" reads back whole.
std::optional<Style> styleFromTheRight(QStringView line)
{
    qsizetype cut = line.size();
    for (int i = 0; i < kFieldsAfterName; ++i)
        cut = line.lastIndexOf(u';', cut - 1);
    return styleOf(line.left(cut), line.mid(cut + 1).split(u';'));
}

} // namespace

void Style::applyTo(StyleTarget& target) const
{
    target.applyAsOneEdit([&] {
        if (m_unused & FaceName)
            target.setSelFontName(m_font.name);
        if (m_unused & Size)
            target.setSelFontSize(m_font.size);
        if (m_unused & Bold)
            target.setSelBold(m_font.bold);
        if (m_unused & Italic)
            target.setSelItalic(m_font.italic);
        if (m_unused & Underline)
            target.setSelUnderline(m_font.underline);
        if (m_unused & StrikeThru)
            target.setSelStrikeThru(m_font.strikeThru);
        if (m_unused & Colour)
            target.setSelColor(m_color);
    });
}

bool Style::faceNameStorable(QStringView faceName)
{
    return !faceName.contains(u';') && CodePage::canEncode(faceName);
}

QString Style::save() const
{
    const auto flag = [](bool on) { return on ? QStringLiteral("-1") : QStringLiteral("0"); };
    const QString face = faceNameStorable(m_font.name) ? m_font.name : StyleFont::defaultName();
    return QStringList{oneLine(m_name),          oneLine(face),
                       sizeText(m_font.size),    flag(m_font.bold),
                       flag(m_font.italic),      flag(m_font.underline),
                       flag(m_font.strikeThru),  QString::number(m_color, 16).toUpper(),
                       QString::number(m_unused)}
        .join(kSeparator);
}

bool Style::load(QStringView line)
{
    const QList<QStringView> parts = line.split(u';');
    if (parts.size() <= kFieldsAfterName)
        return false;
    std::optional<Style> style = styleFromTheRight(line);
    // A line with extra fields at its end rather than in its name.
    if (!style && parts.size() > kFieldsAfterName + 1)
        style = styleOf(parts[0], parts.mid(1, kFieldsAfterName));
    if (!style)
        return false;
    *this = *style;
    return true;
}
