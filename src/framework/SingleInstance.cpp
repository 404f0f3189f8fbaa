// The running copy's mutexes, its published window and the request that brings it forward.
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

// Any process may wait on the machine-wide mutex and release it once taken: a copy in another
// user's session must see it held, and may take it over when its holder was killed. The
// creator's own handle has every right whatever the list says. The list is built in place:
// reading it from its text form would bring in a library the start needs for nothing else.
CHandle MachineWideMutex(const std::wstring& name)
{
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    SECURITY_DESCRIPTOR descriptor;
    alignas(DWORD) BYTE everyone[SECURITY_MAX_SID_SIZE];
    alignas(DWORD) BYTE list[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE];
    DWORD everyoneSize = sizeof everyone;
    const auto acl = reinterpret_cast<PACL>(list);
    if (CreateWellKnownSid(WinWorldSid, nullptr, everyone, &everyoneSize) &&
        InitializeAcl(acl, sizeof list, ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION, SYNCHRONIZE | MUTEX_MODIFY_STATE, everyone) &&
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
        attributes.lpSecurityDescriptor = &descriptor;
    HANDLE mutex = CreateMutexW(&attributes, FALSE, name.c_str());
    // A mutex another user made cannot be opened with every right, only with those it grants.
    if (!mutex && GetLastError() == ERROR_ACCESS_DENIED)
        mutex = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
    return CHandle(mutex);
}

}  // namespace

SingleInstance::~SingleInstance()
{
    for (HeldMutex* lock : {&folder, &session})
        if (lock->held)
            ReleaseMutex(lock->mutex.Get());
}

SingleInstance::Holder SingleInstance::Claim(const std::wstring& scope, const std::wstring& key)
{
    const std::wstring name = scope + L"." + core::HashText(key);
    baseName = L"Local\\" + name;
    // The session's mutex first: a copy in this session holds it, and has a window here that
    // a later start can bring forward.
    session.mutex = CHandle(CreateMutexW(nullptr, FALSE, (baseName + L".Session").c_str()));
    if (!Take(session))
        return Holder::CopyInThisSession;
    // A system that keeps this process out of the global namespace leaves the session's name:
    // as much as can be kept out from there.
    folder.mutex = MachineWideMutex(L"Global\\" + name + L".Running");
    const bool machineWide = static_cast<bool>(folder.mutex);
    if (!machineWide)
        folder.mutex = CHandle(CreateMutexW(nullptr, FALSE, (baseName + L".Running").c_str()));
    if (Take(folder))
        return Holder::ThisCopy;
    return machineWide ? Holder::CopyInAnotherSession : Holder::CopyInThisSession;
}

// The mutex is held, not merely made, by the running copy: a later start that still has it
// open while the running copy ends cannot keep the next start out, and a copy that was killed
// leaves it abandoned, which hands it over as well.
bool SingleInstance::Take(HeldMutex& lock)
{
    // Refusing to start over a name that cannot be made would lock the user out.
    if (!lock.mutex)
        return true;
    const DWORD wait = WaitForSingleObject(lock.mutex.Get(), 0);
    lock.held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    return lock.held;
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
