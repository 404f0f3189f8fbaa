// Watching a registry key from a thread that only waits.
#include "framework/RegistryWatch.h"

#include "framework/Registry.h"

namespace fw {

DWORD RegistryWatch::Start(const std::wstring& watchedKey, HWND target, UINT posted)
{
    Stop();
    key = watchedKey;
    window = target;
    message = posted;
    stop = CHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    changed = CHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (stop && changed)
        waiter = CHandle(CreateThread(nullptr, 0, Wait, this, 0, nullptr));
    if (!waiter) {
        const DWORD error = GetLastError();
        Stop();
        return error;
    }
    return ERROR_SUCCESS;
}

void RegistryWatch::Stop()
{
    if (waiter) {
        SetEvent(stop.Get());
        WaitForSingleObject(waiter.Get(), INFINITE);
        waiter.Close();
    }
    stop.Close();
    changed.Close();
}

bool RegistryWatch::Arm(HKEY& watched) const
{
    std::wstring path = key;
    for (;;) {
        if (OpenUserKey(path, KEY_NOTIFY, watched) == ERROR_SUCCESS)
            break;
        if (path.empty())
            return false;
        const std::size_t parent = path.find_last_of(L'\\');
        path.resize(parent == std::wstring::npos ? 0 : parent);
    }
    const BOOL subtree = path.size() == key.size() ? FALSE : TRUE;
    if (RegNotifyChangeKeyValue(watched, subtree, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed.Get(),
                                TRUE) == ERROR_SUCCESS)
        return true;
    RegCloseKey(watched);
    return false;
}

// A notification fires once: it is armed again, on the key as it now is, before each wait.
DWORD WINAPI RegistryWatch::Wait(void* watch)
{
    const auto& self = *static_cast<const RegistryWatch*>(watch);
    const HANDLE waits[] = {self.stop.Get(), self.changed.Get()};
    HKEY watched = nullptr;
    while (self.Arm(watched)) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        RegCloseKey(watched);
        if (woken != WAIT_OBJECT_0 + 1)
            break;
        PostMessageW(self.window, self.message, 0, 0);
    }
    return 0;
}

}  // namespace fw
