// The program as a user first meets it: one frameless window, centred, with its two controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

// Dialog units of a template with the calendar window's font ("MS Shell Dlg" 8), in
// pixels. Another process's dialog cannot be asked, so a hidden dialog of our own
// with the same header converts them.
RECT DialogUnitsToPixels(RECT units)
{
    alignas(4) WORD buffer[64] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer);
    header->style = WS_POPUP | DS_SETFONT | DS_FIXEDSYS;
    header->cx = 139;
    header->cy = 169;
    WORD* tail = reinterpret_cast<WORD*>(header + 1);
    *tail++ = 0;  // no menu
    *tail++ = 0;  // standard dialog class
    *tail++ = 0;  // no title
    *tail++ = 8;  // point size
    for (const wchar_t* face = L"MS Shell Dlg"; *face; ++face)
        *tail++ = static_cast<WORD>(*face);
    *tail = 0;
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), header, nullptr,
                                             [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    MapDialogRect(dialog, &units);
    DestroyWindow(dialog);
    return units;
}

RECT ClientRectOf(HWND child, HWND parent)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

TEST(Startup, OneFramelessOwnedWindowWithItsTwoControls)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(gui::VisibleTopLevelWindows(program.ProcessId()).size(), 1u);

    // Owned by a hidden dialog of the same process: no taskbar button.
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    EXPECT_EQ(ownerProcess, program.ProcessId());
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(gui::ClassNameOf(owner), L"#32770");

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_SYSMENU));
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);

    RECT windowRect{}, clientRect{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    EXPECT_EQ(clientRect.right, windowRect.right - windowRect.left);
    EXPECT_EQ(clientRect.bottom, windowRect.bottom - windowRect.top);
    HWND calendar = GetDlgItem(window, IDC_CALENDAR);
    HWND notes = GetDlgItem(window, IDC_NOTES);
    ASSERT_NE(calendar, nullptr);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(gui::ClassNameOf(calendar), L"SysMonthCal32");
    EXPECT_EQ(_wcsicmp(gui::ClassNameOf(notes).c_str(), L"Edit"), 0);

    // The calendar stands where its template puts it and may have grown to the size it asks
    // for; the window grows by as much, and the notes box, which reaches 13 pixels lower than
    // its template, moves down and widens with it.
    const RECT calendarTemplate = DialogUnitsToPixels({1, 15, 1 + 137, 15 + 97});
    const RECT calendarActual = ClientRectOf(calendar, window);
    EXPECT_EQ(calendarActual.left, calendarTemplate.left);
    EXPECT_EQ(calendarActual.top, calendarTemplate.top);
    const LONG wider = calendarActual.right - calendarTemplate.right;
    const LONG taller = calendarActual.bottom - calendarTemplate.bottom;
    EXPECT_GE(wider, 0);
    EXPECT_GE(taller, 0);
    const RECT templateSize = DialogUnitsToPixels({0, 0, 139, 169});
    EXPECT_EQ(clientRect.right, templateSize.right + wider);
    EXPECT_EQ(clientRect.bottom, templateSize.bottom + taller);
    const RECT notesTemplate = DialogUnitsToPixels({1, 114, 1 + 136, 114 + 46});
    const RECT notesActual = ClientRectOf(notes, window);
    EXPECT_EQ(notesActual.left, notesTemplate.left);
    EXPECT_EQ(notesActual.top, notesTemplate.top + taller);
    EXPECT_EQ(notesActual.right, notesTemplate.right + wider);
    EXPECT_EQ(notesActual.bottom, notesTemplate.bottom + 13 + taller);

    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread));
    EXPECT_EQ(thread.hwndFocus, calendar);
}

TEST(Startup, ControlsAndOwnerKeepTheirTemplateStyles)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);

    HWND calendar = GetDlgItem(window, IDC_CALENDAR);
    const LONG calendarStyle = GetWindowLongW(calendar, GWL_STYLE);
    EXPECT_EQ(calendarStyle & (WS_TABSTOP | MCS_DAYSTATE | MCS_WEEKNUMBERS),
              WS_TABSTOP | MCS_DAYSTATE | MCS_WEEKNUMBERS);
    EXPECT_TRUE(GetWindowLongW(calendar, GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    // Multi-line with Enter for new lines, and no horizontal scrolling, so long lines wrap.
    HWND notes = GetDlgItem(window, IDC_NOTES);
    const LONG notesStyle = GetWindowLongW(notes, GWL_STYLE);
    const LONG notesExStyle = GetWindowLongW(notes, GWL_EXSTYLE);
    const LONG wanted = WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN;
    EXPECT_EQ(notesStyle & wanted, wanted);
    EXPECT_FALSE(notesStyle & ES_AUTOHSCROLL);
    EXPECT_TRUE(notesExStyle & WS_EX_TRANSPARENT);
    // A 3D-look dialog turns an edit control's border into a client edge.
    EXPECT_TRUE((notesStyle & WS_BORDER) || (notesExStyle & WS_EX_CLIENTEDGE));

    // The hidden owner: a 186 x 63 popup with OK (default) and Cancel.
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    const LONG ownerStyle = GetWindowLongW(owner, GWL_STYLE);
    EXPECT_TRUE(ownerStyle & WS_POPUP);
    EXPECT_TRUE(ownerStyle & WS_SYSMENU);
    EXPECT_FALSE(ownerStyle & WS_CAPTION);
    RECT ownerClient{};
    GetClientRect(owner, &ownerClient);
    const RECT ownerTemplate = DialogUnitsToPixels({0, 0, 186, 63});
    EXPECT_EQ(ownerClient.right, ownerTemplate.right);
    EXPECT_EQ(ownerClient.bottom, ownerTemplate.bottom);
    wchar_t text[32] = L"";
    GetDlgItemTextW(owner, IDOK, text, 32);
    EXPECT_STREQ(text, L"OK");
    EXPECT_EQ(GetWindowLongW(GetDlgItem(owner, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    GetDlgItemTextW(owner, IDCANCEL, text, 32);
    EXPECT_STREQ(text, L"Cancel");
}

TEST(Startup, WithoutDataFilesTheWindowIsCentredOnThePrimaryMonitor)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    RECT rect{};
    GetWindowRect(program.Window(), &rect);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rect.left, screenWidth / 2 - (rect.right - rect.left) / 2);
    EXPECT_EQ(rect.top, screenHeight / 2 - (rect.bottom - rect.top) / 2);
}

TEST(Startup, TwoStartsGiveTwoIndependentWindows)
{
    gui::TempFolder firstFolder, secondFolder;
    gui::Program first(firstFolder);
    gui::Program second(secondFolder);
    ASSERT_NE(first.Window(), nullptr);
    ASSERT_NE(second.Window(), nullptr);
    EXPECT_NE(first.Window(), second.Window());
    EXPECT_NE(first.ProcessId(), second.ProcessId());

    PostMessageW(first.Window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(first.WaitForExit());
    // Whatever the first one's end sent the second, the second has handled and answers.
    EXPECT_TRUE(gui::RoundTrip(second.Window()));
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(IsWindowVisible(second.Window()));
}
