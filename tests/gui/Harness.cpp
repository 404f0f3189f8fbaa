// Driving the real program under Wine: folders, processes, windows, input and screenshots.
#include "Harness.h"

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "resources/ResourceIds.h"

namespace gui {

namespace {

HWND windowUnderTest = nullptr;

std::wstring FromUtf8(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

// Wine shows the Unix file system as drive Z:.
std::wstring WindowsPath(const std::string& path)
{
    std::wstring wide = FromUtf8(path);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return path.rfind('/', 0) == 0 ? L"Z:" + wide : wide;
}

// The bytes of a file, read while others may have it open; false when it cannot be opened.
bool TryReadFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Saves a screenshot of the window under test when an assertion fails.
class ScreenshotOnFailure : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (!result.failed() || !windowUnderTest || !IsWindow(windowUnderTest) || Config().artifacts.empty())
            return;
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        if (!test)
            return;
        // A window that has just moved or changed shows on the screen once it has painted there;
        // one that never settles is photographed as it is.
        RECT area{};
        GetWindowRect(windowUnderTest, &area);
        InflateRect(&area, 20, 20);
        const std::wstring name = FromUtf8(std::string(test->test_suite_name()) + "." + test->name());
        const std::wstring path = Config().artifacts + L"\\" + name + L".png";
        if (!SaveFinishedScreenPng(windowUnderTest, area, path, 2000))
            SaveScreenPng(area, path);
    }
};

}  // namespace

Options& Config()
{
    static Options options;
    return options;
}

void ParseOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--program=", 0) == 0)
            Config().program = WindowsPath(argument.substr(10));
        else if (argument.rfind("--artifacts=", 0) == 0)
            Config().artifacts = WindowsPath(argument.substr(12));
        else if (argument.rfind("--unpacked=", 0) == 0)
            Config().unpacked = WindowsPath(argument.substr(11));
        else if (argument.rfind("--msi=", 0) == 0)
            Config().msi = WindowsPath(argument.substr(6));
        else if (argument.rfind("--newer-msi=", 0) == 0)
            Config().newerMsi = WindowsPath(argument.substr(12));
    }
    testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
}

