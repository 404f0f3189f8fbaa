// The window as assistive technology reads it from another process: the names and roles of
// its parts, found among the window's accessible children, a notes box named after its day,
// and the menu button's focus.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Harness.h"
#include "SettingsFiles.h"
#include "resources/ResourceIds.h"

namespace {

struct Read {
    HRESULT result = E_FAIL;
    std::wstring name;
    long role = 0;
    std::wstring defaultAction;
};

Read ReadAccessible(HWND window)
{
    Read read;
    IAccessible* object = nullptr;
    read.result = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object));
    if (FAILED(read.result))
        return read;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text)) && text)
        read.name = text;
    SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDefaultAction(self, &text)) && text)
        read.defaultAction = text;
    SysFreeString(text);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4)
        read.role = role.lVal;
    object->Release();
    return read;
}

// The windows of the accessible children of `window`'s client.
std::vector<HWND> AccessibleChildWindows(HWND window)
{
    std::vector<HWND> windows;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return windows;
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long got = 0;
    if (count > 0 && SUCCEEDED(AccessibleChildren(object, 0, count, children.data(), &got)))
        for (long i = 0; i < got; ++i) {
            HWND child = nullptr;
            if (children[i].vt == VT_DISPATCH && children[i].pdispVal) {
                IAccessible* accessible = nullptr;
                if (SUCCEEDED(children[i].pdispVal->QueryInterface(__uuidof(IAccessible),
                                                                   reinterpret_cast<void**>(&accessible)))) {
                    WindowFromAccessibleObject(accessible, &child);
                    accessible->Release();
                }
            }
            VariantClear(&children[i]);
            windows.push_back(child);
        }
    object->Release();
    return windows;
}

std::wstring NoteName(SYSTEMTIME day)
{
    FILETIME moment{};
    SystemTimeToFileTime(&day, &moment);
    FileTimeToSystemTime(&moment, &day);
    wchar_t text[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &day, nullptr, text, 128);
    return std::wstring(L"Note for ") + text;
}

std::wstring ClockNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d:%02d", now.wHour, now.wMinute);
    return text;
}

}  // namespace

TEST(Access, EachPartHasItsNameAndRoleAndTheNotesBoxFollowsTheDay)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    gui::TempFolder folder;
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.timeFormatId = ID_TIME_CUSTOM;
    settings.customTimeFormat = "%H:%M";
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(settings)));
    const std::wstring before = ClockNow();
    SYSTEMTIME today{};
    GetLocalTime(&today);
    gui::Program program(folder);
    const HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    const HWND calendar = GetDlgItem(window, IDC_CALENDAR), notes = GetDlgItem(window, IDC_NOTES);
    const HWND button = GetDlgItem(window, IDC_MENU_BUTTON), clock = GetDlgItem(window, IDC_CLOCK);

    const std::vector<HWND> children = AccessibleChildWindows(window);
    struct Part {
        HWND window;
        std::wstring name;
        long role;
        std::wstring defaultAction;
    };
    const Part parts[] = {
        {window, L"Dayvane", 0, L""},
        {button, L"Menu", ROLE_SYSTEM_PUSHBUTTON, L"Press"},
        {clock, L"", ROLE_SYSTEM_STATICTEXT, L""},
        {calendar, L"Calendar", 0, L""},
        {notes, NoteName(today), ROLE_SYSTEM_TEXT, L""},
    };
    for (const Part& part : parts) {
        SCOPED_TRACE(part.name);
        ASSERT_NE(part.window, nullptr);
        if (part.window != window) {
            EXPECT_NE(std::find(children.begin(), children.end(), part.window), children.end())
                << "not among the window's accessible children";
        }
        const Read read = ReadAccessible(part.window);
        ASSERT_TRUE(SUCCEEDED(read.result)) << std::hex << read.result;
        if (part.window == clock) {
            EXPECT_TRUE(read.name == before || read.name == ClockNow()) << std::string(read.name.begin(), read.name.end());
        } else {
            EXPECT_EQ(read.name, part.name);
        }
        if (part.role) {
            EXPECT_EQ(read.role, part.role);
        }
        if (!part.defaultAction.empty()) {
            EXPECT_EQ(read.defaultAction, part.defaultAction);
        }
    }

    // Another day of the month picked: the box shows it and is named after it.
    SYSTEMTIME other = today;
    other.wDay = today.wDay == 1 ? 2 : 1;
    const RECT cell = gui::DayCellRect(program, IDC_CALENDAR, other);
    ASSERT_FALSE(IsRectEmpty(&cell));
    const LPARAM middle = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(calendar, WM_LBUTTONUP, 0, middle);
    EXPECT_TRUE(gui::WaitUntil([&] { return ReadAccessible(notes).name == NoteName(other); }));

    // Shift+Tab from the calendar focuses the menu button, which shows it; Tab leaves it plain.
    ASSERT_TRUE(gui::BringToFront(window));
    ASSERT_EQ(gui::FocusOf(window), calendar);
    ASSERT_TRUE(gui::WaitUntilPainted(window));
    RECT buttonArea{};
    GetWindowRect(button, &buttonArea);
    const int plain = gui::DarkPixels(buttonArea);
    gui::PressKey(VK_TAB, FSHIFT);
    EXPECT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(window) == button; }));
    EXPECT_TRUE(gui::WaitUntil([&] { return gui::DarkPixels(buttonArea) > plain; }));
    RECT area{};
    GetWindowRect(window, &area);
    gui::SaveFinishedScreenPng(window, area, gui::Config().artifacts + L"\\menu-button-focused.png");
    // Enter on the focused button opens the menu, not the window's default command, Close.
    gui::PressKey(VK_RETURN);
    EXPECT_TRUE(gui::WaitUntil([&] { return gui::OpenMenuWindow(program.ProcessId()) != nullptr; }));
    gui::PressKey(VK_ESCAPE);
    EXPECT_TRUE(gui::WaitUntil([&] { return gui::OpenMenuWindow(program.ProcessId()) == nullptr; }));
    EXPECT_TRUE(program.Running());
    gui::PressKey(VK_TAB);
    EXPECT_TRUE(gui::WaitUntil([&] { return gui::FocusOf(window) == calendar && gui::DarkPixels(buttonArea) == plain; }));
    CoUninitialize();
}
