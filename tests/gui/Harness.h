// Driving the real program under Wine: folders, processes, windows, input and screenshots.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Screen.h"

namespace gui {

struct Options {
    std::wstring program;    // dayvane.exe as built
    std::wstring artifacts;  // where screenshots of failed tests go
    std::wstring unpacked;   // the folder the zip for Windows users was unpacked into
    std::wstring msi;        // the MSI package as built
    std::wstring newerMsi;   // the same package with a higher version, to upgrade to
};
Options& Config();
// Reads --program=, --artifacts=, --unpacked=, --msi= and --newer-msi= (Unix paths are mapped
// to Wine's Z: drive).
void ParseOptions(int argc, char** argv);

// Waits until the session's desktop window exists, which the first window of a Wine session
// starts. Wine waits ten seconds for it at most; on a loaded machine it can take longer, and a
// window made before then is not created (DialogBox gives -1, error 1400). Each question waits
// again.
bool WaitForDesktop(DWORD timeoutMs = 60000);

// A fresh empty folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& Path() const { return path; }
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }
    // Every file's name and bytes, to compare a folder before and after.
    std::map<std::wstring, std::string> Contents() const;

private:
    std::wstring path;
};

// Every file's name and bytes in `folder` (a subfolder shows as "<unreadable>").
std::map<std::wstring, std::string> FolderContents(const std::wstring& folder);

bool FileExists(const std::wstring& path);
// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// What a start waits for before it returns: the program's window, or nothing (a start that
// should show none, or one of several started together).
enum class Await { Window, Nothing };

// dayvane.exe copied into a folder and started there (or in `workingDirectory`); killed at
// the end if still running.
class Program {
public:
    explicit Program(const TempFolder& folder, const std::wstring& workingDirectory = L"");
    // A program file started where it is, in its own folder, as Explorer starts it.
    explicit Program(const std::wstring& programFile, Await await = Await::Window);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    HWND Window() const { return window; }
    DWORD ProcessId() const { return process.dwProcessId; }
    bool WaitForExit(DWORD timeoutMs = 5000) const;
    bool Running() const { return !WaitForExit(0); }
    // The exit code of a process that has ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Waits until the program has handled the input and messages sent before, waits for more
    // with nothing left to do, and its window has painted everything.
    bool WaitUntilIdle(DWORD timeoutMs = 5000) const;
    // Waits for the end of the start, a moment after the first paint, when the tray icon comes.
    bool WaitUntilStarted(DWORD timeoutMs) const;

    POINT ClientToScreenPoint(POINT client) const;

private:
    void Start(const std::wstring& programFile, const std::wstring& workingDirectory, Await await);

    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// A visible top-level window of the process other than `known` (a message box, say).
HWND WaitForOtherWindow(DWORD processId, HWND known, DWORD timeoutMs);
// The texts of a window's children, one after the other.
std::wstring ChildTexts(HWND window);
std::wstring ClassNameOf(HWND window);

// Where the program's month calendar (control `calendarId`) shows `day`, in the calendar's
// client coordinates: the control is asked in memory of the program's own, since a pointer in
// a message is not carried to another process. Empty when the day is not shown.
RECT DayCellRect(const Program& program, int calendarId, const SYSTEMTIME& day);
// Sends `message` to `target`, a window of `program`, with LPARAM pointing at a copy of the
// `size` bytes at `data` in the program's own memory, and copies them back after: a pointer in
// a message is not carried to another process. False when the memory could not be had.
bool SendWithData(const Program& program, HWND target, UINT message, WPARAM wParam, void* data, std::size_t size,
                  LRESULT* result = nullptr);
// How many pixels of a screen area are darker than mid-grey: the ink of the text drawn there.
int DarkPixels(const RECT& screenArea);
// The control with the keyboard focus in the thread of `window`, whatever its process.
HWND FocusOf(HWND window);
// The open popup menu of a process, if any.
HWND OpenMenuWindow(DWORD processId);
// How many pixels of a screen area are within one gradient step of `color` (NearColor).
int PixelsNear(const RECT& screenArea, COLORREF color);

// Real input through the system's input queue.
void MoveCursorTo(POINT screen);
// Puts the pointer in the screen's bottom-right corner, where no window of the tests appears.
// A window that appears under the pointer is told where the pointer is, and a loaded Wine
// applies that position late, over the cursor a test has moved since (a press meant for the
// window's edge then lands on the calendar in the middle): so the pointer is parked before
// every window a test starts.
void ParkCursor();
void LeftButton(bool down);
// A key pressed and let go, with the modifiers of an accelerator's flags (FSHIFT, FCONTROL,
// FALT) held around it.
void PressKey(WORD virtualKey, BYTE modifiers = 0);
// Types `text` as characters of the keyboard, whatever its layout.
void TypeText(const std::wstring& text);
// Brings a window of another process to the front and waits until it has the focus.
bool BringToFront(HWND window);

COLORREF ScreenPixel(POINT screen);
// Whether every channel of `actual` is within 8 of `expected`: one step of a gradient.
testing::AssertionResult NearColor(COLORREF actual, COLORREF expected);
// The window that a failing test photographs.
void SetWindowUnderTest(HWND window);

}  // namespace gui
