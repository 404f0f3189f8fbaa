// A new user's first day with the real program: first start, a note, a scheme, the compact
// layout, a custom clock, a restart, and everything still there. With the environment
// variable DAYVANE_WALKTHROUGH_SHOTS set, each step also leaves a screenshot in the
// artifacts folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Harness.h"
#include "resources/ResourceIds.h"
#include "SettingsFiles.h"

namespace {

void Shot(const gui::Program& program, const wchar_t* name)
{
    if (!std::getenv("DAYVANE_WALKTHROUGH_SHOTS"))
        return;
    program.WaitUntilIdle();
    RECT area{};
    GetWindowRect(program.Window(), &area);
    gui::SaveScreenPng(area, gui::Config().artifacts + L"\\walkthrough-" + name + L".png");
}

// The bounding box of the window's region; empty when it has none.
RECT RegionBox(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    if (GetWindowRgn(window, region) != ERROR)
        GetRgnBox(region, &box);
    DeleteObject(region);
    return box;
}

std::wstring NotesText(HWND window)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(window, 1001, text, 256);
    return text;
}

}  // namespace

TEST(Walkthrough, AFirstDayWithDayvane)
{
    gui::TempFolder folder;
    {
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(NotesText(program.Window()), L"My first note...");
        Shot(program, L"1-first-start");

        SetDlgItemTextW(program.Window(), 1001, L"Dentist at 10:30\r\nCall Anna about the garden");
        PostMessageW(program.Window(), WM_COMMAND, ID_COLOR_FIRST + 1, 0);  // Green
        PostMessageW(program.Window(), WM_COMMAND, ID_STYLE_FIRST + 2, 0);  // Rounding all
        Shot(program, L"2-green-note");

        PostMessageW(program.Window(), WM_COMMAND, ID_TIME_CUSTOM, 0);  // Custom...
        HWND dialog = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextW(dialog, 1001, L"%a %d %b  %H:%M");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(dialog); }));

        const LONG fullBottom = RegionBox(program.Window()).bottom;
        PostMessageW(program.Window(), WM_COMMAND, ID_LAYOUT_TOGGLE, 0);  // Compact
        // The layout has changed once the window's outline has.
        gui::WaitUntil([&] { return RegionBox(program.Window()).bottom != fullBottom; });
        EXPECT_EQ(RegionBox(program.Window()).bottom, 24);
        Shot(program, L"3-compact-custom-clock");

        PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);  // Close
        ASSERT_TRUE(program.WaitForExit(5000));
    }
    const core::CalendarSettings saved = gui::DecodeSettings(gui::ReadFileBytes(folder.File(L"qor_info.dat")));
    EXPECT_EQ(saved.colorScheme, 1);
    EXPECT_EQ(saved.shape, 2);
    EXPECT_EQ(saved.fullLayout, 0);
    EXPECT_EQ(saved.timeFormatId, 46);
    EXPECT_EQ(saved.customTimeFormat, "%a %d %b  %H:%M");

    gui::Program again(folder);
    ASSERT_NE(again.Window(), nullptr);
    EXPECT_EQ(NotesText(again.Window()), L"Dentist at 10:30\r\nCall Anna about the garden");
    PostMessageW(again.Window(), WM_COMMAND, ID_LAYOUT_TOGGLE, 0);  // Full again
    Shot(again, L"4-restart");
    PostMessageW(again.Window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(again.WaitForExit(5000));
}
