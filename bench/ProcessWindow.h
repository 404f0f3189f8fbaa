// What the probes do with the program they start: find its window, and end it when a
// measurement fails.
#pragma once

#include <windows.h>

#include <cstdio>

inline HWND VisibleTopLevelWindow(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window))
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Reports `what` under the probe's name, ends the started program if there is one, and
// gives the probe's exit code.
inline int FailProbe(const wchar_t* probe, const wchar_t* what, HANDLE process, DWORD closeTimeoutMs)
{
    std::fwprintf(stderr, L"%ls: %ls\n", probe, what);
    if (process) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, closeTimeoutMs);
    }
    return 1;
}
