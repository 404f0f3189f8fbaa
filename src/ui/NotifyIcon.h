// The program's icon in the notification area, whose mouse actions come back to the window
// as TRAY_CALLBACK_MESSAGE.
#pragma once

#include <windows.h>
#include <shellapi.h>

class NotifyIcon {
public:
    // A first run greets the user with a balloon beside the icon; a start that recovered
    // notes says so in one.
    enum class Greeting { None, Balloon, Recovered };

    // Adds the icon for `window`.
    void AddTrayIcon(HWND window, HICON icon, Greeting greeting);
    void RemoveTrayIcon();
    const NOTIFYICONDATAW& Record() const { return trayIcon; }

private:
    NOTIFYICONDATAW trayIcon{};
};
