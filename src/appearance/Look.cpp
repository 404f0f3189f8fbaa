// Colour schemes, outlines, fonts, the clock and the painting of the window's own surface.
#include "appearance/Look.h"

#include <oleacc.h>

#include <algorithm>

#include "core/FormatMoment.h"
#include "framework/Accessible.h"
#include "framework/Colors.h"
#include "framework/Fonts.h"
#include "framework/PaintDC.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"

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

// A click of the button, posted: the menu it opens runs a loop of its own, which must not run
// inside a key's or an accessibility client's call.
void PressMenuButton(HWND button)
{
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_MENU_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The strip's press handler opens the menu and starts a drag, so the button lets the mouse
// through to it. Enter on the focused button opens the menu, where the dialog would take it
// for its default command, Close.
LRESULT CALLBACK MenuButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (message == WM_NCHITTEST)
        return HTTRANSPARENT;
    if (message == WM_GETDLGCODE && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_BUTTON | DLGC_WANTMESSAGE;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        PressMenuButton(button);
        return 0;
    }
    return fw::DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

void Look::Attach(HWND lookedAfter)
{
    window = lookedAfter;
    mode = SystemTheme::Mode();
    theme.Watch(window);
}

// Made where the strip's layout puts them: under Wine each later move of a control costs as
// much as making it.
void Look::MakeStripControls(const RECT& buttonRect, const RECT& clock)
{
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    menuButtonControl = CreateWindowExW(0, L"BUTTON", L"Menu", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                        buttonRect.left, buttonRect.top, buttonRect.right - buttonRect.left,
                                        buttonRect.bottom - buttonRect.top, window, reinterpret_cast<HMENU>(IDC_MENU_BUTTON), instance, nullptr);
    clockControl = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, clock.left, clock.top,
                                   clock.right - clock.left, clock.bottom - clock.top, window,
                                   reinterpret_cast<HMENU>(IDC_CLOCK), instance, nullptr);
    if (menuButtonControl) {
        fw::SetWindowSubclass(menuButtonControl, MenuButtonProcedure, 1, 0);
        const HWND button = menuButtonControl;
        fw::DescribeToAssistiveTechnology(button, {[] { return std::wstring(L"Menu"); }, ROLE_SYSTEM_PUSHBUTTON,
                                                   L"Press", [button] { PressMenuButton(button); }});
    }
    if (clockControl)
        fw::DescribeToAssistiveTechnology(
            clockControl, {[this] { return fw::Widen(clockCache.lastText); }, ROLE_SYSTEM_STATICTEXT, {}, {}});
}

void Look::ApplyColorScheme(int index)
{
    settings.colorScheme = index;
    if (index >= 0 && index < core::SCHEME_COUNT)
        paletteScheme = index;
    MakePalette();
}

bool Look::FollowSystem()
{
    mode = SystemTheme::Mode();
    return MakePalette();
}

bool Look::MakePalette()
{
    const core::Palette before = palette;
    palette = core::PaletteOf(paletteScheme, mode, SystemTheme::Colors());
    if (palette == before && midPen)
        return false;
    midPen.Attach(CreatePen(PS_SOLID, 1, fw::ColorRef(palette.frame)));
    darkPen.Attach(CreatePen(PS_SOLID, 1, fw::ColorRef(palette.stripText)));
    midBrush.Attach(CreateSolidBrush(fw::ColorRef(palette.frame)));
    return true;
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
    const RECT clock{button.right, 1, std::max<LONG>(button.right, client.right - 1), strip.titleHeight};
    if (!menuButtonControl && !clockControl) {
        MakeStripControls(menuButtonRect, clock);
        return;
    }
    MoveWindow(menuButtonControl, button.left, button.top, button.right - button.left, button.bottom - button.top,
               FALSE);
    MoveWindow(clockControl, clock.left, clock.top, clock.right - clock.left, clock.bottom - clock.top, FALSE);
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
        // A screen reader hears the time at most once a minute, whatever the clock shows.
        if (now / 60 != announcedMinute) {
            announcedMinute = now / 60;
            fw::TellNameChanged(clockControl);
        }
        // No erase first: the paint covers the whole strip, and the dialog's own background
        // erase would cost as much as the strip's paint once a second. Nor the strip's
        // controls: the window's paint covers them with what they would paint themselves.
        RedrawWindow(window, &titleStripRect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    }
}

// Objects selected into the paint DC are deselected (guards) before the DC is released.
void Look::Paint(const std::string& clockText)
{
    fw::PaintDC paint(window);
    Draw(paint.Get(), clockText, menuButtonControl && GetFocus() == menuButtonControl);
}

void Look::DrawControl(const DRAWITEMSTRUCT& item, const std::string& clockText)
{
    RECT control{};
    GetWindowRect(item.hwndItem, &control);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control), 2);
    const int saved = SaveDC(item.hDC);
    SetViewportOrgEx(item.hDC, -control.left, -control.top, nullptr);
    Draw(item.hDC, clockText, item.hwndItem == menuButtonControl && (item.itemState & ODS_FOCUS));
    RestoreDC(item.hDC, saved);
}

// The focused menu button shows its focus whether or not the keyboard has been used yet.
void Look::Draw(HDC dc, const std::string& clockText, bool menuButtonFocused)
{
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
    if (menuButtonFocused) {
        RECT focus = menuButtonRect;
        InflateRect(&focus, -core::Scaled(2, dpi), -core::Scaled(2, dpi));
        DrawFocusRect(dc, &focus);
    }
}

void Look::Repaint()
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
