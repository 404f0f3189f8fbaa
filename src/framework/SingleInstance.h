// One running copy per key: a mutex the first copy holds, and the window it publishes.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

namespace fw {

// The kernel objects live in the session's namespace ("Local\"), named after a scope and a
// hash of the key, since a key such as a folder holds backslashes that a name cannot.
class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // Takes the mutex of `key` within `scope`; false when another process holds it. Keys
    // are compared exactly: the caller spells each key one way. When the mutex cannot be
    // made at all, this copy runs as if it were the only one.
    bool Claim(const std::wstring& scope, const std::wstring& key);

    // After a successful Claim: the window that later starts bring forward.
    void Publish(HWND window);

    // After a failed Claim: waits up to `timeoutMs` for the running copy's published window,
    // lets that copy take the foreground and posts it `showRequest`, the message (registered
    // at run time, so that every process gets the same number) that says: come forward. False when no window
    // appeared in time (the running copy may have ended before it made one).
    bool BringRunningCopyForward(DWORD timeoutMs, UINT showRequest) const;

private:
    std::wstring baseName;
    CHandle mutex;
    CHandle published;
    bool holder = false;
};

}  // namespace fw
