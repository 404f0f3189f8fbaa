// The look's rules that need no window: scheme colours, the window region's outline and
// where the clock text starts.
#pragma once

#include <cstdint>

#include "core/CalendarSettings.h"
#include "core/Desktop.h"

namespace core {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;

    bool operator==(const Rgb& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

struct SchemeColors {
    Rgb light;  // background, light end of the title gradient
    Rgb mid;    // frames, calendar title, other end of the gradient
    Rgb dark;   // clock text, day numbers, arrow outline
};

// Schemes 0 to 4 are on the menu; 5 is reachable only from a settings file.
constexpr int SCHEME_COUNT = 6;

// The colours of scheme `index`; false for an index outside 0 to 5.
bool ColorsOfScheme(int index, SchemeColors& colors);

// The window region: a rectangle, or a rectangle with corners rounded by an ellipse.
struct RegionOutline {
    bool rounded = false;
    Rect rect;
    int ellipse = 0;
};

// Every size of the window is designed at 96 DPI and drawn at the window's DPI.
constexpr int DESIGN_DPI = 96;
// `value`, designed at 96 DPI, at `dpi`: rounded half away from zero, as MulDiv does.
int Scaled(int value, int dpi);
// The 96-DPI value of `value` measured at `dpi`, the way back of Scaled.
int Unscaled(int value, int dpi);

// The settings keep their fonts' sizes at 96 DPI, whatever the scale they were chosen at, so
// that the file is the same on every screen: a font is made at the window's DPI, and one
// chosen at a DPI is stored back at 96.
LogicalFont FontAtDpi(LogicalFont font, int dpi);
LogicalFont FontAtDesignDpi(LogicalFont font, int dpi);

// The title strip at a DPI: its height, the menu button at its left end and the button's
// arrow. The lines around them stay one pixel wide, drawn sharper, not thicker.
struct StripLayout {
    int titleHeight = 0;
    Rect menuButton;
    Point arrow[3];
};
constexpr int TITLE_HEIGHT = 23;
StripLayout StripAt(int dpi);

// Rows of the title strip and the line under it, which is all the compact layout shows.
constexpr int COMPACT_HEIGHT = TITLE_HEIGHT + 1;

// The region of a `width` x `height` window for `shape` (0 rectangle, 1 rounded top,
// 2 rounded all, anything else rectangle) in the full layout (`fullLayout` non-zero) or the
// compact one, at `dpi`: the compact height and the corners' `ellipse` (a 96-DPI size) are
// scaled. Rounded-rectangle regions reach one pixel beyond the area they round, since the
// platform leaves out the right and bottom edges of them; "rounded top" in the full layout
// reaches the ellipse below the window, so only its top corners show rounded.
RegionOutline WindowRegion(int shape, int fullLayout, int width, int height, int ellipse, int dpi = DESIGN_DPI);

// The top of the clock text in a strip `titleHeight` high for a font of `fontHeight`
// (the logical font's height: negative for a character height, positive for a cell).
int TextTop(int titleHeight, int fontHeight);

}  // namespace core
