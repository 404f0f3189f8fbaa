// Painting the window's own surface: background, frame, title strip, menu button and clock.
#include <cstdio>

#include "core/Moment.h"
#include "framework/PaintDC.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "window/CalendarWindow.h"

namespace {

void FrameWith(HDC dc, const RECT& rect, COLORREF color)
{
    fw::CBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &rect, brush.Get());
}

}  // namespace

// Hours, minutes and seconds of the local time.
std::string CalendarWindow::ClockTextAt(core::Moment moment) const
{
    core::LocalTime local;
    if (!fw::TimeSource().ToLocal(moment, local))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
    return text;
}

// Objects selected into the paint DC are deselected (guards) before they are deleted and
// before the DC is released, so the guards are declared after the objects and the DC first.
void CalendarWindow::OnPaint()
{
    fw::PaintDC paint(handle);
    const HDC dc = paint.Get();
    {
        fw::CBrush background(CreateSolidBrush(lightColor));
        FillRect(dc, &measuredRect, background.Get());
    }
    FrameWith(dc, measuredRect, midColor);
    FrameWith(dc, menuButtonRect, midColor);

    fw::CPen arrowPen(CreatePen(PS_SOLID, 1, darkColor));
    fw::CBrush arrowBrush(CreateSolidBrush(midColor));
    fw::CPen linePen(CreatePen(PS_SOLID, 1, midColor));
    fw::SelectGuard penGuard(dc, arrowPen.Get());
    fw::SelectGuard brushGuard(dc, arrowBrush.Get());
    const POINT arrow[] = {{3, 9}, {13, 9}, {8, 14}};
    Polygon(dc, arrow, 3);

    fw::SelectGuard fontGuard(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, darkColor);
    const std::wstring clock = fw::Widen(ClockTextAt(fw::TimeSource().Now()));
    RECT textRect{0, 2, titleStripRect.right, titleStripRect.bottom};
    DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &textRect, DT_CENTER);

    SelectObject(dc, linePen.Get());
    MoveToEx(dc, 0, titleStripRect.bottom, nullptr);
    LineTo(dc, titleStripRect.right, titleStripRect.bottom);
}
