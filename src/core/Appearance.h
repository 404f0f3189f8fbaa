// The look's rules that need no window: scheme colours, the window region's outline and
// where the clock text starts.
#pragma once

#include <cstdint>

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

// Rows of the title strip and the line under it, which is all the compact layout shows.
constexpr int COMPACT_HEIGHT = 24;

// The region of a `width` x `height` window for `shape` (0 rectangle, 1 rounded top,
// 2 rounded all, anything else rectangle) in the full layout (`fullLayout` non-zero) or the
// compact one. Rounded-rectangle regions reach one pixel beyond the area they round, since
// the platform leaves out the right and bottom edges of them; "rounded top" in the full
// layout reaches `ellipse` pixels below the window, so only its top corners show rounded.
RegionOutline WindowRegion(int shape, int fullLayout, int width, int height, int ellipse);

// The top of the clock text in a strip `titleHeight` high for a font of `fontHeight`
// (the logical font's height: negative for a character height, positive for a cell).
int TextTop(int titleHeight, int fontHeight);

}  // namespace core
