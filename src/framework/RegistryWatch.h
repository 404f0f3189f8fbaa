// Tells a window when a key under the user's registry key changes. A thread of its own waits on
// the system's change notification for the key, so watching costs nothing while nothing changes.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

namespace fw {

class RegistryWatch {
public:
    RegistryWatch() = default;
    RegistryWatch(const RegistryWatch&) = delete;
    RegistryWatch& operator=(const RegistryWatch&) = delete;
    ~RegistryWatch() { Stop(); }

    // Watches the values of `key`, a path under the user's key; each change posts `message` to
    // `window`. While the key is missing, its nearest existing parent is watched with
    // everything below it, until the key is made. Returns ERROR_SUCCESS or the system's reason
    // why no thread could wait.
    DWORD Start(const std::wstring& key, HWND window, UINT message);
    void Stop();

private:
    static DWORD WINAPI Wait(void* watch);
    // Arms the notification on `key` or its nearest existing parent; false when the system
    // refused it.
    bool Arm(HKEY& watched) const;

    std::wstring key;
    CHandle stop;
    CHandle changed;
    CHandle waiter;
    HWND window = nullptr;
    UINT message = 0;
};

}  // namespace fw
