#pragma once

#include <QString>
#include <QStringView>

class StyleTarget;

// The character attributes a style carries.
struct StyleFont
{
    static QString defaultName() { return QStringLiteral("Tahoma"); }

    QString name = defaultName();
    // Points, kept to four decimal places as the original fixed-point value was.
    double size = 8.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeThru = false;

    bool operator==(const StyleFont&) const = default;
};

// A named set of character attributes and the mask of those it transfers.
// One style is one line of "Styles.dat":
//   Title; Tahoma; 10; -1; 0; 0; 0; FF; 255
// name, face, size, bold, italic, underline, strikeout (-1 on, 0 off),
// colour in hexadecimal, mask.
class Style
{
public:
    // Bits of `unused`, in the order applyTo sets them.
    enum Attribute : qint16
    {
        FaceName = 1,
        Size = 2,
        Bold = 4,
        Italic = 8,
        Underline = 16,
        StrikeThru = 32,
        Colour = 64,
    };
    // Every bit on; bit 128 stands for nothing and marks a mask nobody edited.
    static constexpr qint16 AllAttributes = 255;
    // The sizes a line may carry: the rich-edit control's own limits.
    static constexpr double MinSize = 1.0;
    static constexpr double MaxSize = 1638.0;

    // A face the file can hold and give back: Windows-1251 and no ";". Any
    // other is written as the default face.
    static bool faceNameStorable(QStringView faceName);

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    // The style's own attributes; changing them changes the style.
    StyleFont& font() { return m_font; }
    const StyleFont& font() const { return m_font; }
    void setFont(const StyleFont& font) { m_font = font; }
    quint32 color() const { return m_color; }
    void setColor(quint32 winColor) { m_color = winColor; }
    qint16 unused() const { return m_unused; }
    void setUnused(qint16 mask) { m_unused = mask; }

    // Sets the attributes of the mask on the target's selection, as one edit.
    void applyTo(StyleTarget& target) const;

    // The style's line, without the line end.
    QString save() const;
    // Takes every field from a line. A damaged line changes nothing and
    // gives false.
    bool load(QStringView line);

    bool operator==(const Style&) const = default;

private:
    QString m_name;
    StyleFont m_font;
    quint32 m_color = 0;
    qint16 m_unused = AllAttributes;
};
