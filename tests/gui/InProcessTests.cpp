// The calendar window run inside the test process, for what the outside cannot see:
// which close routine ran, which commands arrived, how often the title strip repaints.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <string_view>
#include <vector>

#include "FixedTime.h"
#include "Harness.h"
#include "ImportPatch.h"
#include "ProbeWindow.h"
#include "SettingsFiles.h"
#include "core/CodePage.h"
#include "core/DataFilePath.h"
#include "core/NotesJournal.h"
#include "framework/Files.h"
#include "framework/SingleInstance.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"
#include "settings/DataFilePath.h"
#include "window/CalendarWindow.h"
#include "framework/Desktop.h"

namespace {

fw::CWinApp testApp;

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
        {WM_COMMAND, IDOK, 1, 0},        {WM_COMMAND, ID_CLOSE, 1, 0}, {WM_ENDSESSION, TRUE, 1, 0},
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
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.timeFormatId = 40;  // "%H:%M:%S"
    int stillPaints = -1, afterOneSecond = -1, afterTwoSeconds = -1;
    RunWindow(probe, [&](HWND window) {
        // The first paint done and the clock running.
        gui::WaitUntilPainted(window);
        WaitForClockTicks(probe, 2);
        const int settled = probe.stripPaints;
        // The ticks are the subject: 30 of them with an unchanged clock, and 30 after each change.
        WaitForClockTicks(probe, 30);
        stillPaints = probe.stripPaints - settled;
        clock.now = clock.now + 1;
        gui::WaitUntil([&] { return probe.stripPaints > settled; }, 2000);
        WaitForClockTicks(probe, 30);
        afterOneSecond = probe.stripPaints - settled;
        clock.now = clock.now + 1;
        gui::WaitUntil([&] { return probe.stripPaints > settled + 1; }, 2000);
        WaitForClockTicks(probe, 30);
        afterTwoSeconds = probe.stripPaints - settled;
    }, &settings);
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
        // The capture goes without a button release reaching the window. Both steps run on the
        // window's thread at once, so no real input (another test's clicks) meets the capture.
        ProbeWindow::OnWindowThread(window, [&] {
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
            ReleaseCapture();
        });
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

namespace {

struct Item {
    UINT id;
    std::wstring text;
    bool radioChecked;
};

// The items of a popup menu: identifier (0 for separators and popups), text and radio mark.
std::vector<Item> ItemsOf(HMENU menu)
{
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 64;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        items.push_back({info.hSubMenu || separator ? 0 : info.wID, separator ? L"-" : text,
                         (info.fType & MFT_RADIOCHECK) && (info.fState & MFS_CHECKED)});
    }
    return items;
}

std::wstring Describe(const std::vector<Item>& items)
{
    std::wstring all;
    for (const Item& item : items)
        all += std::to_wstring(item.id) + L" " + item.text + (item.radioChecked ? L" (*)" : L"") + L"\n";
    return all;
}

}  // namespace

