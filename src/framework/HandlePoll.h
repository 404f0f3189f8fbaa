// Looks at a waitable handle a few times a second from the thread's own message loop, through
// a timer of a window. Under Wine a thread that does nothing but wait costs about a megabyte
// of working set; a look at a handle costs next to nothing, and nothing but the look runs while
// the handle stays unsignalled.
#pragma once

#include <windows.h>

namespace fw {

class HandlePoll {
public:
    static constexpr UINT PERIOD_MS = 250;

    HandlePoll(const HandlePoll&) = delete;
    HandlePoll& operator=(const HandlePoll&) = delete;

protected:
    HandlePoll() = default;
    ~HandlePoll() { StopPolling(); }

    // From now on `OnSignalled` runs on `window`'s thread each time `handle` is found signalled
    // (which, for an auto-reset event or a change notification, takes the signal). Returns
    // ERROR_SUCCESS or the system's reason why no timer could be set.
    DWORD StartPolling(HWND window, HANDLE handle);
    void StopPolling();
    virtual void OnSignalled() = 0;

private:
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR poll, DWORD);

    HWND window = nullptr;
    HANDLE handle = nullptr;
};

}  // namespace fw
