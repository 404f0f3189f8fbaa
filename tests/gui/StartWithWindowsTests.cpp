// "Start with Windows", run in-process on a registry key of the test's own: the check mark
// against the Run key and Task Manager's mark, the value written and removed, and a refused
// change, which shows the system's reason and leaves every value as it was.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ImportPatch.h"
#include "ProbeWindow.h"
#include "framework/Registry.h"
#include "resources/ResourceIds.h"

namespace {

const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring approvedKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::wstring testsKey = L"Software\\Dayvane tests";

// Every value under a key: "subkey\name" and its type and bytes.
using Values = std::map<std::wstring, std::pair<DWORD, std::string>>;

void ReadValues(HKEY key, const std::wstring& prefix, Values& values)
{
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256, size = sizeof data, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        values[prefix + name] = {type, std::string(reinterpret_cast<const char*>(data), size)};
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            ReadValues(sub, prefix + name + L"\\", values);
            RegCloseKey(sub);
        }
    }
}

std::string Bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// Task Manager's record of an entry: the first byte 3 while it is off, 2 once on again.
std::string Mark(BYTE first)
{
    std::string mark(12, '\0');
    mark[0] = static_cast<char>(first);
    return mark;
}

// A key of the test's own that the program takes for the user's key while this lives; it goes
// with everything in it at the end.
class OwnRegistry {
public:
    OwnRegistry() : path(testsKey + L"\\Start with Windows " + std::to_wstring(GetCurrentProcessId()))
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        Clear();
        fw::SetUserRegistryRoot(key);
    }
    OwnRegistry(const OwnRegistry&) = delete;
    OwnRegistry& operator=(const OwnRegistry&) = delete;
    ~OwnRegistry()
    {
        fw::SetUserRegistryRoot(nullptr);
        Clear();
        RegCloseKey(key);
        RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
        // Only when no other test program has a key in it.
        RegDeleteKeyW(HKEY_CURRENT_USER, testsKey.c_str());
    }

    bool Opened() const { return key != nullptr; }
    void Clear() { RegDeleteTreeW(key, nullptr); }
    void Set(const std::wstring& subkey, DWORD type, const std::string& bytes)
    {
        RegSetKeyValueW(key, subkey.c_str(), L"Dayvane", type, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    Values All() const
    {
        Values values;
        ReadValues(key, L"", values);
        return values;
    }

private:
    std::wstring path;
    HKEY key = nullptr;
};

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

// The registry as a state names it: the Run value, when there is one, and Task Manager's mark.
struct State {
    const char* name;
    std::wstring command;
    BYTE mark;
    bool checked;
    DWORD type = REG_SZ;
};

void Enter(OwnRegistry& registry, const State& state)
{
    registry.Clear();
    if (!state.command.empty())
        registry.Set(runKey, state.type, Bytes(state.command));
    if (state.mark)
        registry.Set(approvedKey, REG_BINARY, Mark(state.mark));
}

const wchar_t* const otherCopy = L"C:\\Other copy\\dayvane.exe";

// The system's text for `error`, as one line.
std::wstring ReasonFor(DWORD error)
{
    wchar_t text[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  512, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
        --length;
    return std::wstring(text, length);
}

// Opens the menu with `open`, reads the mark of "Start with Windows" in the Notes submenu and
// closes the menu again; false also when no menu opened.
bool MarkShownOnOpening(ProbeWindow& probe, HWND window, const std::function<void()>& open)
{
    open();
    bool checked = false;
    if (OpenPopup()) {
        const HMENU notes = GetSubMenu(probe.MainMenu(), 7);
        checked = (GetMenuState(notes, ID_START_WITH_WINDOWS, MF_BYCOMMAND) & MF_CHECKED) != 0;
    } else {
        ADD_FAILURE() << "the menu did not open";
    }
    ProbeWindow::OnWindowThread(window, [] { EndMenu(); });
    gui::WaitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 2000);
    return checked;
}

LSTATUS WINAPI RefuseSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)
{
    return ERROR_ACCESS_DENIED;
}

LSTATUS WINAPI RefuseDeleteValue(HKEY, LPCWSTR)
{
    return ERROR_ACCESS_DENIED;
}

}  // namespace

TEST(StartWithWindows, TheMarkFollowsTheRunKeyAndTaskManagerEachTimeTheMenuOpens)
{
    OwnRegistry registry;
    ASSERT_TRUE(registry.Opened());
    const std::wstring program = ThisProgram();
    std::wstring upperCase = program;
    CharUpperW(upperCase.data());
    // The logon expands a REG_EXPAND_SZ value's variables, and so does the mark.
    const std::size_t slash = program.find_last_of(L'\\');
    ASSERT_TRUE(SetEnvironmentVariableW(L"DAYVANE_TEST_FOLDER", program.substr(0, slash).c_str()));
    const State states[] = {
        {"no value", L"", 0, false},
        {"this program", Quoted(program), 0, true},
        {"this program, spelt in upper case", Quoted(upperCase), 0, true},
        {"another copy", Quoted(otherCopy), 0, false},
        {"this program without quotes", program, 0, false},
        {"this program, turned off in Task Manager", Quoted(program), 3, false},
        {"this program, turned on again in Task Manager", Quoted(program), 2, true},
        {"this program through a variable", Quoted(L"%DAYVANE_TEST_FOLDER%" + program.substr(slash)), 0, true,
         REG_EXPAND_SZ},
    };
    ProbeWindow probe;
    std::vector<bool> marks;
    std::vector<bool> unchanged;
    bool fromTray = true;
    RunWindow(probe, [&](HWND window) {
        for (const State& state : states) {
            Enter(registry, state);
            const Values before = registry.All();
            marks.push_back(MarkShownOnOpening(
                probe, window, [&] { PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 10)); }));
            unchanged.push_back(registry.All() == before);
        }
        // The tray icon's menu reads the key too: the last state showed the mark.
        Enter(registry, states[0]);
        fromTray = MarkShownOnOpening(probe, window, [&] {
            PostMessageW(window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
            PostMessageW(window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONUP);
        });
    });
    ASSERT_EQ(marks.size(), std::size(states));
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_EQ(marks[i], states[i].checked) << states[i].name;
        EXPECT_TRUE(unchanged[i]) << states[i].name << ": opening the menu wrote to the registry";
    }
    EXPECT_FALSE(fromTray);
}

