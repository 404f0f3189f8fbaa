// Watching a folder from the window's own thread.
#include "framework/FolderWatch.h"

namespace fw {

DWORD FolderWatch::Start(const std::wstring& folder, HWND target, UINT posted)
{
    Stop();
    window = target;
    message = posted;
    const HANDLE notification = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (notification == INVALID_HANDLE_VALUE)
        return GetLastError();
    change = OwnedHandle<HANDLE, CloseChangeNotification>(notification);
    const DWORD error = StartPolling(window, change.Get());
    if (error != ERROR_SUCCESS)
        Stop();
    return error;
}

void FolderWatch::Stop()
{
    StopPolling();
    change.Close();
}

// A notification that cannot be armed again has ended the watch.
void FolderWatch::OnSignalled()
{
    PostMessageW(window, message, 0, 0);
    if (!FindNextChangeNotification(change.Get()))
        Stop();
}

}  // namespace fw