TEST(InProcess, TheMenuCarriesEveryCommandAndTheMarksOfTheSettings)
{
    ProbeWindow probe;
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.colorScheme = 3, settings.shape = 2, settings.titleGradient = 1, settings.timeFormatId = 44;
    settings.fullLayout = 0;
    std::wstring main, color, style, title, time, font, notes;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            const HMENU menu = probe.MainMenu();
            main = Describe(ItemsOf(menu));
            std::wstring* subs[] = {&color, &style, &title, &time, &font, &notes};
            for (int i = 0; i < 6; ++i)
                *subs[i] = Describe(ItemsOf(GetSubMenu(menu, i + 2)));
        });
    }, &settings);
    EXPECT_EQ(main, L"51 Full\n0 -\n0 Color\n0 Style\n0 Title\n0 Time\n0 Font\n0 Notes\n0 -\n54 Help\n55 About\n0 -\n"
                    L"56 Close\n");
    EXPECT_EQ(color, L"20 Blue\n21 Green\n22 Red\n23 Yellow (*)\n24 Gray\n");
    EXPECT_EQ(style, L"30 Rectangle\n31 Rounding top\n32 Rounding all (*)\n");
    EXPECT_EQ(title, L"60 Gradient V1\n61 Gradient V2 (*)\n");
    EXPECT_EQ(time, L"40 %H:%M:%S\n41 %I:%M:%S %p\n42 %a %H:%M:%S\n43 %a %I:%M:%S %p\n44 %A %H:%M (*)\n"
                    L"45 %A %I:%M %p\n0 -\n46 Custom...\n");
    EXPECT_EQ(font, L"80 Title...\n81 Notes...\n");
    EXPECT_EQ(notes, L"90 Find...\tCtrl+F\n96 Today\tAlt+Home\n91 Export...\n94 Import...\n92 Open data folder\n0 -\n93 Start with Windows\n");
    // The system menu's About item (Wine gives this window no system menu to read it from).
    wchar_t about[64] = L"";
    LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 64);
    EXPECT_STREQ(about, L"&About Dayvane...");

    // A first run: the marks sit on the defaults and the layout item offers "Compact".
    ProbeWindow first;
    RunWindow(first, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            const HMENU menu = first.MainMenu();
            main = Describe(ItemsOf(menu));
            std::wstring* subs[] = {&color, &style, &title, &time, &font};
            for (int i = 0; i < 5; ++i)
                *subs[i] = Describe(ItemsOf(GetSubMenu(menu, i + 2)));
        });
    });
    EXPECT_EQ(main.substr(0, 11), L"51 Compact\n");
    EXPECT_NE(color.find(L"20 Blue (*)"), std::wstring::npos);
    EXPECT_NE(style.find(L"30 Rectangle (*)"), std::wstring::npos);
    EXPECT_NE(title.find(L"60 Gradient V1 (*)"), std::wstring::npos);
    EXPECT_NE(time.find(L"43 %a %I:%M:%S %p (*)"), std::wstring::npos);
}

namespace {

std::vector<HMENU> destroyedMenus;
BOOL(WINAPI* systemDestroyMenu)(HMENU) = nullptr;
BOOL WINAPI RecordDestroyMenu(HMENU menu)
{
    destroyedMenus.push_back(menu);
    return systemDestroyMenu(menu);
}

}  // namespace

// A submenu belongs to the menu it is attached to and goes with it: the window destroys only
// its main menu, once.
TEST(InProcess, TheMenusAreDestroyedOnceWithTheWindow)
{
    ImportPatch patch("user32.dll", "DestroyMenu", reinterpret_cast<void*>(RecordDestroyMenu));
    ASSERT_TRUE(patch.Patched());
    systemDestroyMenu = reinterpret_cast<BOOL(WINAPI*)(HMENU)>(patch.Original());
    destroyedMenus.clear();
    HMENU main = nullptr;
    std::vector<HMENU> submenus;
    {
        ProbeWindow probe;
        RunWindow(probe, [&](HWND window) {
            ProbeWindow::OnWindowThread(window, [&] {
                main = probe.MainMenu();
                for (int i = 0; i < GetMenuItemCount(main); ++i)
                    if (HMENU submenu = GetSubMenu(main, i))
                        submenus.push_back(submenu);
            });
        });
    }
    EXPECT_FALSE(submenus.empty());
    EXPECT_EQ(destroyedMenus, std::vector<HMENU>{main});
    EXPECT_FALSE(IsMenu(main));
    for (HMENU submenu : submenus)
        EXPECT_FALSE(IsMenu(submenu));
}

TEST(InProcess, TheClockShowsTheChosenFormat)
{
    FixedTime clock(1173103509);  // Monday 5 March 2007, 14:05:09 UTC
    fw::SetTimeSource(&clock);
    ProbeWindow probe;
    std::vector<std::string> texts;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            for (int id : {40, 41, 42, 43, 44, 45, 46, 47, 39}) {
                probe.Settings().timeFormatId = id;
                texts.push_back(probe.ClockText());
            }
            probe.Settings().timeFormatId = 44;
            texts.push_back(probe.ClockFormat());
        });
    });
    fw::SetTimeSource(nullptr);
    const std::vector<std::string> expected{"14:05:09",       "02:05:09 PM",     "Mon 14:05:09", "Mon 02:05:09 PM",
                                            "Monday 14:05",   "Monday 02:05 PM", "Time 14:05",   "",
                                            "",               "%A %H:%M"};
    EXPECT_EQ(texts, expected);
}

