// The program's icon in the notification area, whose mouse actions come back to the window
// as TRAY_CALLBACK_MESSAGE.
#pragma once

#include <windows.h>
#include <shellapi.h>

class NotifyIcon {
public:
    // Adds the icon for `window`, greeting the user with a balloon when `showBalloon` holds.
    void AddTrayIcon(HWND window, HICON icon, bool showBalloon);
    void RemoveTrayIcon();
    const NOTIFYICONDATAW& Record() const { return trayIcon; }

private:
    NOTIFYICONDATAW trayIcon{};
};
