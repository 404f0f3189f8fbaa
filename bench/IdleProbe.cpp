// Starts a program, says when its window is up, and closes the window when told to, saying first
// how large its working set has been: the launcher of the idle-cost and memory runs.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "ProcessWindow.h"

namespace {

constexpr DWORD windowTimeoutMs = 20000;
constexpr DWORD pollMs = 20;
constexpr DWORD closeTimeoutMs = 10000;

// Paths from the Linux side are Unix paths; Wine maps the Unix root to drive Z:.
std::wstring WindowsPath(std::wstring path)
{
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

int Fail(const wchar_t* what, HANDLE process)
{
    return FailProbe(L"IdleProbe", what, process, closeTimeoutMs);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && argc != 3) {
        std::fwprintf(stderr,
                      L"usage: IdleProbe PROGRAM [ARGUMENT]\n"
                      L"  starts PROGRAM, prints \"ready\" once a window of it is visible, and at a line\n"
                      L"  or the end of its input prints \"peak working set: N bytes\" and closes that\n"
                      L"  window as Escape would (WM_CLOSE)\n");
        return 2;
    }
    const std::wstring program = WindowsPath(argv[1]);
    const size_t slash = program.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : program.substr(0, slash);
    std::wstring commandLine = L"\"" + program + L"\"";
    if (argc == 3)
        commandLine += L" " + std::wstring(argv[2]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return Fail((L"cannot start " + program).c_str(), nullptr);
    CloseHandle(process.hThread);

    HWND wnd = nullptr;
    const ULONGLONG deadline = GetTickCount64() + windowTimeoutMs;
    while (!wnd) {
        if (WaitForSingleObject(process.hProcess, pollMs) == WAIT_OBJECT_0)
            return Fail(L"the program exited before its window was up", nullptr);
        if (GetTickCount64() > deadline)
            return Fail(L"no visible window within 20 s", process.hProcess);
        wnd = VisibleTopLevelWindow(process.dwProcessId);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    // Blocked in a read, this process asks nothing of the Wine server while the program is measured.
    char line[64];
    if (!std::fgets(line, sizeof line, stdin) && std::ferror(stdin))
        std::fwprintf(stderr, L"IdleProbe: reading the input failed; closing the program\n");

    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
        return Fail(L"the program exited while it was measured", nullptr);
    // Under Wine this is the high-water mark of the program's Linux process (VmHWM), Wine's
    // own libraries included, so only figures taken the same way compare.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        return Fail(L"the program's memory counters could not be read", process.hProcess);
    std::printf("peak working set: %llu bytes\n", static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    std::fflush(stdout);
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, closeTimeoutMs) != WAIT_OBJECT_0)
        return Fail(L"the program did not close within 10 s; terminated", process.hProcess);
    CloseHandle(process.hProcess);
    return 0;
}
