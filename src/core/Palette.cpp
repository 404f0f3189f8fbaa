// The palettes of the three colour modes and the contrast between two colours.
#include "core/Palette.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

// The dark variant of a scheme: its hue kept, darkened, with light text.
struct DarkScheme {
    Rgb background, stripLight, stripMid, frame, text, calendarTitle, notesBackground, notesText;
};

const DarkScheme darkSchemes[SCHEME_COUNT] = {
    // Blue
    {{20, 23, 31}, {26, 33, 61}, {41, 53, 97}, {68, 89, 162},
     {223, 226, 236}, {133, 149, 204}, {18, 19, 23}, {232, 233, 237}},
    // Green
    {{21, 30, 21}, {29, 58, 29}, {46, 92, 46}, {76, 153, 76},
     {224, 235, 224}, {139, 197, 139}, {18, 22, 18}, {233, 237, 233}},
    // Red
    {{29, 22, 22}, {54, 33, 33}, {86, 52, 52}, {143, 86, 86},
     {233, 226, 226}, {190, 147, 147}, {22, 19, 19}, {236, 233, 233}},
    // Yellow
    {{31, 31, 20}, {63, 63, 24}, {100, 100, 38}, {166, 166, 63},
     {236, 236, 223}, {207, 207, 129}, {23, 23, 18}, {237, 237, 232}},
    // Gray
    {{26, 26, 26}, {43, 43, 43}, {69, 69, 69}, {115, 115, 115},
     {230, 230, 230}, {168, 168, 168}, {20, 20, 20}, {235, 235, 235}},
    // Pink
    {{28, 23, 25}, {51, 36, 43}, {80, 57, 69}, {134, 96, 115},
     {232, 227, 230}, {183, 154, 168}, {21, 19, 20}, {236, 234, 235}},
};

// The dialogs are the system's own shape, so they take the system's neutral dark, whatever
// the scheme.
constexpr Rgb DARK_DIALOG_BACKGROUND{32, 32, 32};
constexpr Rgb DARK_DIALOG_TEXT{240, 240, 240};
constexpr Rgb DARK_DIALOG_LINK{128, 176, 255};

// The neighbouring months' days are drawn in the month's background, so that they vanish.
CalendarColors Calendar(Rgb background, Rgb text, Rgb title, Rgb titleText)
{
    return {background, text, title, titleText, background, background};
}

Palette LightPalette(int scheme)
{
    SchemeColors colors;
    ColorsOfScheme(scheme, colors);
    Palette palette;
    palette.background = palette.stripLight = colors.light;
    palette.stripMid = palette.frame = colors.mid;
    palette.stripText = colors.dark;
    palette.calendar = Calendar(colors.light, colors.dark, colors.mid, colors.light);
    return palette;
}

Palette DarkPalette(int scheme)
{
    const DarkScheme& dark = darkSchemes[scheme];
    Palette palette;
    palette.background = dark.background;
    palette.stripLight = dark.stripLight;
    palette.stripMid = dark.stripMid;
    palette.frame = dark.frame;
    palette.stripText = dark.text;
    // The title band is the bright one, with the month's dark background as its text, so that
    // the week numbers and the day names, drawn in the title's colour, stand out too.
    palette.calendar = Calendar(dark.background, dark.text, dark.calendarTitle, dark.background);
    palette.ownBoxColors = true;
    palette.notesBackground = dark.notesBackground;
    palette.notesText = dark.notesText;
    palette.dialogBackground = DARK_DIALOG_BACKGROUND;
    palette.dialogText = DARK_DIALOG_TEXT;
    palette.dialogLink = DARK_DIALOG_LINK;
    palette.darkFrames = true;
    return palette;
}

Palette HighContrastPalette(const SystemColors& system)
{
    Palette palette;
    palette.background = system.window;
    palette.stripLight = palette.stripMid = system.buttonFace;
    palette.frame = system.windowText;
    palette.stripText = system.buttonText;
    palette.calendar = Calendar(system.window, system.windowText, system.highlight, system.highlightText);
    palette.ownBoxColors = true;
    palette.notesBackground = system.window;
    palette.notesText = system.windowText;
    palette.dialogBackground = system.buttonFace;
    palette.dialogText = system.buttonText;
    palette.dialogLink = system.hotLight;
    return palette;
}

double Channel(std::uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const Rgb& color)
{
    return 0.2126 * Channel(color.red) + 0.7152 * Channel(color.green) + 0.0722 * Channel(color.blue);
}

bool Same(const CalendarColors& a, const CalendarColors& b)
{
    return a.background == b.background && a.text == b.text && a.titleBackground == b.titleBackground &&
           a.titleText == b.titleText && a.trailingText == b.trailingText && a.monthBackground == b.monthBackground;
}

}  // namespace

ColorMode ChooseColorMode(bool highContrast, std::optional<std::uint32_t> appsUseLightTheme)
{
    if (highContrast)
        return ColorMode::HighContrast;
    return appsUseLightTheme && *appsUseLightTheme == 0 ? ColorMode::Dark : ColorMode::Light;
}

Palette PaletteOf(int scheme, ColorMode mode, const SystemColors& system)
{
    if (scheme < 0 || scheme >= SCHEME_COUNT)
        scheme = 0;
    switch (mode) {
    case ColorMode::Dark:
        return DarkPalette(scheme);
    case ColorMode::HighContrast:
        return HighContrastPalette(system);
    case ColorMode::Light:
        break;
    }
    return LightPalette(scheme);
}

bool Palette::operator==(const Palette& other) const
{
    return background == other.background && stripLight == other.stripLight && stripMid == other.stripMid &&
           frame == other.frame && stripText == other.stripText && Same(calendar, other.calendar) &&
           ownBoxColors == other.ownBoxColors && notesBackground == other.notesBackground &&
           notesText == other.notesText && dialogBackground == other.dialogBackground &&
           dialogText == other.dialogText && dialogLink == other.dialogLink && darkFrames == other.darkFrames;
}

double ContrastRatio(const Rgb& first, const Rgb& second)
{
    const double a = RelativeLuminance(first), b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace core
