// The program's menu, its notification-area icon and the About box.
#include "resources/ResourceIds.h"
#include "ui/AboutDialog.h"
#include "window/CalendarWindow.h"

namespace {

void AppendItems(HMENU menu, UINT first, UINT last, const wchar_t* const texts[])
{
    for (UINT id = first; id <= last; ++id)
        AppendMenuW(menu, MF_STRING, id, texts[id - first]);
}

}  // namespace

// Every item is a plain string item. The Time items' texts are the clock formats themselves:
// the clock reads its format back from them (ClockFormat).
void CalendarWindow::BuildMenus()
{
    static const wchar_t* const fonts[] = {L"Title...", L"Notes..."};
    static const wchar_t* const colors[] = {L"Blue", L"Green", L"Red", L"Yellow", L"Gray"};
    static const wchar_t* const styles[] = {L"Rectangle", L"Rounding top", L"Rounding all"};
    static const wchar_t* const times[] = {L"%H:%M:%S", L"%I:%M:%S %p", L"%a %H:%M:%S",
                                           L"%a %I:%M:%S %p", L"%A %H:%M", L"%A %I:%M %p"};
    static const wchar_t* const titles[] = {L"Gradient V1", L"Gradient V2"};

    fontMenu.Attach(CreatePopupMenu());
    AppendItems(fontMenu.Get(), ID_FONT_TITLE, ID_FONT_NOTES, fonts);

    colorMenu.Attach(CreatePopupMenu());
    AppendItems(colorMenu.Get(), ID_COLOR_FIRST, ID_COLOR_LAST, colors);
    CheckMenuRadioItem(colorMenu.Get(), 20, 25, static_cast<UINT>(settings.colorScheme + ID_COLOR_FIRST), MF_BYCOMMAND);

    styleMenu.Attach(CreatePopupMenu());
    AppendItems(styleMenu.Get(), ID_STYLE_FIRST, ID_STYLE_LAST, styles);
    CheckMenuRadioItem(styleMenu.Get(), 30, 35, static_cast<UINT>(settings.shape + ID_STYLE_FIRST), MF_BYCOMMAND);

    timeMenu.Attach(CreatePopupMenu());
    AppendItems(timeMenu.Get(), ID_TIME_FIRST, ID_TIME_LAST_PRESET, times);
    AppendMenuW(timeMenu.Get(), MF_SEPARATOR, 0, L".....");
    AppendMenuW(timeMenu.Get(), MF_STRING, ID_TIME_CUSTOM, L"Custom...");
    CheckMenuRadioItem(timeMenu.Get(), 40, 46, static_cast<UINT>(settings.timeFormatId), MF_BYCOMMAND);

    titleMenu.Attach(CreatePopupMenu());
    AppendItems(titleMenu.Get(), ID_TITLE_FIRST, ID_TITLE_LAST, titles);
    CheckMenuRadioItem(titleMenu.Get(), 60, 65, static_cast<UINT>(settings.titleGradient + ID_TITLE_FIRST), MF_BYCOMMAND);

    mainMenu.Attach(CreatePopupMenu());
    const HMENU main = mainMenu.Get();
    AppendMenuW(main, MF_STRING, ID_LAYOUT_TOGGLE, settings.fullLayout != 0 ? L"Compact" : L"Full");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(colorMenu.Get()), L"Color");
    AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(styleMenu.Get()), L"Style");
    AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(titleMenu.Get()), L"Title");
    AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(timeMenu.Get()), L"Time");
    AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(fontMenu.Get()), L"Font");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    AppendMenuW(main, MF_STRING, ID_HELP_FILE, L"Help");
    AppendMenuW(main, MF_STRING, ID_ABOUT, L"About");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    AppendMenuW(main, MF_STRING, ID_CLOSE, L"Close");
}

// The menu's commands come back as WM_COMMAND to this window.
void CalendarWindow::TrackMainMenu(POINT screenPoint)
{
    // The owner must be in front before TrackPopupMenu, or a menu opened from the tray icon
    // stays open after a click elsewhere; the posted WM_NULL lets the menu's loop end
    // cleanly when it is opened again at once.
    SetForegroundWindow(handle);
    TrackPopupMenu(mainMenu.Get(), 0, screenPoint.x, screenPoint.y, 0, handle, nullptr);
    PostMessageW(handle, WM_NULL, 0, 0);
}

// The record stays as filled: removing the icon passes the same one.
void CalendarWindow::AddTrayIcon(bool showBalloon)
{
    trayIcon = NOTIFYICONDATAW{};
    trayIcon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    trayIcon.hWnd = handle;
    trayIcon.uID = TRAY_ICON_ID;
    trayIcon.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    trayIcon.hIcon = appIcon;
    trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    lstrcpynW(trayIcon.szTip, L"Dayvane", ARRAYSIZE(trayIcon.szTip));
    if (showBalloon) {
        trayIcon.uFlags |= NIF_INFO;
        lstrcpynW(trayIcon.szInfoTitle, L"Dayvane is here!", ARRAYSIZE(trayIcon.szInfoTitle));
        lstrcpynW(trayIcon.szInfo, L"Right mouse click - show menu\r\nLeft click - set calendar foreground",
                  ARRAYSIZE(trayIcon.szInfo));
        trayIcon.uTimeout = 300;
        trayIcon.dwInfoFlags = NIIF_INFO;
    }
    // An icon this window may already show under the same identifier goes first.
    Shell_NotifyIconW(NIM_DELETE, &trayIcon);
    Shell_NotifyIconW(NIM_ADD, &trayIcon);
}

void CalendarWindow::RemoveTrayIcon()
{
    Shell_NotifyIconW(NIM_DELETE, &trayIcon);
}

// A right click opens the menu on the button's release; a left press brings the window
// forward.
LRESULT CalendarWindow::OnTrayNotify(WPARAM, LPARAM mouseMessage)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (mouseMessage == WM_RBUTTONUP)
        TrackMainMenu(cursor);
    else if (mouseMessage == WM_LBUTTONDOWN)
        SetForegroundWindow(handle);
    return 0;
}

void CalendarWindow::ShowAboutBox()
{
    AboutDialog().DoModal();
}
