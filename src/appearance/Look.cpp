// Colour schemes, outlines, fonts, the clock and the painting of the window's own surface.
#include "appearance/Look.h"

#include "core/FormatMoment.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/PaintDC.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"

namespace {

// The month calendar's font: Tahoma at height -11, plain.
constexpr const wchar_t* CALENDAR_FONT_FACE = L"Tahoma";
constexpr LONG CALENDAR_FONT_HEIGHT = -11;

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
    fw::GradientFill(dc, vertices, 2, &rect, 1, gradient < 2 ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace

void Look::Attach(HWND lookedAfter)
{
    window = lookedAfter;
    mode = SystemTheme::Mode();
    theme.Watch(window);
}

void Look::ApplyColorScheme(int index)
{
    settings.colorScheme = index;
    if (index >= 0 && index < core::SCHEME_COUNT)
        paletteScheme = index;
    palette = core::PaletteOf(paletteScheme, mode, SystemTheme::Colors());
    MakeTools();
}

bool Look::FollowSystem()
{
    mode = SystemTheme::Mode();
    const core::Palette before = palette;
    palette = core::PaletteOf(paletteScheme, mode, SystemTheme::Colors());
    if (palette == before)
        return false;
    MakeTools();
    return true;
}

void Look::MakeTools()
{
    midPen.Attach(CreatePen(PS_SOLID, 1, fw::ColorRef(palette.frame)));
    darkPen.Attach(CreatePen(PS_SOLID, 1, fw::ColorRef(palette.stripText)));
    midBrush.Attach(CreateSolidBrush(fw::ColorRef(palette.frame)));
}

void Look::ApplyWindowShape(int index)
{
    settings.shape = index;
    RECT client{};
    GetClientRect(window, &client);
    const core::RegionOutline outline =
        core::WindowRegion(index, settings.fullLayout, client.right, client.bottom, settings.cornerEllipse, dpi);
    const RECT r{outline.rect.left, outline.rect.top, outline.rect.right, outline.rect.bottom};
    fw::CRgn region(outline.rounded ? CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, outline.ellipse, outline.ellipse)
                                    : CreateRectRgnIndirect(&r));
    // The window owns the region from here on.
    if (SetWindowRgn(window, region.Get(), TRUE))
        region.Detach();
}

void Look::CreateFonts()
{
    RemakeTitleFont();
    RemakeNotesFont();
}

void Look::RemakeTitleFont()
{
    titleFontObject = CreateFontFrom(core::FontAtDpi(settings.titleFont, dpi));
}

void Look::RemakeNotesFont()
{
    notesFontObject = CreateFontFrom(core::FontAtDpi(settings.notesFont, dpi));
}

HFONT Look::CalendarFont()
{
    if (!calendarFontObject || calendarFontDpi != dpi) {
        calendarFontObject = CreatePlainFont(CALENDAR_FONT_FACE, core::Scaled(CALENDAR_FONT_HEIGHT, dpi));
        calendarFontDpi = dpi;
    }
    return calendarFontObject.Get();
}

core::LogicalFont Look::BaseFont()
{
    return PlainLogicalFont(CALENDAR_FONT_FACE, CALENDAR_FONT_HEIGHT);
}

void Look::MeasureStrip()
{
    RECT client{};
    GetClientRect(window, &client);
    const core::StripLayout strip = core::StripAt(dpi);
    titleStripRect = {0, 0, client.right, strip.titleHeight};
    const core::Rect& button = strip.menuButton;
    menuButtonRect = {button.left, button.top, button.right, button.bottom};
    for (int i = 0; i < 3; ++i)
        arrow[i] = {strip.arrow[i].x, strip.arrow[i].y};
}

void Look::StartClock(core::Moment now)
{
    lastClockTime = now;
}

// The strip repaints when the text of the current moment differs from the text of the
// moment last painted, both in the format of this tick. A hundred ticks fall in each second,
// and the same moment in the same format gives the same text, so each text is made once:
// the current moment's when the second or the format changes, the last painted one's when
// the format changes.
void Look::UpdateClock(const std::string& format)
{
    const core::Moment now = fw::TimeSource().Now();
    if (now == clockCache.moment && format == clockCache.format && clockCache.valid)
        return;
    if (format != clockCache.format || !clockCache.valid)
        clockCache.lastText = core::FormatMoment(fw::TimeSource(), lastClockTime, format);
    clockCache = {true, now, format, clockCache.lastText};
    const std::string text = core::FormatMoment(fw::TimeSource(), now, format);
    if (text != clockCache.lastText) {
        lastClockTime = now;
        clockCache.lastText = text;
        // No erase first: the paint covers the whole strip, and the dialog's own background
        // erase would cost as much as the strip's paint once a second.
        RedrawWindow(window, &titleStripRect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

// Objects selected into the paint DC are deselected (guards) before the DC is released.
void Look::Paint(const std::string& clockText)
{
    fw::PaintDC paint(window);
    const HDC dc = paint.Get();
    RECT client{};
    GetClientRect(window, &client);
    {
        fw::CBrush background(CreateSolidBrush(fw::ColorRef(palette.background)));
        FillRect(dc, &client, background.Get());
    }
    FillTitleGradient(dc, titleStripRect, settings.titleGradient, fw::ColorRef(palette.stripLight),
                      fw::ColorRef(palette.stripMid));

    fw::SelectGuard fontGuard(dc, titleFontObject.Get());
    fw::SelectGuard penGuard(dc, darkPen.Get());
    fw::SelectGuard brushGuard(dc, midBrush.Get());
    FrameWith(dc, client, fw::ColorRef(palette.frame));
    FrameWith(dc, menuButtonRect, fw::ColorRef(palette.frame));
    Polygon(dc, arrow, 3);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fw::ColorRef(palette.stripText));
    const std::wstring clock = fw::Widen(clockText);
    RECT textRect{0, core::TextTop(titleStripRect.bottom, core::Scaled(settings.titleFont.height, dpi)),
                  titleStripRect.right, titleStripRect.bottom};
    DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &textRect, DT_CENTER);

    SelectObject(dc, midPen.Get());
    MoveToEx(dc, 0, titleStripRect.bottom, nullptr);
    LineTo(dc, titleStripRect.right, titleStripRect.bottom);
}

void Look::Repaint()
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
