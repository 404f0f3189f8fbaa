// Scheme colours, window regions and the clock text's top.
#include "core/Appearance.h"

namespace core {

namespace {

const SchemeColors schemes[SCHEME_COUNT] = {
    {{200, 220, 250}, {100, 120, 190}, {50, 50, 100}},  // Blue
    {{200, 250, 200}, {75, 150, 75}, {50, 100, 50}},    // Green
    {{250, 200, 200}, {150, 90, 90}, {100, 50, 50}},    // Red
    {{250, 250, 150}, {150, 150, 50}, {50, 50, 0}},     // Yellow
    {{220, 220, 220}, {120, 120, 120}, {50, 50, 50}},   // Gray
    {{250, 200, 220}, {140, 100, 120}, {50, 20, 35}},   // Pink
};

}  // namespace

bool ColorsOfScheme(int index, SchemeColors& colors)
{
    if (index < 0 || index >= SCHEME_COUNT)
        return false;
    colors = schemes[index];
    return true;
}

int Scaled(int value, int dpi)
{
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = DESIGN_DPI / 2;
    return static_cast<int>(product >= 0 ? (product + half) / DESIGN_DPI : (product - half) / DESIGN_DPI);
}

int Unscaled(int value, int dpi)
{
    if (dpi <= 0)
        return value;
    const long long product = static_cast<long long>(value) * DESIGN_DPI;
    const long long half = dpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / dpi : (product - half) / dpi);
}

LogicalFont FontAtDpi(LogicalFont font, int dpi)
{
    font.height = Scaled(font.height, dpi);
    font.width = Scaled(font.width, dpi);
    return font;
}

LogicalFont FontAtDesignDpi(LogicalFont font, int dpi)
{
    font.height = Unscaled(font.height, dpi);
    font.width = Unscaled(font.width, dpi);
    return font;
}

StripLayout StripAt(int dpi)
{
    StripLayout strip;
    strip.titleHeight = Scaled(TITLE_HEIGHT, dpi);
    strip.menuButton = {0, 0, Scaled(17, dpi), strip.titleHeight + 1};
    const Point arrow[3] = {{3, 9}, {13, 9}, {8, 14}};
    for (int i = 0; i < 3; ++i)
        strip.arrow[i] = {Scaled(arrow[i].x, dpi), Scaled(arrow[i].y, dpi)};
    return strip;
}

RegionOutline WindowRegion(int shape, int fullLayout, int width, int height, int ellipse, int dpi)
{
    const int h = fullLayout == 0 ? Scaled(TITLE_HEIGHT, dpi) + 1 : height;
    ellipse = Scaled(ellipse, dpi);
    RegionOutline outline;
    outline.rect = {0, 0, width, h};
    if (shape == 1 || shape == 2) {
        outline.rounded = true;
        outline.ellipse = ellipse;
        outline.rect.right = width + 1;
        outline.rect.bottom = shape == 1 && fullLayout != 0 ? h + ellipse : h + 1;
    }
    return outline;
}

int TextTop(int titleHeight, int fontHeight)
{
    // -fontHeight < titleHeight, written so that no negation can overflow.
    if (fontHeight > -titleHeight)
        return static_cast<int>((static_cast<long long>(titleHeight) + fontHeight) / 3);
    return 0;
}

}  // namespace core
