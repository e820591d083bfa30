#include "richtext/win_color.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;
constexpr QPalette::ColorGroup kInactive = QPalette::Inactive;
constexpr QPalette::ColorGroup kDisabled = QPalette::Disabled;

// Indexed by the Windows system colour number (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30).
constexpr std::array<SystemRole, 31> kSystemRoles = {{
    {kActive, QPalette::Button},            // scroll bar
    {kActive, QPalette::Window},            // desktop
    {kActive, QPalette::Highlight},         // active caption
    {kInactive, QPalette::Highlight},       // inactive caption
    {kActive, QPalette::Window},            // menu
    {kActive, QPalette::Base},              // window
    {kActive, QPalette::Dark},              // window frame
    {kActive, QPalette::WindowText},        // menu text
    {kActive, QPalette::Text},              // window text
    {kActive, QPalette::HighlightedText},   // caption text
    {kActive, QPalette::Window},            // active border
    {kInactive, QPalette::Window},          // inactive border
    {kActive, QPalette::Mid},               // application workspace
    {kActive, QPalette::Highlight},         // highlight
    {kActive, QPalette::HighlightedText},   // highlighted text
    {kActive, QPalette::Button},            // button face
    {kActive, QPalette::Dark},              // button shadow
    {kDisabled, QPalette::Text},            // grey text
    {kActive, QPalette::ButtonText},        // button text
    {kInactive, QPalette::HighlightedText}, // inactive caption text
    {kActive, QPalette::Light},             // button highlight
    {kActive, QPalette::Shadow},            // 3D dark shadow
    {kActive, QPalette::Midlight},          // 3D light
    {kActive, QPalette::ToolTipText},       // info text
    {kActive, QPalette::ToolTipBase},       // info background
    {kActive, QPalette::Window},            // (unused by Windows)
    {kActive, QPalette::Link},              // hot-tracked item
    {kActive, QPalette::Highlight},         // gradient active caption
    {kInactive, QPalette::Highlight},       // gradient inactive caption
    {kActive, QPalette::Highlight},         // menu highlight
    {kActive, QPalette::Window},            // menu bar
}};

} // namespace

QColor WinColor::toQColor(quint32 winColor, const QPalette& palette)
{
    if (winColor & systemFlag) {
        const quint32 index = winColor & 0xFFu;
        // Windows answers an unknown system colour with black; so do we, rather than
        // reading the reference as a colour value.
        if ((winColor & 0x7FFFFF00u) != 0 || index >= kSystemRoles.size())
            return QColor(0, 0, 0);
        const SystemRole& r = kSystemRoles[index];
        return palette.color(r.group, r.role).toRgb();
    }
    // A high byte other than the system flag belongs to the GDI palette forms, which
    // the program never stores; reading the low three bytes keeps such a value harmless.
    return QColor(int(winColor & 0xFFu), int((winColor >> 8) & 0xFFu),
                  int((winColor >> 16) & 0xFFu));
}

quint32 WinColor::fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

namespace {

constexpr double kReadableContrast = 4.5;

double luminance(const QColor& color)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double WinColor::contrast(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor WinColor::readableOn(const QColor& background, const QColor& preferred)
{
    if (contrast(preferred, background) >= kReadableContrast)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast(black, background) >= contrast(white, background) ? black : white;
}
