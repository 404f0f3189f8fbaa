// The floor for start-up, memory and idle cost: the program's own manifest, dialog templates
// and controls, created the way the program creates them (common controls, then the hidden
// owner run modally, which runs the calendar window modally), with dialog procedures that do
// nothing but show the window and paint the title strip in one flat colour. No data files,
// no menus, no tray icon, no fonts, no clock. Whatever the program costs beyond this is its own.
// Built as FloorTrayWindow (FLOOR_WITH_TRAY), it also shows the program's notification-area icon
// with its first-run balloon through the program's own NotifyIcon, to tell that icon's share
// from the rest; the floor itself does not even load the shell.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "resources/ResourceIds.h"
#ifdef FLOOR_WITH_TRAY
#include "ui/NotifyIcon.h"
#endif

namespace {

// With "timer" the window runs the calendar's 10 ms timer with an empty handler.
bool withTimer = false;
#ifdef FLOOR_WITH_TRAY
NotifyIcon trayIcon;
#endif
constexpr UINT_PTR TIMER_ID = 1;
constexpr UINT TIMER_PERIOD_MS = 10;
constexpr int STRIP_HEIGHT = 23;
// The colour the start-up probe waits for: the blue scheme's frame colour.
constexpr COLORREF STRIP_COLOUR = RGB(100, 120, 190);

INT_PTR CALLBACK CalendarProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (withTimer)
            SetTimer(window, TIMER_ID, TIMER_PERIOD_MS, nullptr);
#ifdef FLOOR_WITH_TRAY
        trayIcon.AddTrayIcon(window, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)),
                             NotifyIcon::Greeting::Balloon);
#endif
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT strip{};
        GetClientRect(window, &strip);
        strip.bottom = STRIP_HEIGHT;
        const HBRUSH brush = CreateSolidBrush(STRIP_COLOUR);
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return TRUE;
    }
    case WM_TIMER:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
#ifdef FLOOR_WITH_TRAY
            trayIcon.RemoveTrayIcon();
#endif
            EndDialog(window, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ParentProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CALENDAR_WINDOW), window, CalendarProc, 0);
    EndDialog(window, 0);
    return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    withTimer = std::wcscmp(commandLine, L"timer") == 0;
    InitCommonControls();
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PARENT), nullptr, ParentProc, 0) == -1 ? 1 : 0;
}
