// The calendar window run inside a test program: a subclass that records what reaches
// it, and a runner that drives it from a second thread while its modal loop runs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Harness.h"
#include "resources/ResourceIds.h"
#include "SettingsFiles.h"
#include "framework/Text.h"
#include "settings/DataFilePath.h"
#include "window/CalendarWindow.h"

// Records what reaches the window's virtual operations and counts paints of the strip.
class ProbeWindow : public CalendarWindow {
public:
    std::vector<UINT> commands;
    int okRuns = 0;
    int cancelRuns = 0;
    std::atomic<int> stripPaints{0};
    std::atomic<int> paints{0};
    // Clock ticks the window has finished handling.
    std::atomic<int> clockTicks{0};
    std::atomic<HWND> window{nullptr};
    // The day-state array last sent to the month calendar; read it on the window's thread.
    std::vector<MONTHDAYSTATE> dayStates;

protected:
    BOOL OnInitDialog() override
    {
        // The controls exist already: the calendar is watched from the window's first day state on.
        SetWindowSubclass(GetDlgItem(Handle(), IDC_CALENDAR), CalendarSpy, 2, reinterpret_cast<DWORD_PTR>(this));
        const BOOL result = CalendarWindow::OnInitDialog();
        SetWindowSubclass(Handle(), Spy, 1, reinterpret_cast<DWORD_PTR>(this));
        window = Handle();
        return result;
    }
public:
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        return CalendarWindow::ProcessMessage(message, wParam, lParam, result);
    }

protected:
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

public:
    // Runs `action` on the window's thread, between two of its messages.
    static void OnWindowThread(HWND window, const std::function<void()>& action)
    {
        SendMessageW(window, runAction, 0, reinterpret_cast<LPARAM>(&action));
    }
    // Starts the custom time-format dialog on the window's thread; its result lands in
    // `timeDialogResult`.
    static void StartTimeDialog(HWND window) { PostMessageW(window, runTimeDialog, 0, 0); }
    std::atomic<INT_PTR> timeDialogResult{0};

private:
    static constexpr UINT runAction = WM_APP + 1;
    static constexpr UINT runTimeDialog = WM_APP + 2;

    static LRESULT CALLBACK CalendarSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data)
    {
        if (message == MCM_SETDAYSTATE) {
            const auto* states = reinterpret_cast<const MONTHDAYSTATE*>(lParam);
            reinterpret_cast<ProbeWindow*>(data)->dayStates.assign(states, states + wParam);
        }
        if (message == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, CalendarSpy, 2);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

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
        if (message == runAction) {
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        }
        if (message == runTimeDialog) {
            auto* self = reinterpret_cast<ProbeWindow*>(data);
            self->timeDialogResult = self->EditCustomFormat();
            return 0;
        }
        if (message == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, Spy, 1);
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        if (message == WM_TIMER && wParam == CLOCK_TIMER_ID)
            ++reinterpret_cast<ProbeWindow*>(data)->clockTicks;
        return result;
    }
};

// Waits until the window has finished handling `count` more clock ticks from now on.
inline bool WaitForClockTicks(const ProbeWindow& probe, int count, DWORD timeoutMs = 5000)
{
    const int until = probe.clockTicks + count;
    return gui::WaitUntil([&] { return probe.clockTicks >= until; }, timeoutMs);
}

// The visible popup menu window of this process, if one is open.
inline HWND OpenPopup()
{
    HWND popup = nullptr;
    gui::WaitUntil([&] {
        popup = FindWindowW(L"#32768", nullptr);
        return popup && IsWindowVisible(popup);
    }, 3000);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

// Runs the window modally on this thread while `drive` acts on it from another thread.
// Its data files go to a fresh folder, never beside the test program; `settings` are
// written there first.
// `notes`, when given, is written as the notes file; `filesAfter` receives the data
// folder's files once the window has ended.
inline void RunWindow(ProbeWindow& probe, const std::function<void(HWND)>& drive,
                      const core::CalendarSettings* settings = nullptr, const std::string* notes = nullptr,
                      std::map<std::wstring, std::string>* filesAfter = nullptr, const std::string* journal = nullptr)
{
    gui::TempFolder dataFolder;
    SetDataFolder(fw::Narrow(dataFolder.Path()) + "\\");
    if (settings)
        gui::WriteFileBytes(dataFolder.File(L"qor_info.dat"), gui::EncodeSettings(*settings));
    if (notes)
        gui::WriteFileBytes(dataFolder.File(L"qor_nots.dat"), *notes);
    if (journal)
        gui::WriteFileBytes(dataFolder.File(L"qor_nots.dat.journal"), *journal);
    gui::ParkCursor();
    bool cameUp = false;
    std::thread driver([&] {
        if (!gui::WaitUntil([&] { return probe.window.load() != nullptr; }, 10000))
            return;
        cameUp = true;
        HWND window = probe.window;
        // The start ends a moment after the first frame, with the icons.
        gui::WaitUntil([&] {
            bool started = false;
            ProbeWindow::OnWindowThread(window, [&] { started = probe.Started(); });
            return started;
        });
        drive(window);
        // Whatever the steps did, the window must end so the test can go on.
        if (IsWindow(window))
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR ended = probe.DoModal();
    const DWORD error = GetLastError();
    driver.join();
    EXPECT_TRUE(cameUp) << "the window did not come up within 10 s; DoModal returned " << ended << ", last error "
                        << error;
    SetDataFolder("");
    if (filesAfter)
        *filesAfter = dataFolder.Contents();
}

