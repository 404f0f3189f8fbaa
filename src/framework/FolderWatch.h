// Tells a window when something in a folder changes: the system's change notification for the
// folder is looked at a few times a second from the window's thread.
#pragma once

#include <windows.h>

#include <string>

#include "framework/HandlePoll.h"
#include "framework/Handles.h"

namespace fw {

struct CloseChangeNotification {
    bool operator()(HANDLE handle) const { return FindCloseChangeNotification(handle) != FALSE; }
};

class FolderWatch : private HandlePoll {
public:
    FolderWatch() = default;
    ~FolderWatch() { Stop(); }

    // Watches the names, sizes and times of the files in `folder`; each change posts
    // `message` to `window`, several changes in a row perhaps only once. Returns
    // ERROR_SUCCESS or the system's reason why the folder cannot be watched.
    DWORD Start(const std::wstring& folder, HWND window, UINT message);
    void Stop();

private:
    void OnSignalled() override;

    OwnedHandle<HANDLE, CloseChangeNotification> change;
    HWND window = nullptr;
    UINT message = 0;
};

}  // namespace fw
