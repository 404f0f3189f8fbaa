// The notification-area icon.
#include "ui/NotifyIcon.h"

#include "resources/ResourceIds.h"

// The record stays as filled: removing the icon passes the same one.
void NotifyIcon::AddTrayIcon(HWND window, HICON icon, Greeting greeting)
{
    trayIcon = NOTIFYICONDATAW{};
    trayIcon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    trayIcon.hWnd = window;
    trayIcon.uID = TRAY_ICON_ID;
    trayIcon.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    trayIcon.hIcon = icon;
    trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    lstrcpynW(trayIcon.szTip, L"Dayvane", ARRAYSIZE(trayIcon.szTip));
    if (greeting != Greeting::None) {
        const bool welcome = greeting == Greeting::Balloon;
        trayIcon.uFlags |= NIF_INFO;
        lstrcpynW(trayIcon.szInfoTitle, welcome ? L"Dayvane is here!" : L"Dayvane", ARRAYSIZE(trayIcon.szInfoTitle));
        lstrcpynW(trayIcon.szInfo,
                  welcome ? L"Right mouse click - show menu\r\nLeft click - set calendar foreground"
                          : L"Notes typed before Dayvane last stopped unexpectedly were recovered.",
                  ARRAYSIZE(trayIcon.szInfo));
        trayIcon.uTimeout = 300;
        trayIcon.dwInfoFlags = NIIF_INFO;
    }
    // An icon this window may already show under the same identifier goes first.
    Shell_NotifyIconW(NIM_DELETE, &trayIcon);
    Shell_NotifyIconW(NIM_ADD, &trayIcon);
}

void NotifyIcon::RemoveTrayIcon()
{
    Shell_NotifyIconW(NIM_DELETE, &trayIcon);
}
