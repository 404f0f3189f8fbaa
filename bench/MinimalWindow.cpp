// The smallest Win32 window: the baseline for the start-up measurement and, with a 10 ms timer, for the idle cost.
#include <windows.h>

#include <cwchar>

namespace {

// Without an argument the window paints once and exits: the start-up baseline.
// With "timer" it stays open and runs the calendar's 10 ms timer with an empty handler,
// which is the least a window with such a clock can cost while it sits idle.
bool keepOpen = false;
constexpr UINT_PTR timerId = 1;
constexpr UINT timerPeriodMs = 10;

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(wnd, &ps);
        if (!keepOpen)
            PostQuitMessage(0);
        return 0;
    }
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    keepOpen = std::wcscmp(commandLine, L"timer") == 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"MinimalWindow";
    if (!RegisterClassW(&wc))
        return 1;
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                               CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
    if (!wnd)
        return 1;
    if (keepOpen && !SetTimer(wnd, timerId, timerPeriodMs, nullptr))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
