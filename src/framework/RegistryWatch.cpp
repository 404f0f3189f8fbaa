// Watching a registry key from the window's own thread.
#include "framework/RegistryWatch.h"

#include "framework/Registry.h"

namespace fw {

DWORD RegistryWatch::Start(const std::wstring& watchedKey, HWND target, UINT posted)
{
    Stop();
    key = watchedKey;
    window = target;
    message = posted;
    changed = CHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    DWORD error = changed ? Arm() : GetLastError();
    if (error == ERROR_SUCCESS)
        error = StartPolling(window, changed.Get());
    if (error != ERROR_SUCCESS)
        Stop();
    return error;
}

void RegistryWatch::Stop()
{
    StopPolling();
    CloseWatched();
    changed.Close();
}

void RegistryWatch::CloseWatched()
{
    if (watched)
        RegCloseKey(watched);
    watched = nullptr;
}

DWORD RegistryWatch::Arm()
{
    std::wstring path = key;
    for (;;) {
        const DWORD error = OpenUserKey(path, KEY_NOTIFY, watched);
        if (error == ERROR_SUCCESS)
            break;
        watched = nullptr;
        if (path.empty())
            return error;
        const std::size_t parent = path.find_last_of(L'\\');
        path.resize(parent == std::wstring::npos ? 0 : parent);
    }
    const BOOL subtree = path.size() == key.size() ? FALSE : TRUE;
    const DWORD error = RegNotifyChangeKeyValue(
        watched, subtree, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed.Get(), TRUE);
    if (error != ERROR_SUCCESS)
        CloseWatched();
    return error;
}

// A notification fires once: it is armed again, on the key as it now is. One that cannot be
// armed again has ended the watch.
void RegistryWatch::OnSignalled()
{
    CloseWatched();
    PostMessageW(window, message, 0, 0);
    if (Arm() != ERROR_SUCCESS)
        Stop();
}

}  // namespace fw