TEST(InProcess, TheLayoutCommandCutsTheWindowToItsStripAndBack)
{
    ProbeWindow probe;
    std::vector<int> heights;
    std::vector<std::wstring> itemTexts;
    std::vector<int> layouts;
    RunWindow(probe, [&](HWND window) {
        for (int i = 0; i < 3; ++i) {
            ProbeWindow::OnWindowThread(window, [&] {
                HRGN region = CreateRectRgn(0, 0, 0, 0);
                GetWindowRgn(window, region);
                RECT box{};
                GetRgnBox(region, &box);
                DeleteObject(region);
                heights.push_back(box.bottom);
                wchar_t text[32] = L"";
                GetMenuStringW(probe.MainMenu(), 51, text, 32, MF_BYCOMMAND);
                itemTexts.push_back(text);
                layouts.push_back(probe.Settings().fullLayout);
            });
            SendMessageW(window, WM_COMMAND, ID_LAYOUT_TOGGLE, 0);
        }
    });
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_GT(heights[0], 200);
    EXPECT_EQ(heights[1], 24);
    EXPECT_EQ(heights[2], heights[0]);
    EXPECT_EQ(itemTexts, (std::vector<std::wstring>{L"Compact", L"Full", L"Compact"}));
    EXPECT_EQ(layouts, (std::vector<int>{1, 0, 1}));
}

TEST(InProcess, TheTimeFormatDialogStoresWhatIsTypedOnlyOnOk)
{
    ProbeWindow probe;
    struct Run {
        std::function<void(HWND dialog)> close;
        INT_PTR result;
        std::string format;
    };
    const Run runs[] = {
        {[](HWND dialog) {
             SetDlgItemTextW(dialog, 1001, L"%d.%m.%Y \u65e5");
             PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);  // Enter on the focused "OK"
         },
         IDOK, "%d.%m.%Y \u65e5"},
        {[](HWND dialog) {
             SetDlgItemTextW(dialog, 1001, L"dropped");
             PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
         },
         IDCANCEL, "%d.%m.%Y \u65e5"},
        {[](HWND dialog) {
             SetDlgItemTextW(dialog, 1001, L"dropped too");
             PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
         },
         IDCANCEL, "%d.%m.%Y \u65e5"},
        {[](HWND dialog) {
             SetDlgItemTextW(dialog, 1001, L"");
             SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
         },
         IDOK, ""},
    };
    std::vector<std::wstring> shown;
    std::vector<std::wstring> captions;
    std::vector<int> focused;
    std::vector<INT_PTR> results;
    std::vector<std::string> formats;
    RunWindow(probe, [&](HWND window) {
        for (const Run& run : runs) {
            probe.timeDialogResult = 0;
            ProbeWindow::StartTimeDialog(window);
            HWND dialog = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
            if (!dialog)
                return;
            wchar_t text[128] = L"";
            GetDlgItemTextW(dialog, 1001, text, 128);
            shown.push_back(text);
            GetWindowTextW(dialog, text, 128);
            captions.push_back(text);
            GUITHREADINFO thread{};
            thread.cbSize = sizeof thread;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
            focused.push_back(GetDlgCtrlID(thread.hwndFocus));
            run.close(dialog);
            gui::WaitUntil([&] { return probe.timeDialogResult != 0; });
            results.push_back(probe.timeDialogResult);
            ProbeWindow::OnWindowThread(window, [&] { formats.push_back(probe.Settings().customTimeFormat); });
        }
    });
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Time %H:%M", L"%d.%m.%Y \u65e5", L"%d.%m.%Y \u65e5", L"%d.%m.%Y \u65e5"}));
    EXPECT_EQ(captions[0], L"Time format...");
    EXPECT_EQ(focused[0], IDOK);
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i], runs[i].result) << i;
        EXPECT_EQ(formats[i], runs[i].format) << i;
    }
}

