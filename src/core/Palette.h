// Every colour the program draws itself, for the scheme and the system's colour mode: the
// light schemes as designed, their dark variants, and high contrast from the system's colours.
#pragma once

#include <cstdint>
#include <optional>

#include "core/Appearance.h"

namespace core {

// High contrast wins over the dark app mode, which wins over light.
enum class ColorMode { Light, Dark, HighContrast };

// `appsUseLightTheme` is the user's app mode value, missing when it is not set: only 0 is
// dark.
ColorMode ChooseColorMode(bool highContrast, std::optional<std::uint32_t> appsUseLightTheme);

// The system colours high contrast draws with.
struct SystemColors {
    Rgb window, windowText;           // COLOR_WINDOW, COLOR_WINDOWTEXT
    Rgb buttonFace, buttonText;       // COLOR_BTNFACE, COLOR_BTNTEXT
    Rgb highlight, highlightText;     // COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT
    Rgb hotLight;                     // COLOR_HOTLIGHT, the links'
};

// The month calendar's six colour slots.
struct CalendarColors {
    Rgb background, text, titleBackground, titleText, trailingText, monthBackground;
};

struct Palette {
    Rgb background;             // the window's surface
    Rgb stripLight, stripMid;   // the title gradient's two ends
    Rgb frame;                  // the outline, the button's frame, the line under the strip, the arrow's fill
    Rgb stripText;              // the clock, the arrow's outline
    CalendarColors calendar;
    // In the light mode the notes box and the dialogs keep the system's colours; otherwise
    // they take these.
    bool ownBoxColors = false;
    Rgb notesBackground, notesText;
    Rgb dialogBackground, dialogText, dialogLink;
    // Captions, menus and scroll bars in the system's dark variant.
    bool darkFrames = false;

    bool operator==(const Palette& other) const;
    bool operator!=(const Palette& other) const { return !(*this == other); }
};

// The palette of scheme `scheme` (0 to SCHEME_COUNT - 1) in `mode`; `system` is read in high
// contrast only.
Palette PaletteOf(int scheme, ColorMode mode, const SystemColors& system);

// WCAG 2's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double ContrastRatio(const Rgb& first, const Rgb& second);

}  // namespace core
