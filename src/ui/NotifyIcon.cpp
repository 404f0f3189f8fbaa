// The notification-area icon.
#include "ui/NotifyIcon.h"

#include "framework/SystemLibraries.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

// Broadcast by the shell when the taskbar is created anew (Explorer restarted).
const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

}  // namespace

const fw::MessageTable<NotifyIcon> NotifyIcon::messageTable = {
    fw::OnTimer<NotifyIcon::TRAY_RETRY_TIMER_ID, &NotifyIcon::OnRetryTimer>(),
    fw::OnRegistered<&taskbarCreated, &NotifyIcon::OnTaskbarCreated>(),
};

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
    retriesLeft = TRAY_RETRIES;
    Show();
}

void NotifyIcon::Tell(const std::string& text)
{
    trayIcon.uFlags |= NIF_INFO;
    lstrcpynW(trayIcon.szInfoTitle, L"Dayvane", ARRAYSIZE(trayIcon.szInfoTitle));
    lstrcpynW(trayIcon.szInfo, fw::Widen(text).c_str(), ARRAYSIZE(trayIcon.szInfo));
    trayIcon.uTimeout = 300;
    trayIcon.dwInfoFlags = NIIF_WARNING;
    fw::Shell_NotifyIconW(NIM_MODIFY, trayIcon);
}

bool NotifyIcon::Show()
{
    // An icon this window may already show under the same identifier goes first.
    fw::Shell_NotifyIconW(NIM_DELETE, trayIcon);
    if (fw::Shell_NotifyIconW(NIM_ADD, trayIcon)) {
        KillTimer(trayIcon.hWnd, TRAY_RETRY_TIMER_ID);
        return true;
    }
    if (retriesLeft-- > 0 && SetTimer(trayIcon.hWnd, TRAY_RETRY_TIMER_ID, TRAY_RETRY_MS, nullptr))
        return false;
    KillTimer(trayIcon.hWnd, TRAY_RETRY_TIMER_ID);
    fw::CWinApp::Current().ReportFailure(trayIcon.hWnd, "show its icon in the notification area",
                                         "The notification area did not take the icon.");
    return false;
}

fw::Result NotifyIcon::OnRetryTimer()
{
    Show();
    return fw::Done();
}

// A new taskbar has forgotten every icon: ours comes back, without the greeting.
fw::Result NotifyIcon::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (trayIcon.hWnd)
        AddTrayIcon(trayIcon.hWnd, trayIcon.hIcon, Greeting::None);
    return fw::Done();
}

// A window closed before its icon came has none to remove, and the shell is not even loaded.
void NotifyIcon::RemoveTrayIcon()
{
    if (!trayIcon.hWnd)
        return;
    KillTimer(trayIcon.hWnd, TRAY_RETRY_TIMER_ID);
    fw::Shell_NotifyIconW(NIM_DELETE, trayIcon);
}