// With its font the calendar gets at least the room it asks for, so nothing of it is cut.
TEST(InProcess, TheNotesBoxTakesTheNotesFontAndTheCalendarKeepsTahomaWhole)
{
    ProbeWindow probe;
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.notesFont.faceName = "Courier New";
    settings.notesFont.height = -16;
    settings.notesFont.weight = 700;
    settings.notesFont.underline = 1;
    settings.notesFont.italic = 0;
    LOGFONTW notes{}, calendar{};
    RECT needed{}, calendarRect{};
    RunWindow(probe, [&](HWND window) {
        // The fonts and the calendar's room are read from the window as it shows, started and painted.
        gui::WaitUntilPainted(window);
        const auto fontOf = [](HWND control, LOGFONTW& font) {
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        };
        fontOf(GetDlgItem(window, IDC_NOTES), notes);
        fontOf(GetDlgItem(window, IDC_CALENDAR), calendar);
        SendMessageW(GetDlgItem(window, IDC_CALENDAR), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed));
        GetWindowRect(GetDlgItem(window, IDC_CALENDAR), &calendarRect);
    }, &settings);
    EXPECT_GT(needed.right, 0);
    EXPECT_GE(calendarRect.right - calendarRect.left, needed.right - needed.left);
    EXPECT_GE(calendarRect.bottom - calendarRect.top, needed.bottom - needed.top);
    EXPECT_STREQ(notes.lfFaceName, L"Courier New");
    EXPECT_EQ(notes.lfHeight, -16);
    EXPECT_EQ(notes.lfWeight, 700);
    EXPECT_EQ(notes.lfUnderline, 1);
    EXPECT_EQ(notes.lfItalic, 0);
    EXPECT_STREQ(calendar.lfFaceName, L"Tahoma");
    EXPECT_EQ(calendar.lfHeight, -11);
    EXPECT_EQ(calendar.lfWeight, 0);
    EXPECT_EQ(calendar.lfItalic, 0);
}

TEST(InProcess, TheMonthCalendarTakesTheSchemeColours)
{
    ProbeWindow probe;
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.colorScheme = 2;  // Red
    std::vector<COLORREF> slots;
    RunWindow(probe, [&](HWND window) {
        for (int slot : {MCSC_BACKGROUND, MCSC_MONTHBK, MCSC_TEXT, MCSC_TITLEBK, MCSC_TITLETEXT, MCSC_TRAILINGTEXT})
            slots.push_back(static_cast<COLORREF>(SendMessageW(GetDlgItem(window, IDC_CALENDAR), MCM_GETCOLOR, slot, 0)));
    }, &settings);
    const COLORREF light = RGB(250, 200, 200), mid = RGB(150, 90, 90), dark = RGB(100, 50, 50);
    EXPECT_EQ(slots, (std::vector<COLORREF>{light, light, dark, mid, light, light}));
}

