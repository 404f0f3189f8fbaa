// Watching a folder from a thread that only waits.
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
    stop = CHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (stop)
        waiter = CHandle(CreateThread(nullptr, 0, Wait, this, 0, nullptr));
    if (!stop || !waiter) {
        const DWORD error = GetLastError();
        Stop();
        return error;
    }
    return ERROR_SUCCESS;
}

void FolderWatch::Stop()
{
    if (waiter) {
        SetEvent(stop.Get());
        WaitForSingleObject(waiter.Get(), INFINITE);
        waiter.Close();
    }
    stop.Close();
    change.Close();
}

DWORD WINAPI FolderWatch::Wait(void* watch)
{
    const auto& self = *static_cast<const FolderWatch*>(watch);
    const HANDLE waits[] = {self.stop.Get(), self.change.Get()};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageW(self.window, self.message, 0, 0);
        if (!FindNextChangeNotification(self.change.Get()))
            break;
    }
    return 0;
}

}  // namespace fw
