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

    fw::CMenu font(CreatePopupMenu());
    AppendItems(font.Get(), ID_FONT_TITLE, ID_FONT_NOTES, fonts);

    fw::CMenu color(CreatePopupMenu());
    AppendItems(color.Get(), ID_COLOR_FIRST, ID_COLOR_LAST, colors);
    CheckMenuRadioItem(color.Get(), 20, 25, static_cast<UINT>(settings.colorScheme + ID_COLOR_FIRST), MF_BYCOMMAND);

    fw::CMenu style(CreatePopupMenu());
    AppendItems(style.Get(), ID_STYLE_FIRST, ID_STYLE_LAST, styles);
    CheckMenuRadioItem(style.Get(), 30, 35, static_cast<UINT>(settings.shape + ID_STYLE_FIRST), MF_BYCOMMAND);

    fw::CMenu time(CreatePopupMenu());
    AppendItems(time.Get(), ID_TIME_FIRST, ID_TIME_LAST_PRESET, times);
    AppendMenuW(time.Get(), MF_SEPARATOR, 0, L".....");
    AppendMenuW(time.Get(), MF_STRING, ID_TIME_CUSTOM, L"Custom...");
    CheckMenuRadioItem(time.Get(), 40, 46, static_cast<UINT>(settings.timeFormatId), MF_BYCOMMAND);

    fw::CMenu title(CreatePopupMenu());
    AppendItems(title.Get(), ID_TITLE_FIRST, ID_TITLE_LAST, titles);
    CheckMenuRadioItem(title.Get(), 60, 65, static_cast<UINT>(settings.titleGradient + ID_TITLE_FIRST), MF_BYCOMMAND);

    mainMenu.Attach(CreatePopupMenu());
    const HMENU main = mainMenu.Get();
    AppendMenuW(main, MF_STRING, ID_LAYOUT_TOGGLE, settings.fullLayout != 0 ? L"Compact" : L"Full");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    colorMenu = fw::AppendPopup(main, std::move(color), L"Color");
    styleMenu = fw::AppendPopup(main, std::move(style), L"Style");
    titleMenu = fw::AppendPopup(main, std::move(title), L"Title");
    timeMenu = fw::AppendPopup(main, std::move(time), L"Time");
    fontMenu = fw::AppendPopup(main, std::move(font), L"Font");
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
    if (BringDialogForward())
        return 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (mouseMessage == WM_RBUTTONUP)
        TrackMainMenu(cursor);
    else if (mouseMessage == WM_LBUTTONDOWN)
        SetForegroundWindow(handle);
    return 0;
}

// Every dialog of the program is owned by this window, which the dialog disables while it is
// open. Then nothing may start a second one, or close the window under it: a click on the
// tray icon, or a command that still arrives, brings the open dialog forward instead.
bool CalendarWindow::BringDialogForward()
{
    if (IsWindowEnabled(handle))
        return false;
    const HWND dialog = GetLastActivePopup(handle);
    SetForegroundWindow(dialog ? dialog : handle);
    return true;
}

void CalendarWindow::ShowAboutBox()
{
    AboutDialog(handle).DoModal();
}