namespace {

// The visible message box of this process, if one opens: a dialog other than the calendar
// window.
HWND WaitForReport(DWORD timeoutMs = 5000)
{
    HWND found = nullptr;
    gui::WaitUntil([&] {
        for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box;
             box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(box) && !GetDlgItem(box, IDC_CALENDAR))
                found = box;
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

// Puts a stand-in in the place of one of the shell's functions the program calls, for as long
// as what it gives, the original, lives.
template <class Function>
std::shared_ptr<Function> ShellPatch(Function& slot, Function replacement)
{
    std::shared_ptr<Function> original(new Function(slot), [&slot](Function* kept) { slot = *kept; delete kept; });
    slot = replacement;
    return original;
}

// Stand-ins for what the system gives, each failing the way the system can.
HINSTANCE WINAPI ThrowingShellExecute(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)
{
    throw std::runtime_error("the shell threw");
}

INT_PTR WINAPI RefusedDialog(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

decltype(&SetTimer) realSetTimer = nullptr;
UINT_PTR WINAPI NoClockTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure)
{
    if (id == CalendarWindow::CLOCK_TIMER_ID) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return 0;
    }
    return realSetTimer(window, id, elapse, procedure);
}

decltype(&Shell_NotifyIconW) realNotifyIcon = nullptr;
std::atomic<int> iconAdds{0}, iconsShown{0};
BOOL WINAPI RefuseFirstIcon(DWORD message, PNOTIFYICONDATAW data)
{
    if (message != NIM_ADD)
        return realNotifyIcon(message, data);
    if (iconAdds++ == 0)
        return FALSE;
    const BOOL shown = realNotifyIcon(message, data);
    iconsShown += shown ? 1 : 0;
    return shown;
}

class ThrowingSeam : public fw::WriteSeam {
public:
    bool Write(HANDLE, const std::uint8_t*, DWORD, DWORD&) override { throw std::bad_alloc(); }
};

// Watches one control, counting the messages it sees.
class Watcher : public fw::CSubclassedWnd {
public:
    using CSubclassedWnd::Subclass;
    int seen = 0;

protected:
    bool ProcessMessage(UINT message, WPARAM, LPARAM, LRESULT&) override
    {
        seen += message == WM_USER + 7;
        return false;
    }
};

}  // namespace

// Nothing the program meets goes unsaid: an exception in a command, a dialog or a timer the
// system refuses are reported in a message box that names what failed, and the window goes
// on working; an exception while saving at close is a failed save, with Retry and Cancel.
TEST(InProcess, EveryFailureIsToldAndTheWindowGoesOn)
{
    // Each stand-in goes in for as long as what `install` gives lives.
    using Install = std::function<std::shared_ptr<void>()>;
    const auto importPatch = [](const char* dll, const char* function, void* replacement, void** original = nullptr) {
        return [=] {
            auto made = std::make_shared<ImportPatch>(dll, function, replacement);
            if (original)
                *original = made->Original();
            return std::shared_ptr<void>(made);
        };
    };
    struct Case {
        const char* what;
        Install install;
        bool beforeStart;
        UINT command;
        const wchar_t* report;
    };
    const Case cases[] = {
        {"an exception in a command",
         [] { return std::shared_ptr<void>(ShellPatch(fw::Shell().execute, &ThrowingShellExecute)); },
         false, ID_NOTES_OPEN_FOLDER, L"could not carry out command 92:"},
        {"a dialog the system cannot make", importPatch("user32.dll", "DialogBoxParamW", reinterpret_cast<void*>(&RefusedDialog)),
         false, ID_ABOUT, L"could not open a window:"},
        {"a clock without its timer",
         importPatch("user32.dll", "SetTimer", reinterpret_cast<void*>(&NoClockTimer), reinterpret_cast<void**>(&realSetTimer)),
         true, 0, L"could not start its clock:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<void> installed;
        const auto install = [&] { installed = c.install(); };
        if (c.beforeStart)
            install();
        // The report's text, once its box is gone.
        std::wstring reported;
        std::atomic<bool> answered{false};
        std::thread answer([&] {
            if (const HWND box = WaitForReport(10000)) {
                reported = gui::ChildTexts(box);
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                gui::WaitUntil([&] { return !IsWindow(box); });
            }
            answered = true;
        });
        ProbeWindow probe;
        bool goesOn = false;
        RunWindow(probe, [&](HWND window) {
            if (!c.beforeStart) {
                install();
                PostMessageW(window, WM_COMMAND, c.command, 0);
            }
            gui::WaitUntil([&] { return answered.load(); }, 12000);
            installed.reset();
            // The window still answers its commands.
            PostMessageW(window, WM_COMMAND, ID_COLOR_FIRST + 1, 0);
            goesOn = gui::WaitUntil([&] { return probe.Settings().colorScheme == 1; });
        });
        answer.join();
        EXPECT_NE(reported.find(c.report), std::wstring::npos) << fw::Narrow(reported);
        EXPECT_TRUE(goesOn);
    }

    // The taskbar refusing the icon at start is asked again.
    {
        iconAdds = iconsShown = 0;
        const auto patch = ShellPatch(fw::Shell().notifyIcon, &RefuseFirstIcon);
        realNotifyIcon = *patch;
        ProbeWindow probe;
        RunWindow(probe, [&](HWND) {
            EXPECT_TRUE(gui::WaitUntil([&] { return iconsShown > 0; }, 3 * NotifyIcon::TRAY_RETRY_MS));
        });
        EXPECT_GE(iconAdds.load(), 2);
    }

    // A save that throws at close asks to retry; Cancel keeps the window with its notes, and
    // the next close saves them.
    {
        ProbeWindow probe;
        std::map<std::wstring, std::string> files;
        std::wstring asked;
        RunWindow(probe, [&](HWND window) {
            // Typed, and in the journal before the seam goes in: the journal's own writes
            // would throw too, and be told in a box of their own.
            for (const char character : std::string("kept through a failed save"))
                SendMessageW(GetDlgItem(window, IDC_NOTES), WM_CHAR, static_cast<WPARAM>(character), 1);
            EXPECT_TRUE(gui::WaitUntil([] {
                return gui::ReadFileBytes(DataFilePath("qor_nots.dat.journal")).find("kept through a failed save") !=
                       std::string::npos;
            }));
            ThrowingSeam seam;
            fw::SetWriteSeam(&seam);
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            if (const HWND box = WaitForReport()) {
                asked = gui::ChildTexts(box);
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                gui::WaitUntil([&] { return !IsWindow(box); });
            }
            fw::SetWriteSeam(nullptr);
            EXPECT_TRUE(IsWindow(window));
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            gui::WaitUntil([&] { return !IsWindow(window); });
        }, nullptr, nullptr, &files);
        EXPECT_NE(asked.find(L"Choose Retry to try again"), std::wstring::npos) << fw::Narrow(asked);
        EXPECT_NE(asked.find(fw::Widen(fw::SystemMessage(ERROR_NOT_ENOUGH_MEMORY))), std::wstring::npos)
            << fw::Narrow(asked);
        EXPECT_EQ(probe.okRuns, 2);
        EXPECT_NE(files[L"qor_nots.dat"].find("kept through a failed save"), std::string::npos);
        EXPECT_EQ(files.count(L"qor_nots.dat.journal"), 0u);
    }

    // Two watchers of one control both see its messages; a control that is not there cannot
    // be watched, and says why.
    {
        const HWND control = CreateWindowW(L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        Watcher first, second, none;
        first.Attach(control);
        second.Attach(control);
        EXPECT_EQ(first.Subclass(), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(second.Subclass(), static_cast<DWORD>(ERROR_SUCCESS));
        SendMessageW(control, WM_USER + 7, 0, 0);
        EXPECT_EQ(first.seen, 1);
        EXPECT_EQ(second.seen, 1);
        EXPECT_NE(none.Subclass(), static_cast<DWORD>(ERROR_SUCCESS));
        DestroyWindow(control);
    }
}

namespace {

// What reached the calendar window and its controls, in order: each move, size or show as it
// was handled, and each paint. Their subclasses are set before the initialisation, or as the
// initialisation makes a control.
struct StartEvent {
    HWND window;
    UINT message;
    UINT flags;
};

class StartProbe : public ProbeWindow {
public:
    std::vector<StartEvent> events;

protected:
    BOOL OnInitDialog() override
    {
        SetWindowSubclass(Handle(), Record, 3, reinterpret_cast<DWORD_PTR>(this));
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SetWindowSubclass(child, Record, 3, reinterpret_cast<DWORD_PTR>(this));
        return ProbeWindow::OnInitDialog();
    }

private:
    static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        auto& events = reinterpret_cast<StartProbe*>(data)->events;
        if (message == WM_WINDOWPOSCHANGED)
            events.push_back({window, message, reinterpret_cast<const WINDOWPOS*>(lParam)->flags});
        else if (message == WM_PAINT)
            events.push_back({window, message, 0});
        else if (message == WM_NCDESTROY)
            RemoveWindowSubclass(window, Record, 3);
        // Controls the initialisation makes are watched from their creation on.
        else if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE)
            SetWindowSubclass(reinterpret_cast<HWND>(lParam), Record, 3, data);
        return DefSubclassProc(window, message, wParam, lParam);
    }
};

}  // namespace

// The dialog manager shows the window once everything is set: nothing of it moves, changes
// size or appears after it is visible, and every control has painted once the window has.
TEST(InProcess, TheFirstFrameIsTheFinishedWindow)
{
    StartProbe probe;
    std::vector<StartEvent> events;
    std::vector<std::pair<HWND, std::wstring>> controls;
    RunWindow(probe, [&](HWND window) {
        // The first clock ticks after the show are when a late change would come.
        EXPECT_TRUE(WaitForClockTicks(probe, 3));
        EXPECT_TRUE(gui::WaitUntilPainted(window));
        ProbeWindow::OnWindowThread(window, [&] {
            events = probe.events;
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (IsWindowVisible(child))
                    controls.emplace_back(child, gui::ClassNameOf(child));
        });
    });
    auto nameOf = [&](HWND window) {
        for (const auto& [control, name] : controls)
            if (control == window)
                return name;
        return std::wstring(L"the window");
    };
    const auto shown = std::find_if(events.begin(), events.end(), [&](const StartEvent& e) {
        return e.message == WM_WINDOWPOSCHANGED && e.window == probe.window && (e.flags & SWP_SHOWWINDOW);
    });
    ASSERT_NE(shown, events.end());
    EXPECT_TRUE(std::any_of(events.begin(), shown, [](const StartEvent& e) { return e.message == WM_WINDOWPOSCHANGED; }))
        << "the initialisation's moves were not seen";
    for (auto e = shown + 1; e != events.end(); ++e) {
        if (e->message != WM_WINDOWPOSCHANGED)
            continue;
        EXPECT_TRUE(e->flags & SWP_NOMOVE) << "moved after the window was shown: " << nameOf(e->window);
        EXPECT_TRUE(e->flags & SWP_NOSIZE) << "sized after the window was shown: " << nameOf(e->window);
        EXPECT_FALSE(e->flags & SWP_SHOWWINDOW) << "shown after the window: " << nameOf(e->window);
    }
    ASSERT_GE(controls.size(), 2u);
    for (const auto& [control, name] : controls)
        EXPECT_TRUE(std::any_of(shown, events.end(), [&](const StartEvent& e) {
            return e.message == WM_PAINT && e.window == control;
        })) << name << " has not painted";
}

namespace {

std::vector<DWORD> loadFlags;
decltype(&LoadLibraryExW) realLoadLibraryEx = nullptr;
HMODULE WINAPI RecordLoadFlags(LPCWSTR name, HANDLE file, DWORD flags)
{
    loadFlags.push_back(flags);
    return realLoadLibraryEx(name, file, flags);
}

}  // namespace

// Every library the program loads at run time comes from the system folder, whether or not the
// start made that the default.
TEST(InProcess, EachLibraryLoadedAtRunTimeIsAskedForFromTheSystemFolder)
{
    ImportPatch patch("kernel32.dll", "LoadLibraryExW", reinterpret_cast<void*>(&RecordLoadFlags));
    ASSERT_TRUE(patch.Patched());
    realLoadLibraryEx = reinterpret_cast<decltype(&LoadLibraryExW)>(patch.Original());
    ProbeWindow probe;
    RunWindow(probe, [](HWND window) { EXPECT_TRUE(gui::WaitUntilPainted(window)); });
    ASSERT_FALSE(loadFlags.empty());
    for (const DWORD flags : loadFlags)
        EXPECT_TRUE(flags & LOAD_LIBRARY_SEARCH_SYSTEM32) << std::hex << flags;
}

namespace {

HANDLE WINAPI RefuseChangeNotification(LPCWSTR, BOOL, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

// Refuses to give any file the notes file's name, as when another program holds it: the file
// can be read, but not replaced.
decltype(&SetFileInformationByHandle) realSetFileInformation = nullptr;
BOOL WINAPI RefuseNotesRename(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size)
{
    const std::wstring_view notes = L"\\qor_nots.dat";
    if (kind == FileRenameInfo) {
        const auto* rename = static_cast<const FILE_RENAME_INFO*>(info);
        const std::wstring_view target(rename->FileName, rename->FileNameLength / sizeof(wchar_t));
        if (target.size() >= notes.size() && target.substr(target.size() - notes.size()) == notes) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return realSetFileInformation(file, kind, info, size);
}

core::NoteStore NotesOf(const std::string& bytes)
{
    core::NoteStore notes;
    EXPECT_TRUE(notes.Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), core::Windows1252()));
    return notes;
}

void CloseWith(HWND window, UINT command)
{
    EXPECT_TRUE(gui::WaitUntilPainted(window));
    PostMessageW(window, WM_COMMAND, command, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !IsWindow(window); }));
}

}  // namespace

