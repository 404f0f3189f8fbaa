// Tells a window when a key under the user's registry key changes: the system's change
// notification for the key is looked at a few times a second from the window's thread.
#pragma once

#include <windows.h>

#include <string>

#include "framework/HandlePoll.h"
#include "framework/Handles.h"

namespace fw {

class RegistryWatch : private HandlePoll {
public:
    RegistryWatch() = default;
    ~RegistryWatch() { Stop(); }

    // Watches the values of `key`, a path under the user's key; each change posts `message` to
    // `window`. While the key is missing, its nearest existing parent is watched with
    // everything below it, until the key is made. Returns ERROR_SUCCESS or the system's reason
    // why the key cannot be watched.
    DWORD Start(const std::wstring& key, HWND window, UINT message);
    void Stop();

private:
    void OnSignalled() override;
    // Arms the notification on `key` or its nearest existing parent; returns ERROR_SUCCESS or
    // the system's reason why it refused.
    DWORD Arm();
    void CloseWatched();

    std::wstring key;
    CHandle changed;
    HKEY watched = nullptr;
    HWND window = nullptr;
    UINT message = 0;
};

}  // namespace fw
