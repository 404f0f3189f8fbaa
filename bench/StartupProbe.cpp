// Starts a program and prints the milliseconds from its start to its first paint.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "ProcessWindow.h"

namespace {

constexpr double paintTimeoutMs = 20000;
constexpr DWORD closeTimeoutMs = 10000;
// The calendar's first paint draws its one-pixel frame in this colour, the blue scheme's
// middle one. The frame's left column is looked at below the title strip, whose colours
// change from its top row to its bottom one; the frame's colour stays the same.
constexpr COLORREF paintedColour = RGB(100, 120, 190);
constexpr POINT framePoint = {0, 60};
// The floor window paints only its title strip, in the same colour.
constexpr POINT stripPoint = {4, 10};
POINT watchedPoint = framePoint;

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

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Reads the screen rather than the window's DC: what counts is what has reached the display.
bool ShowsPaint(HWND wnd)
{
    POINT point = watchedPoint;
    if (!ClientToScreen(wnd, &point))
        return false;
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour == paintedColour;
}

int Fail(const wchar_t* what, HANDLE process)
{
    return FailProbe(L"StartupProbe", what, process, closeTimeoutMs);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 || (std::wcscmp(argv[2], L"paint") != 0 && std::wcscmp(argv[2], L"strip") != 0 &&
                      std::wcscmp(argv[2], L"exit") != 0)) {
        std::fwprintf(stderr,
                      L"usage: StartupProbe PROGRAM paint|strip|exit\n"
                      L"  paint  until a visible window of PROGRAM shows the calendar's painted frame\n"
                      L"  strip  until it shows the floor window's painted strip\n"
                      L"  exit   until PROGRAM exits (it exits at its first paint)\n");
        return 2;
    }
    const bool untilExit = std::wcscmp(argv[2], L"exit") == 0;
    if (std::wcscmp(argv[2], L"strip") == 0)
        watchedPoint = stripPoint;
    const std::wstring program = WindowsPath(argv[1]);
    const size_t slash = program.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : program.substr(0, slash);
    std::wstring commandLine = L"\"" + program + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return Fail((L"cannot start " + program).c_str(), nullptr);
    CloseHandle(process.hThread);

    double elapsed = -1;
    if (untilExit) {
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(paintTimeoutMs)) != WAIT_OBJECT_0)
            return Fail(L"the program did not exit within 20 s", process.hProcess);
        elapsed = MillisecondsSince(start);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        if (code != 0)
            return Fail(L"the program exited with an error", nullptr);
    } else {
        HWND wnd = nullptr;
        while (MillisecondsSince(start) < paintTimeoutMs) {
            if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
                return Fail(L"the program exited before its first paint", nullptr);
            wnd = VisibleTopLevelWindow(process.dwProcessId);
            if (wnd && ShowsPaint(wnd)) {
                elapsed = MillisecondsSince(start);
                break;
            }
        }
        if (elapsed < 0)
            return Fail(L"no painted window within 20 s", process.hProcess);
        PostMessageW(wnd, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, closeTimeoutMs) != WAIT_OBJECT_0) {
            std::fwprintf(stderr, L"StartupProbe: the program did not close within 10 s; terminated\n");
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, closeTimeoutMs);
        }
    }
    CloseHandle(process.hProcess);
    std::printf("%.1f\n", elapsed);
    return 0;
}
