// Desktop geometry: points, rectangles, the platform's containment rule and centring.
#pragma once

namespace core {

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Left and top edges are inside, right and bottom edges outside.
bool Contains(const Rect& area, Point p);

// The top-left corner at which a window the size of `window` is centred on `area`.
// Both halves are integer divisions truncating toward zero, so odd sizes lean left and up
// and areas with negative coordinates round toward zero.
Point CenteredOrigin(const Rect& area, const Rect& window);

}  // namespace core
