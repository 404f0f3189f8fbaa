// Painting the window's own surface: background, title gradient, frame, menu button, clock.
#include "core/Appearance.h"
#include "framework/PaintDC.h"
#include "framework/Text.h"
#include "window/CalendarWindow.h"

namespace {

void FrameWith(HDC dc, const RECT& rect, COLORREF color)
{
    fw::CBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &rect, brush.Get());
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    return vertex;
}

// Gradients 0 and 1 run from top to bottom, 2 and 3 from left to right; the odd ones start
// with the middle colour. Any other value leaves the strip in the background colour.
void FillTitleGradient(HDC dc, const RECT& strip, int gradient, COLORREF light, COLORREF mid)
{
    if (gradient < 0 || gradient > 3)
        return;
    const bool midFirst = gradient % 2 == 1;
    TRIVERTEX vertices[2] = {Vertex(0, 0, midFirst ? mid : light),
                             Vertex(strip.right, strip.bottom, midFirst ? light : mid)};
    GRADIENT_RECT rect{0, 1};
    GradientFill(dc, vertices, 2, &rect, 1, gradient < 2 ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace

// Objects selected into the paint DC are deselected (guards) before the DC is released.
void CalendarWindow::OnPaint()
{
    fw::PaintDC paint(handle);
    const HDC dc = paint.Get();
    {
        fw::CBrush background(CreateSolidBrush(lightColor));
        FillRect(dc, &measuredRect, background.Get());
    }
    FillTitleGradient(dc, titleStripRect, settings.titleGradient, lightColor, midColor);

    fw::SelectGuard fontGuard(dc, titleFontObject.Get());
    fw::SelectGuard penGuard(dc, darkPen.Get());
    fw::SelectGuard brushGuard(dc, midBrush.Get());
    FrameWith(dc, measuredRect, midColor);
    FrameWith(dc, menuButtonRect, midColor);
    const POINT arrow[] = {{3, 9}, {13, 9}, {8, 14}};
    Polygon(dc, arrow, 3);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, darkColor);
    const std::wstring clock = fw::Widen(ClockText(true));
    RECT textRect{0, core::TextTop(titleHeight, settings.titleFont.height), titleStripRect.right,
                  titleStripRect.bottom};
    DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &textRect, DT_CENTER);

    SelectObject(dc, midPen.Get());
    MoveToEx(dc, 0, titleStripRect.bottom, nullptr);
    LineTo(dc, titleStripRect.right, titleStripRect.bottom);
}