// Without a folder watch, a day that another program added to the notes file is still merged
// when the window closes, never written over.
TEST(InProcess, TheCloseMergesAChangeTheFolderWatchMissed)
{
    ImportPatch patch("kernel32.dll", "FindFirstChangeNotificationW", reinterpret_cast<void*>(&RefuseChangeNotification));
    ASSERT_TRUE(patch.Patched());
    const std::string notes = gui::EncodeNotes({{"010107", "ours"}});
    std::map<std::wstring, std::string> files;
    ProbeWindow probe;
    RunWindow(probe, [](HWND window) {
        EXPECT_TRUE(gui::WriteFileBytes(DataFilePath("qor_nots.dat"), gui::EncodeNotes({{"010107", "ours"}, {"020107", "theirs"}})));
        CloseWith(window, ID_CLOSE);
    }, nullptr, &notes, &files);
    const core::NoteStore saved = NotesOf(files[L"qor_nots.dat"]);
    EXPECT_EQ(saved.Lookup("010107"), "ours");
    EXPECT_EQ(saved.Lookup("020107"), "theirs");
}

// Notes recovered at a start whose save failed are not this run's to give up: an Escape keeps
// them in the journal, and the next start brings them back.
TEST(InProcess, RecoveredNotesThatCouldNotBeSavedOutliveAnEscape)
{
    const std::string notes = gui::EncodeNotes({{"010107", "as saved"}});
    std::string journal;
    for (const core::Bytes& part : {core::JournalHeader(), core::JournalRecord({"020107", ""}, core::JournalKind::Base),
                                    core::JournalRecord({"020107", "recovered"})})
        journal.append(part.begin(), part.end());
    std::map<std::wstring, std::string> afterEscape, afterRestart;
    {
        ImportPatch patch("kernel32.dll", "SetFileInformationByHandle", reinterpret_cast<void*>(&RefuseNotesRename));
        ASSERT_TRUE(patch.Patched());
        realSetFileInformation = reinterpret_cast<decltype(&SetFileInformationByHandle)>(patch.Original());
        ProbeWindow probe;
        RunWindow(probe, [](HWND window) { CloseWith(window, IDCANCEL); }, nullptr, &notes, &afterEscape, &journal);
    }
    EXPECT_EQ(afterEscape[L"qor_nots.dat"], notes);
    ASSERT_EQ(afterEscape.count(L"qor_nots.dat.journal"), 1u);
    ProbeWindow probe;
    RunWindow(probe, [](HWND window) { CloseWith(window, ID_CLOSE); }, nullptr, &afterEscape[L"qor_nots.dat"],
              &afterRestart, &afterEscape[L"qor_nots.dat.journal"]);
    EXPECT_EQ(NotesOf(afterRestart[L"qor_nots.dat"]).Lookup("020107"), "recovered");
}

