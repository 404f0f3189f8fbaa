// Tells a window when something in a folder changes. A thread of its own waits on the system's
// change notification for the folder, so watching costs nothing while nothing changes.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

namespace fw {

struct CloseChangeNotification {
    bool operator()(HANDLE handle) const { return FindCloseChangeNotification(handle) != FALSE; }
};

class FolderWatch {
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch() { Stop(); }

    // Watches the names, sizes and times of the files in `folder`; each change posts
    // `message` to `window`, several changes in a row perhaps only once. Returns
    // ERROR_SUCCESS or the system's reason why the folder cannot be watched.
    DWORD Start(const std::wstring& folder, HWND window, UINT message);
    void Stop();

private:
    static DWORD WINAPI Wait(void* watch);

    CHandle stop;
    OwnedHandle<HANDLE, CloseChangeNotification> change;
    CHandle waiter;
    HWND window = nullptr;
    UINT message = 0;
};

}  // namespace fw
