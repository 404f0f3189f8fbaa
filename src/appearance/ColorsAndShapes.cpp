// Colour schemes and window outlines.
#include "window/CalendarWindow.h"

#include <commctrl.h>

#include "core/Appearance.h"
#include "resources/ResourceIds.h"

namespace {

COLORREF ToColorRef(const core::Rgb& color)
{
    return RGB(color.red, color.green, color.blue);
}

}  // namespace

// With visual styles on (the manifest asks for common controls 6) a themed month calendar
// ignores MCM_SETCOLOR; without a theme it takes the scheme's colours. uxtheme.dll is asked
// for at run time, as a system without it has no themes to switch off.
void CalendarWindow::KeepCalendarColors()
{
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme)
        return;
    using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    if (auto setWindowTheme = reinterpret_cast<SetWindowThemeFunction>(
            reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme"))))
        setWindowTheme(calendarCtrl.Handle(), L"", L"");
    FreeLibrary(uxtheme);
}

void CalendarWindow::ApplyColorScheme(int index)
{
    settings.colorScheme = index;
    core::SchemeColors colors;
    if (core::ColorsOfScheme(index, colors)) {
        lightColor = ToColorRef(colors.light);
        midColor = ToColorRef(colors.mid);
        darkColor = ToColorRef(colors.dark);
    }
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_BACKGROUND, lightColor);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_MONTHBK, lightColor);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TEXT, darkColor);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TITLEBK, midColor);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TITLETEXT, lightColor);
    // The neighbouring months' days vanish into the background.
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TRAILINGTEXT, lightColor);
    midPen.Attach(CreatePen(PS_SOLID, 1, midColor));
    darkPen.Attach(CreatePen(PS_SOLID, 1, darkColor));
    midBrush.Attach(CreateSolidBrush(midColor));
}

void CalendarWindow::ApplyWindowShape(int index)
{
    settings.shape = index;
    measuredRect = ClientRect();
    const core::RegionOutline outline =
        core::WindowRegion(index, settings.fullLayout, measuredRect.right, measuredRect.bottom, settings.cornerEllipse);
    const RECT r{outline.rect.left, outline.rect.top, outline.rect.right, outline.rect.bottom};
    fw::CRgn region(outline.rounded ? CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, outline.ellipse, outline.ellipse)
                                    : CreateRectRgnIndirect(&r));
    // The window owns the region from here on.
    if (SetWindowRgn(handle, region.Get(), TRUE))
        region.Detach();
}

void CalendarWindow::ToggleLayout()
{
    settings.fullLayout = settings.fullLayout == 1 ? 0 : 1;
    ModifyMenuW(mainMenu.Get(), ID_LAYOUT_TOGGLE, MF_BYCOMMAND | MF_STRING, ID_LAYOUT_TOGGLE,
                settings.fullLayout == 1 ? L"Compact" : L"Full");
    ApplyWindowShape(settings.shape);
}

void CalendarWindow::Repaint()
{
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
