// Watching a folder from a thread that only waits.
#include "framework/FolderWatch.h"

#include <system_error>

namespace fw {

DWORD FolderWatch::Start(const std::wstring& folder, HWND window, UINT message)
{
    Stop();
    const HANDLE change = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change == INVALID_HANDLE_VALUE)
        return GetLastError();
    stop = CHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop) {
        const DWORD error = GetLastError();
        FindCloseChangeNotification(change);
        return error;
    }
    try {
        waiter = std::thread([change, window, message, stopEvent = stop.Get()] {
            const HANDLE waits[] = {stopEvent, change};
            while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
                PostMessageW(window, message, 0, 0);
                if (!FindNextChangeNotification(change))
                    break;
            }
            FindCloseChangeNotification(change);
        });
    } catch (const std::system_error&) {
        FindCloseChangeNotification(change);
        stop.Close();
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return ERROR_SUCCESS;
}

void FolderWatch::Stop()
{
    if (waiter.joinable()) {
        SetEvent(stop.Get());
        waiter.join();
    }
    stop.Close();
}

}  // namespace fw