namespace {

HANDLE(WINAPI* systemCreateMutex)(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR) = nullptr;
std::vector<std::wstring> mutexesAsked;
bool refuseGlobalNames = false;
// What the last mutex's list grants everyone, when it has just that one entry.
ACCESS_MASK everyonesRights = 0;

ACCESS_MASK EveryonesRights(const SECURITY_ATTRIBUTES* attributes)
{
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    void* entry = nullptr;
    alignas(DWORD) BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD everyoneSize = sizeof everyone;
    if (!attributes || !attributes->lpSecurityDescriptor ||
        !GetSecurityDescriptorDacl(attributes->lpSecurityDescriptor, &present, &list, &defaulted) || !present ||
        !list || list->AceCount != 1 || !GetAce(list, 0, &entry) ||
        !CreateWellKnownSid(WinWorldSid, nullptr, everyone, &everyoneSize))
        return 0;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    const bool forEveryone = allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                             EqualSid(const_cast<DWORD*>(&allowed->SidStart), everyone);
    return forEveryone ? allowed->Mask : 0;
}

// Refuses the global namespace as a system does to a process it keeps out of it.
HANDLE WINAPI RecordCreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL owner, LPCWSTR name)
{
    mutexesAsked.push_back(name);
    everyonesRights = EveryonesRights(attributes);
    SetLastError(ERROR_ACCESS_DENIED);
    const bool refused = refuseGlobalNames && mutexesAsked.back().rfind(L"Global\\", 0) == 0;
    return refused ? nullptr : systemCreateMutex(attributes, owner, name);
}

}  // namespace

