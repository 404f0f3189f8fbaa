// The calendar window run inside the test process, for what the outside cannot see:
// which close routine ran, which commands arrived, how often the title strip repaints.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>
#include <vector>

#include "FixedTime.h"
#include "Harness.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "settings/DataFilePath.h"
#include "window/CalendarWindow.h"
#include "window/Desktop.h"

namespace {

fw::CWinApp testApp;

// Records what reaches the window's virtual operations and counts paints of the strip.
class ProbeWindow : public CalendarWindow {
public:
    std::vector<UINT> commands;
    int okRuns = 0;
    int cancelRuns = 0;
    std::atomic<int> stripPaints{0};
    std::atomic<int> paints{0};
    std::atomic<HWND> window{nullptr};

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CalendarWindow::OnInitDialog();
        SetWindowSubclass(Handle(), Spy, 1, reinterpret_cast<DWORD_PTR>(this));
        window = Handle();
        return result;
    }
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override
    {
        commands.push_back(id);
        return CalendarWindow::OnCommand(id, notifyCode, control);
    }
    void OnOK() override
    {
        ++okRuns;
        CalendarWindow::OnOK();
    }
    void OnCancel() override
    {
        ++cancelRuns;
        CalendarWindow::OnCancel();
    }

private:
    static LRESULT CALLBACK Spy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data)
    {
        if (message == WM_PAINT) {
            auto* self = reinterpret_cast<ProbeWindow*>(data);
            RECT update{};
            GetUpdateRect(hwnd, &update, FALSE);
            RECT client{};
            GetClientRect(hwnd, &client);
            ++self->paints;
            if (update.top == 0 && update.left == 0 && update.right == client.right && update.bottom == 23)
                ++self->stripPaints;
        }
        if (message == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, Spy, 1);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
};

// Runs the window modally on this thread while `drive` acts on it from another thread.
// Its data files go to a fresh folder, never beside the test program.
void RunWindow(ProbeWindow& probe, const std::function<void(HWND)>& drive)
{
    gui::TempFolder dataFolder;
    SetDataFolder(fw::Narrow(dataFolder.Path()) + "\\");
    std::thread driver([&] {
        if (!gui::WaitUntil([&] { return probe.window.load() != nullptr; }, 10000))
            return;
        HWND window = probe.window;
        drive(window);
        // Whatever the steps did, the window must end so the test can go on.
        if (IsWindow(window))
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    probe.DoModal();
    driver.join();
    SetDataFolder("");
}

}  // namespace

TEST(InProcess, CloseRoutinesAndTheirTriggers)
{
    struct Case {
        UINT message;
        WPARAM wParam;
        int okRuns;
        int cancelRuns;
    };
    const Case cases[] = {
        {WM_COMMAND, IDOK, 1, 0},        {WM_COMMAND, 56, 1, 0}, {WM_ENDSESSION, TRUE, 1, 0},
        {WM_ENDSESSION, FALSE, 1, 0},    {WM_COMMAND, IDCANCEL, 0, 1}, {WM_CLOSE, 0, 0, 1},
    };
    for (const Case& c : cases) {
        ProbeWindow probe;
        RunWindow(probe, [&](HWND window) {
            if (c.message == WM_ENDSESSION)
                SendMessageW(window, c.message, c.wParam, 0);
            else
                PostMessageW(window, c.message, c.wParam, 0);
            gui::WaitUntil([&] { return !IsWindow(window); });
        });
        EXPECT_EQ(probe.okRuns, c.okRuns) << "message " << c.message << " " << c.wParam;
        EXPECT_EQ(probe.cancelRuns, c.cancelRuns) << "message " << c.message << " " << c.wParam;
    }
}

TEST(InProcess, DoubleClickOnTheTitleStripSendsTheLayoutCommand)
{
    ProbeWindow probe;
    RunWindow(probe, [](HWND window) {
        SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 22));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(40, 22));
        SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 23));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(40, 23));
    });
    const std::vector<UINT> expected{51, IDCANCEL};
    EXPECT_EQ(probe.commands, expected);
}

TEST(InProcess, TheStripRepaintsOnlyWhenTheClockTextChanges)
{
    FixedTime clock(1173103509);  // Monday 5 March 2007, 14:05:09
    fw::SetTimeSource(&clock);
    ProbeWindow probe;
    int stillPaints = -1, afterOneSecond = -1, afterTwoSeconds = -1;
    RunWindow(probe, [&](HWND) {
        Sleep(300);
        const int settled = probe.stripPaints;
        Sleep(300);  // about 30 ticks with an unchanged clock
        stillPaints = probe.stripPaints - settled;
        clock.now = clock.now + 1;
        gui::WaitUntil([&] { return probe.stripPaints > settled; }, 2000);
        Sleep(300);
        afterOneSecond = probe.stripPaints - settled;
        clock.now = clock.now + 1;
        gui::WaitUntil([&] { return probe.stripPaints > settled + 1; }, 2000);
        Sleep(300);
        afterTwoSeconds = probe.stripPaints - settled;
    });
    fw::SetTimeSource(nullptr);
    EXPECT_EQ(stillPaints, 0);
    EXPECT_EQ(afterOneSecond, 1);
    EXPECT_EQ(afterTwoSeconds, 2);
}

TEST(InProcess, LosingTheCaptureEndsADrag)
{
    ProbeWindow probe;
    POINT before{}, after{};
    RunWindow(probe, [&](HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        before = {rect.left, rect.top};
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
        // Another window takes the capture without a button release reaching ours.
        SendMessageW(window, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
        SetCursorPos(rect.left + 300, rect.top + 200);
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
        GetWindowRect(window, &rect);
        after = {rect.left, rect.top};
    });
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
}

TEST(InProcess, TheDragIconIsTheProgramIcon)
{
    ProbeWindow probe;
    HICON dragIcon = nullptr;
    RunWindow(probe, [&](HWND window) {
        dragIcon = reinterpret_cast<HICON>(SendMessageW(window, WM_QUERYDRAGICON, 0, 0));
    });
    EXPECT_NE(dragIcon, nullptr);
    EXPECT_EQ(dragIcon, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128)));
}

// On one monitor a corner counts as on the desktop exactly when it lies inside the
// screen rectangle, right and bottom edges outside.
TEST(InProcess, DesktopRulesOnOneMonitor)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_TRUE(IsOnDesktop(0, 0));
    EXPECT_TRUE(IsOnDesktop(width - 1, height - 1));
    EXPECT_FALSE(IsOnDesktop(width, 0));
    EXPECT_FALSE(IsOnDesktop(0, height));
    EXPECT_FALSE(IsOnDesktop(-1, 10));
    EXPECT_FALSE(IsOnDesktop(10, -1));
    EXPECT_FALSE(IsOnDesktop(-5000, -5000));

    const POINT centred = DesktopCenteredOrigin(RECT{-5000, -5000, -5000 + 243, -5000 + 275});
    EXPECT_EQ(centred.x, width / 2 - 243 / 2);
    EXPECT_EQ(centred.y, height / 2 - 275 / 2);
}
