// A handle looked at from a window's timer.
#include "framework/HandlePoll.h"

#include <algorithm>
#include <vector>

namespace fw {

namespace {

// The polls whose timers run. A timer's message that was already taken from the queue when
// its poll stopped finds it gone here, not freed under it. One thread sets them all.
std::vector<HandlePoll*>& Running()
{
    static std::vector<HandlePoll*> running;
    return running;
}

}  // namespace

// The timer's id is the poll itself: a window's own timers have small ids, and the timer's
// procedure finds the poll again from it.
DWORD HandlePoll::StartPolling(HWND target, HANDLE watched)
{
    StopPolling();
    if (!SetTimer(target, reinterpret_cast<UINT_PTR>(this), PERIOD_MS, Tick))
        return GetLastError();
    window = target;
    handle = watched;
    Running().push_back(this);
    return ERROR_SUCCESS;
}

void HandlePoll::StopPolling()
{
    if (!window)
        return;
    KillTimer(window, reinterpret_cast<UINT_PTR>(this));
    window = nullptr;
    auto& running = Running();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

void CALLBACK HandlePoll::Tick(HWND, UINT, UINT_PTR poll, DWORD)
{
    auto* self = reinterpret_cast<HandlePoll*>(poll);
    const auto& running = Running();
    if (std::find(running.begin(), running.end(), self) == running.end())
        return;
    if (WaitForSingleObject(self->handle, 0) == WAIT_OBJECT_0)
        self->OnSignalled();
}

}  // namespace fw