// The data folder's mutex is machine-wide where the system allows it, and the session's
// where it does not, without a word. Anyone may wait on the machine-wide one and release it:
// a copy in another user's session sees it held, and takes it over from a killed holder.
TEST(InProcess, TheDataFoldersMutexIsMachineWideWhereAllowedAndTheSessionsElse)
{
    ImportPatch patch("kernel32.dll", "CreateMutexW", reinterpret_cast<void*>(&RecordCreateMutex));
    ASSERT_TRUE(patch.Patched());
    systemCreateMutex = reinterpret_cast<decltype(systemCreateMutex)>(patch.Original());
    const std::wstring name = L"Test.Scope." + core::HashText(L"C:\\FOLDER");
    const struct {
        bool refused;
        std::vector<std::wstring> asked;
    } rows[] = {
        {false, {L"Local\\" + name + L".Session", L"Global\\" + name + L".Running"}},
        {true, {L"Local\\" + name + L".Session", L"Global\\" + name + L".Running", L"Local\\" + name + L".Running"}},
    };
    for (const auto& row : rows) {
        refuseGlobalNames = row.refused;
        mutexesAsked.clear();
        fw::SingleInstance claim;
        EXPECT_EQ(claim.Claim(L"Test.Scope", L"C:\\FOLDER"), fw::SingleInstance::Holder::ThisCopy) << row.refused;
        EXPECT_EQ(mutexesAsked, row.asked) << row.refused;
        if (!row.refused) {
            EXPECT_EQ(everyonesRights, static_cast<ACCESS_MASK>(SYNCHRONIZE | MUTEX_MODIFY_STATE));
        }
    }
    refuseGlobalNames = false;
}
