// The running copy's mutex, its published window and the request that brings it forward.
#include "framework/SingleInstance.h"

#include "core/DataFilePath.h"

namespace fw {

namespace {

// How often a later start looks for the running copy's window while it waits.
constexpr DWORD POLL_MS = 20;

// The window published under `name`, or null while there is none that still exists.
HWND PublishedWindow(const std::wstring& name)
{
    const CHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
    if (!mapping)
        return nullptr;
    const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(HWND));
    if (!view)
        return nullptr;
    // One aligned pointer-sized read: the running copy's write is never seen half done.
    const HWND window = *static_cast<const volatile HWND*>(view);
    UnmapViewOfFile(view);
    // A copy that ended meanwhile took its window with it; a mapping that another waiting
    // start still held open keeps that window's number.
    return window && IsWindow(window) ? window : nullptr;
}

}  // namespace

SingleInstance::~SingleInstance()
{
    if (holder && mutex)
        ReleaseMutex(mutex.Get());
}

bool SingleInstance::Claim(const std::wstring& scope, const std::wstring& key)
{
    baseName = L"Local\\" + scope + L"." + core::HashText(key);
    mutex = CHandle(CreateMutexW(nullptr, FALSE, (baseName + L".Running").c_str()));
    if (!mutex) {
        // Refusing to start over a name that cannot be made would lock the user out.
        holder = true;
        return holder;
    }
    // The mutex is held, not merely made, by the running copy: a later start that still
    // has it open while the running copy ends cannot keep the next start out, and a copy
    // that was killed leaves it abandoned, which hands it over as well.
    const DWORD wait = WaitForSingleObject(mutex.Get(), 0);
    holder = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    return holder;
}

void SingleInstance::Publish(HWND window)
{
    published = CHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HWND),
                                           (baseName + L".Window").c_str()));
    if (!published)
        return;
    if (void* view = MapViewOfFile(published.Get(), FILE_MAP_WRITE, 0, 0, sizeof(HWND))) {
        InterlockedExchangePointer(static_cast<PVOID volatile*>(view), window);
        UnmapViewOfFile(view);
    }
}

bool SingleInstance::BringRunningCopyForward(DWORD timeoutMs, UINT showRequest) const
{
    const std::wstring name = baseName + L".Window";
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (const HWND window = PublishedWindow(name)) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            // The foreground is this start's, given by whoever started it; the running copy
            // may take it only when this process passes it on.
            AllowSetForegroundWindow(processId);
            return PostMessageW(window, showRequest, 0, 0) != FALSE;
        }
        if (GetTickCount64() >= deadline)
            return false;
        // A copy started at the same moment may not have made its window yet.
        Sleep(POLL_MS);
    }
}

}  // namespace fw
