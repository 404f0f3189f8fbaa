// The program's icon in the notification area, whose mouse actions come back to the window
// as TRAY_CALLBACK_MESSAGE.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/MessageMap.h"

class NotifyIcon : public fw::MessageTarget<NotifyIcon> {
public:
    // A first run greets the user with a balloon beside the icon; a start that recovered
    // notes says so in one.
    enum class Greeting { None, Balloon, Recovered };

    // A taskbar that is not there yet (a start at logon) or refuses the icon is asked again
    // every TRAY_RETRY_MS, TRAY_RETRIES times; then the failure is reported. A new taskbar
    // (Explorer restarted) gets the icon again.
    static constexpr UINT_PTR TRAY_RETRY_TIMER_ID = 4;
    static constexpr UINT TRAY_RETRY_MS = 1000;
    static constexpr int TRAY_RETRIES = 60;

    // Adds the icon for `window`.
    void AddTrayIcon(HWND window, HICON icon, Greeting greeting);
    void RemoveTrayIcon();
    // Tells `text` in a warning balloon beside the icon; it takes neither the focus nor the
    // keyboard, so typing goes on. An icon the taskbar has not taken yet brings it when it
    // comes.
    void Tell(const std::string& text);
    const NOTIFYICONDATAW& Record() const { return trayIcon; }

private:
    friend fw::MessageTarget<NotifyIcon>;
    static const fw::MessageTable<NotifyIcon> messageTable;
    bool Show();
    fw::Result OnRetryTimer();
    fw::Result OnTaskbarCreated(WPARAM, LPARAM);

    NOTIFYICONDATAW trayIcon{};
    int retriesLeft = 0;
};