bool WaitForDesktop(DWORD timeoutMs)
{
    return WaitUntil([] { return GetDesktopWindow() != nullptr; }, timeoutMs);
}

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int serial = 0;
    for (;;) {
        path = std::wstring(base) + L"dayvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++serial);
        if (CreateDirectoryW(path.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path);
}

std::map<std::wstring, std::string> TempFolder::Contents() const
{
    return FolderContents(path);
}

std::map<std::wstring, std::string> FolderContents(const std::wstring& folder)
{
    std::map<std::wstring, std::string> contents;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return contents;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            if (!TryReadFile(folder + L"\\" + name, contents[name]))
                contents[name] = "<unreadable>";
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return contents;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    return TryReadFile(path, bytes) ? bytes : std::string();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

Program::Program(const TempFolder& folder, const std::wstring& workingDirectory)
{
    const std::wstring exe = folder.File(L"dayvane.exe");
    if (!CopyFileW(Config().program.c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the program (--program= missing or wrong)";
        return;
    }
    Start(exe, workingDirectory.empty() ? folder.Path() : workingDirectory, Await::Window);
}

Program::Program(const std::wstring& programFile, Await await)
{
    Start(programFile, programFile.substr(0, programFile.find_last_of(L'\\')), await);
}

void Program::Start(const std::wstring& programFile, const std::wstring& workingDirectory, Await await)
{
    ParkCursor();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + programFile + L"\"";
    // Wine, busy starting the processes of several sessions, now and then refuses a start with
    // an internal error that the next attempt does not meet.
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int attempt = 0; attempt < 5 && error == ERROR_INTERNAL_ERROR; ++attempt)
        error = CreateProcessW(programFile.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               workingDirectory.c_str(), &startup, &process)
                    ? ERROR_SUCCESS
                    : GetLastError();
    if (error != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot start the program, error " << error;
        return;
    }
    if (await == Await::Nothing)
        return;
    // The window shows once its initialisation is done; a first start in a new prefix is slow.
    window = WaitForWindow(process.dwProcessId, 20000);
    if (!window)
        ADD_FAILURE() << "the program showed no window";
    SetWindowUnderTest(window);
    // The window shows before its first paint and before the messages of the start are handled.
    if (window)
        WaitUntilIdle(10000);
}

Program::~Program()
{
    if (!process.hProcess)
        return;
    if (!WaitForExit(0)) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetWindowUnderTest(nullptr);
}

bool Program::WaitForExit(DWORD timeoutMs) const
{
    return process.hProcess && WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

// Wine marks a process idle whenever its main thread finds its queue empty; the round trip
// and the paint check hold on Windows too, where only the first idle moment is marked.
bool Program::WaitUntilIdle(DWORD timeoutMs) const
{
    return process.hProcess && RoundTrip(window, timeoutMs) && WaitForInputIdle(process.hProcess, timeoutMs) == 0 &&
           WaitUntilPainted(window, timeoutMs) && WaitUntilStarted(timeoutMs);
}

// The start ends a moment after the first paint, with the tray icon: a change of nothing
// succeeds once the icon is there.
bool Program::WaitUntilStarted(DWORD timeoutMs) const
{
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = window;
    icon.uID = TRAY_ICON_ID;
    return WaitUntil([&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }, timeoutMs);
}

DWORD Program::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process.hProcess)
        GetExitCodeProcess(process.hProcess, &code);
    return code;
}

POINT Program::ClientToScreenPoint(POINT client) const
{
    ClientToScreen(window, &client);
    return client;
}

HWND WaitForOtherWindow(DWORD processId, HWND known, DWORD timeoutMs)
{
    HWND other = nullptr;
    WaitUntil([&] {
        for (HWND window : VisibleTopLevelWindows(processId))
            if (window != known)
                other = window;
        return other != nullptr;
    }, timeoutMs);
    return other;
}

std::wstring ChildTexts(HWND window)
{
    std::wstring texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[2048];
        GetWindowTextW(child, text, 2048);
        texts += text;
        texts += L"\n";
    }
    return texts;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

void MoveCursorTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    // A zero-distance move makes the system deliver WM_MOUSEMOVE to the window under the cursor.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void ParkCursor()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

void LeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void PressKey(WORD virtualKey, BYTE modifiers)
{
    std::vector<WORD> held;
    for (const auto& [flag, key] : {std::pair{FSHIFT, VK_SHIFT}, {FCONTROL, VK_CONTROL}, {FALT, VK_MENU}})
        if (modifiers & flag)
            held.push_back(static_cast<WORD>(key));
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD key : held)
        add(key, 0);
    add(virtualKey, 0);
    add(virtualKey, KEYEVENTF_KEYUP);
    for (auto key = held.rbegin(); key != held.rend(); ++key)
        add(*key, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text)
{
    std::vector<INPUT> inputs;
    for (wchar_t character : text)
        for (DWORD flags : {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = character;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool BringToFront(HWND window)
{
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

// A coarse grid finds the day, then each edge of its cell is walked out pixel by pixel: every
// question is three calls into another process.
bool SendWithData(const Program& program, HWND target, UINT message, WPARAM wParam, void* data, std::size_t size,
                  LRESULT* result)
{
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, program.ProcessId());
    void* remote = process ? VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    SIZE_T moved = 0;
    const bool sent = remote && WriteProcessMemory(process, remote, data, size, &moved);
    if (sent) {
        const LRESULT answer = SendMessageW(target, message, wParam, reinterpret_cast<LPARAM>(remote));
        if (result)
            *result = answer;
        ReadProcessMemory(process, remote, data, size, &moved);
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
    return sent;
}

RECT DayCellRect(const Program& program, int calendarId, const SYSTEMTIME& day)
{
    const HWND calendar = GetDlgItem(program.Window(), calendarId);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, program.ProcessId());
    void* remote = process ? VirtualAllocEx(process, nullptr, sizeof(MCHITTESTINFO), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    RECT client{};
    GetClientRect(calendar, &client);
    const auto isDay = [&](LONG x, LONG y) {
        if (!remote || x < 0 || y < 0 || x >= client.right || y >= client.bottom)
            return false;
        MCHITTESTINFO hit{};
        hit.cbSize = sizeof hit;
        hit.pt = {x, y};
        SIZE_T moved = 0;
        WriteProcessMemory(process, remote, &hit, sizeof hit, &moved);
        SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &hit, sizeof hit, &moved);
        return (hit.uHit == MCHT_CALENDARDATE || hit.uHit == MCHT_CALENDARDATENEXT) && hit.st.wYear == day.wYear &&
               hit.st.wMonth == day.wMonth && hit.st.wDay == day.wDay;
    };
    RECT cell{};
    for (LONG y = 2; IsRectEmpty(&cell) && y < client.bottom; y += 5)
        for (LONG x = 2; IsRectEmpty(&cell) && x < client.right; x += 5)
            if (isDay(x, y))
                cell = {x, y, x + 1, y + 1};
    if (!IsRectEmpty(&cell)) {
        while (isDay(cell.left - 1, cell.top))
            --cell.left;
        while (isDay(cell.right, cell.top))
            ++cell.right;
        while (isDay(cell.left, cell.top - 1))
            --cell.top;
        while (isDay(cell.left, cell.bottom))
            ++cell.bottom;
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
    return cell;
}

int DarkPixels(const RECT& screenArea)
{
    HDC screenDc = GetDC(nullptr);
    int dark = 0;
    for (LONG y = screenArea.top; y < screenArea.bottom; ++y)
        for (LONG x = screenArea.left; x < screenArea.right; ++x) {
            const COLORREF color = GetPixel(screenDc, x, y);
            dark += GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 128;
        }
    ReleaseDC(nullptr, screenDc);
    return dark;
}

HWND OpenMenuWindow(DWORD processId)
{
    for (HWND open : VisibleTopLevelWindows(processId))
        if (ClassNameOf(open) == L"#32768")
            return open;
    return nullptr;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int PixelsNear(const RECT& screenArea, COLORREF color)
{
    int count = 0;
    for (LONG y = screenArea.top; y < screenArea.bottom; ++y)
        for (LONG x = screenArea.left; x < screenArea.right; ++x)
            count += static_cast<bool>(NearColor(ScreenPixel({x, y}), color));
    return count;
}

COLORREF ScreenPixel(POINT screen)
{
    HDC screenDc = GetDC(nullptr);
    const COLORREF color = GetPixel(screenDc, screen.x, screen.y);
    ReleaseDC(nullptr, screenDc);
    return color;
}

testing::AssertionResult NearColor(COLORREF actual, COLORREF expected)
{
    const auto channel = [](COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int shift : {0, 8, 16})
        if (std::abs(channel(actual, shift) - channel(expected, shift)) > 8)
            return testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    return testing::AssertionSuccess();
}

void SetWindowUnderTest(HWND window)
{
    windowUnderTest = window;
}

}  // namespace gui