TEST(StartWithWindows, ChoosingItPointsTheEntryHereAndChoosingItAgainRemovesIt)
{
    OwnRegistry registry;
    ASSERT_TRUE(registry.Opened());
    const std::wstring program = ThisProgram();
    const std::string written = Bytes(Quoted(program));
    const std::wstring runValue = runKey + L"\\Dayvane";
    const std::wstring markValue = approvedKey + L"\\Dayvane";
    const struct {
        State before;
        Values after;
    } choices[] = {
        {{"no value", L"", 0, false}, {{runValue, {REG_SZ, written}}}},
        {{"another copy, turned off", Quoted(otherCopy), 3, false}, {{runValue, {REG_SZ, written}}}},
        {{"this program, turned off", Quoted(program), 3, false}, {{runValue, {REG_SZ, written}}}},
        {{"this program", Quoted(program), 0, true}, {}},
        // Task Manager's record of an entry that is on stays as it is.
        {{"this program, turned on again", Quoted(program), 2, true}, {{markValue, {REG_BINARY, Mark(2)}}}},
    };
    ProbeWindow probe;
    std::vector<Values> seen;
    std::vector<std::size_t> windows;
    RunWindow(probe, [&](HWND window) {
        for (const auto& choice : choices) {
            Enter(registry, choice.before);
            SendMessageW(window, WM_COMMAND, ID_START_WITH_WINDOWS, 0);
            seen.push_back(registry.All());
            windows.push_back(gui::VisibleTopLevelWindows(GetCurrentProcessId()).size());
        }
        // Chosen twice from nothing: the entry comes and goes.
        Enter(registry, choices[0].before);
        SendMessageW(window, WM_COMMAND, ID_START_WITH_WINDOWS, 0);
        SendMessageW(window, WM_COMMAND, ID_START_WITH_WINDOWS, 0);
        seen.push_back(registry.All());
    });
    ASSERT_EQ(seen.size(), std::size(choices) + 1);
    for (std::size_t i = 0; i < std::size(choices); ++i) {
        EXPECT_EQ(seen[i], choices[i].after) << choices[i].before.name;
        EXPECT_EQ(windows[i], 1u) << choices[i].before.name << ": something opened";
    }
    EXPECT_TRUE(seen.back().empty());
    EXPECT_EQ(probe.okRuns + probe.cancelRuns, 1);
}

TEST(StartWithWindows, ARefusedChangeShowsTheSystemsReasonAndLeavesEveryValueAsItWas)
{
    OwnRegistry registry;
    ASSERT_TRUE(registry.Opened());
    const std::wstring program = ThisProgram();
    void* const refuseSet = reinterpret_cast<void*>(RefuseSetValue);
    void* const refuseDelete = reinterpret_cast<void*>(RefuseDeleteValue);
    const struct {
        const char* refused;
        void* replacement;
        State before;
    } refusals[] = {
        {"RegSetValueExW", refuseSet, {"another copy, turned off", Quoted(otherCopy), 3, false}},
        {"RegSetValueExW", refuseSet, {"no value", L"", 0, false}},
        {"RegDeleteValueW", refuseDelete, {"this program", Quoted(program), 0, true}},
        // The value is written, then the mark cannot go: the value is put back.
        {"RegDeleteValueW", refuseDelete, {"another copy, turned off", Quoted(otherCopy), 3, false}},
    };
    const std::wstring reason = ReasonFor(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(reason.empty());
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(std::string(refusal.refused) + ", " + refusal.before.name);
        ImportPatch patch("advapi32.dll", refusal.refused, refusal.replacement);
        ASSERT_TRUE(patch.Patched());
        ProbeWindow probe;
        Values before, after;
        std::wstring boxText;
        bool closedByBox = true;
        RunWindow(probe, [&](HWND window) {
            Enter(registry, refusal.before);
            before = registry.All();
            PostMessageW(window, WM_COMMAND, ID_START_WITH_WINDOWS, 0);
            const HWND box = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
            if (!box)
                return;
            boxText = gui::ChildTexts(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            gui::WaitUntil([&] { return !IsWindow(box); });
            after = registry.All();
            closedByBox = probe.okRuns + probe.cancelRuns != 0;
        });
        EXPECT_NE(boxText.find(L"Dayvane could not change whether it starts with Windows"), std::wstring::npos)
            << testing::PrintToString(boxText);
        EXPECT_NE(boxText.find(reason), std::wstring::npos) << testing::PrintToString(boxText);
        EXPECT_EQ(after, before);
        EXPECT_FALSE(closedByBox);
    }
}
