// One running copy per key: a mutex the first copy holds, and the window it publishes.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

namespace fw {

// The kernel objects are named after a scope and a hash of the key, since a key such as a
// folder holds backslashes that a name cannot. The key's own mutex is machine-wide
// ("Global\") where the system allows it, so that a copy in another user's session stays out
// too; a second mutex and the published window live in the session's namespace ("Local\"),
// where a later start can tell its own session's copy from another's.
class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    enum class Holder { ThisCopy, CopyInThisSession, CopyInAnotherSession };
    // Takes the mutexes of `key` within `scope`; says who holds them. Keys are compared
    // exactly: the caller spells each key one way. When a mutex cannot be made at all, this
    // copy runs as if it were the only one.
    Holder Claim(const std::wstring& scope, const std::wstring& key);

    // After a successful Claim: the window that later starts bring forward.
    void Publish(HWND window);

    // After a Claim that found a copy in this session: waits up to `timeoutMs` for the
    // running copy's published window, lets that copy take the foreground and posts it
    // `showRequest`, the message (registered at run time, so that every process gets the same
    // number) that says: come forward. False when no window appeared in time (the running copy
    // may have ended before it made one).
    bool BringRunningCopyForward(DWORD timeoutMs, UINT showRequest) const;

private:
    struct HeldMutex {
        CHandle mutex;
        bool held = false;
    };
    // Takes `lock`'s mutex without waiting; false when another process holds it.
    static bool Take(HeldMutex& lock);

    std::wstring baseName;
    HeldMutex session;
    HeldMutex folder;
    CHandle published;
};

}  // namespace fw
