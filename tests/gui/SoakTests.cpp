// Long runs of the running window: every command that changes the look cycled a hundred
// times, with the objects and memory it holds growing by nothing per turn, and a year of days
// picked one after another with a note typed on every fifth.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ProbeWindow.h"
#include "resources/ResourceIds.h"
#include "core/CodePage.h"
#include "core/DayKey.h"
#include "core/NoteStore.h"
#include "framework/WinApp.h"

namespace {

fw::CWinApp soakApp;


// DAYVANE_SOAK_CYCLES changes the run's length while working on the test; the default is the
// real one. The usage is sampled every SAMPLE_TURNS turns.
constexpr int SAMPLE_TURNS = 10;
int Cycles()
{
    const char* value = std::getenv("DAYVANE_SOAK_CYCLES");
    const int cycles = value ? std::atoi(value) : 0;
    return cycles >= 2 * SAMPLE_TURNS ? cycles : 100;
}

// The process's GDI objects. Wine answers GetGuiResources with 0; its handle table takes a
// handle's bare index as the handle, so there every index is tried instead.
DWORD GdiObjects()
{
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return reported;
    DWORD count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++count;
    return count;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(count);
        EnumChildWindows(window, CountOwnWindow, count);
    }
    return TRUE;
}

// The process's USER objects. Under Wine: its windows, top-level, child and message-only,
// and the menus, icons and cursors found at the bare indices of its user handle table.
DWORD UserObjects()
{
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return reported;
    DWORD count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        CountOwnWindow(window, reinterpret_cast<LPARAM>(&count));
    for (ULONG_PTR value = 0x20; value <= 0xFFFF; value += 2) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        if (IsMenu(static_cast<HMENU>(handle))) {
            ++count;
            continue;
        }
        ICONINFO icon{};
        if (GetIconInfo(static_cast<HICON>(handle), &icon)) {
            ++count;
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
        }
    }
    return count;
}

// Committed memory of the process's own: the system's private-bytes figure, or, where that
// is not kept, the committed private regions of the address space.
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters) &&
        counters.PrivateUsage)
        return counters.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<const char*>(nullptr);
         VirtualQuery(address, &region, sizeof region) == sizeof region; address += region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    return total;
}

// The bytes the process's heaps hold for it: every busy block of every heap. Exact, where the
// committed pages grow in steps of many turns' worth.
SIZE_T HeapBytes()
{
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

struct Usage {
    double gdi = 0, user = 0, privateBytes = 0, heapBytes = 0;
};

Usage Measure()
{
    return {double(GdiObjects()), double(UserObjects()), double(PrivateBytes()), double(HeapBytes())};
}

// The least-squares slope of `values` against their turns: how much one turn adds.
double Slope(const std::vector<int>& turns, const std::vector<Usage>& samples, double Usage::*field)
{
    const double n = static_cast<double>(turns.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < turns.size(); ++i) {
        const double x = turns[i], y = samples[i].*field;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// Dialogs the commands open (the font picker, the time-format dialog) are answered as soon
// as they are activated, by a hook on the window's thread.
HWND calendarWindow = nullptr;
bool expectingDialog = false;
WPARAM dialogAnswer = IDCANCEL;
int dialogsAnswered = 0;
HHOOK answerHook = nullptr;

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    const auto activated = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && expectingDialog && activated != calendarWindow) {
        expectingDialog = false;
        ++dialogsAnswered;
        PostMessageW(activated, WM_COMMAND, dialogAnswer, 0);
    }
    return CallNextHookEx(answerHook, code, wParam, lParam);
}

void Command(HWND window, UINT id)
{
    SendMessageW(window, WM_COMMAND, id, 0);
}

void DialogCommand(HWND window, UINT id, WPARAM answer)
{
    ProbeWindow::OnWindowThread(window, [answer] {
        dialogAnswer = answer;
        expectingDialog = true;
    });
    Command(window, id);
}

// One turn through every command that changes the look, ending on a known look: the green
// scheme, rectangle, light-to-mid gradient. The dialogs are confirmed on every other turn
// and cancelled on the others.
void LookCycle(HWND window, int turn)
{
    for (UINT id = 20; id <= 24; ++id)
        Command(window, id);
    for (UINT id = 30; id <= 32; ++id)
        Command(window, id);
    for (UINT id : {60u, 61u})
        Command(window, id);
    for (UINT id = 40; id <= 45; ++id)
        Command(window, id);
    DialogCommand(window, 46, turn % 2 ? IDOK : IDCANCEL);
    Command(window, 51);
    Command(window, 51);
    for (UINT id : {UINT{ID_FONT_TITLE}, UINT{ID_FONT_NOTES}})
        DialogCommand(window, id, turn % 2 ? IDCANCEL : IDOK);
    for (UINT id : {21u, 30u, 60u, 40u})
        Command(window, id);
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    return gui::ScreenPixel(point);
}

}  // namespace

TEST(Soak, TurnsOfTheLookCommandsLeaveNoObjectsOrMemoryBehind)
{
    const int cycles = Cycles();
    ProbeWindow probe;
    std::vector<int> sampledTurns;
    std::vector<Usage> samples;
    sampledTurns.reserve(cycles / SAMPLE_TURNS + 1);
    samples.reserve(cycles / SAMPLE_TURNS + 1);
    int turns = 0, answered = 0;
    std::vector<COLORREF> strip, frame;
    LONG regionHeight = 0, windowHeight = 0;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [window] {
            calendarWindow = window;
            answerHook = SetWindowsHookExW(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId());
        });
        ASSERT_NE(answerHook, nullptr);
        // The first turns fill what the system keeps once per process: font lists, the
        // dialogs' classes, cached brushes.
        for (int turn = 0; turn < 3; ++turn)
            LookCycle(window, turn);
        for (; turns <= cycles; ++turns) {
            if (turns % SAMPLE_TURNS == 0) {
                sampledTurns.push_back(turns);
                samples.push_back(Measure());
            }
            if (turns < cycles)
                LookCycle(window, turns);
        }
        --turns;
        ProbeWindow::OnWindowThread(window, [&answered] {
            UnhookWindowsHookEx(answerHook);
            answered = dialogsAnswered;
        });

        ASSERT_TRUE(gui::BringToFront(window));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        strip = {ClientPixel(window, 25, 1), ClientPixel(window, 25, 22)};
        frame = {ClientPixel(window, 0, 100), ClientPixel(window, 16, 5), ClientPixel(window, 3, 9),
                 ClientPixel(window, 8, 10), ClientPixel(window, 120, 23)};
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT box{}, bounds{};
        if (GetWindowRgn(window, region) != ERROR && GetRgnBox(region, &box) != ERROR)
            regionHeight = box.bottom - box.top;
        DeleteObject(region);
        GetWindowRect(window, &bounds);
        windowHeight = bounds.bottom - bounds.top;
    });
    ASSERT_EQ(turns, cycles);
    EXPECT_EQ(answered, 3 * (cycles + 3)) << "each turn answers the time-format dialog and both pickers";
    ASSERT_GE(samples.size(), 3u);
    const Usage& before = samples.front();
    const Usage& after = samples.back();
    // A leak of one object, or of a kilobyte, per turn shows as a slope of that much; what the
    // system caches now and then (a font, a dialog's class) stays below it. Wine's heaps grow
    // by some 370 bytes a turn of their own.
    const double gdiSlope = Slope(sampledTurns, samples, &Usage::gdi);
    const double userSlope = Slope(sampledTurns, samples, &Usage::user);
    const double heapSlope = Slope(sampledTurns, samples, &Usage::heapBytes);
    const double privateSlope = Slope(sampledTurns, samples, &Usage::privateBytes);
    std::printf("per turn: %.3f GDI objects, %.3f USER objects, %.1f heap bytes, %.0f private bytes\n", gdiSlope,
                userSlope, heapSlope, privateSlope);
    EXPECT_LT(gdiSlope, 0.1) << "GDI objects from " << before.gdi << " to " << after.gdi;
    EXPECT_LT(userSlope, 0.1) << "USER objects from " << before.user << " to " << after.user;
    EXPECT_LT(heapSlope, 1024.0) << "heap bytes from " << before.heapBytes << " to " << after.heapBytes;
    EXPECT_LE(after.privateBytes, before.privateBytes + 2 * 1024 * 1024) << "private bytes before "
                                                                           << before.privateBytes;
    EXPECT_GT(before.gdi, 0);
    EXPECT_GT(before.user, 0);
    EXPECT_GT(before.heapBytes, 0);

    // The window still paints the green scheme: strip from light to mid, frame, menu
    // button, arrow and the line under the strip; the full layout's rectangle.
    ASSERT_EQ(strip.size(), 2u);
    EXPECT_TRUE(gui::NearColor(strip[0], RGB(200, 250, 200)));
    EXPECT_TRUE(gui::NearColor(strip[1], RGB(75, 150, 75)));
    EXPECT_EQ(frame, (std::vector<COLORREF>{RGB(75, 150, 75), RGB(75, 150, 75), RGB(50, 100, 50), RGB(75, 150, 75),
                                            RGB(75, 150, 75)}));
    EXPECT_EQ(regionHeight, windowHeight);
}

// A hundred changes of scale there and back remake the fonts, the outline and the layout each
// time; the objects the window holds stay as many. Wine's month calendar keeps a bold font of
// its own for every font it is given, which is measured first and allowed for: two a turn.
TEST(Soak, AHundredChangesOfScaleLeaveNoObjectsBehind)
{
    ProbeWindow probe;
    std::vector<int> sampledTurns;
    std::vector<Usage> samples;
    sampledTurns.reserve(11);
    samples.reserve(11);
    double calendarKeepsPerFont = 0;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            const HWND calendar = GetDlgItem(window, IDC_CALENDAR);
            const auto font = static_cast<WPARAM>(SendMessageW(calendar, WM_GETFONT, 0, 0));
            const DWORD before = GdiObjects();
            for (int i = 0; i < 10; ++i)
                SendMessageW(calendar, WM_SETFONT, font, FALSE);
            calendarKeepsPerFont = (GdiObjects() - before) / 10.0;
        });
        const auto there = [window](int dpi) {
            ProbeWindow::OnWindowThread(window, [window, dpi] {
                RECT place{};
                GetWindowRect(window, &place);
                SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
            });
        };
        for (int turn = -3; turn <= 100; ++turn) {
            if (turn >= 0 && turn % SAMPLE_TURNS == 0) {
                sampledTurns.push_back(turn);
                samples.push_back(Measure());
            }
            there(144);
            there(96);
        }
    });
    ASSERT_EQ(samples.size(), 11u);
    EXPECT_LT(Slope(sampledTurns, samples, &Usage::gdi), 2 * calendarKeepsPerFont + 0.1)
        << "GDI objects from " << samples.front().gdi << " to " << samples.back().gdi << "; the calendar keeps "
        << calendarKeepsPerFont << " a font";
    EXPECT_LT(Slope(sampledTurns, samples, &Usage::user), 0.1)
        << "USER objects from " << samples.front().user << " to " << samples.back().user;
}

namespace {

std::string KeyOf(const SYSTEMTIME& date)
{
    return core::DayKeyFromDate(date.wYear, date.wMonth, date.wDay);
}

// Picks a day as the month calendar does when clicked: the selection moves, then the window hears of it.
void Pick(HWND window, const SYSTEMTIME& date)
{
    HWND calendar = GetDlgItem(window, IDC_CALENDAR);
    SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
    NMSELCHANGE change{};
    change.nmhdr.hwndFrom = calendar;
    change.nmhdr.idFrom = IDC_CALENDAR;
    change.nmhdr.code = MCN_SELCHANGE;
    change.stSelStart = change.stSelEnd = date;
    SendMessageW(window, WM_NOTIFY, IDC_CALENDAR, reinterpret_cast<LPARAM>(&change));
}

// Types into the notes box key by key; "\r" is the Enter key.
void Type(HWND window, const std::wstring& text)
{
    HWND box = GetDlgItem(window, IDC_NOTES);
    for (wchar_t c : text)
        SendMessageW(box, WM_CHAR, c, 1);
}

void SelectAllAndDelete(HWND window)
{
    HWND box = GetDlgItem(window, IDC_NOTES);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageW(box, WM_KEYUP, VK_DELETE, 1);
}

SYSTEMTIME NextDay(SYSTEMTIME date)
{
    FILETIME time{};
    SystemTimeToFileTime(&date, &time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += 24ull * 60 * 60 * 10000000;
    time = {value.LowPart, value.HighPart};
    FileTimeToSystemTime(&time, &date);
    return date;
}

// The note typed on a day of the sweep: some run over two lines (`lineBreak` is the Enter key
// as typed, or the line break as stored), some go beyond ASCII.
std::wstring NoteOfDay(int day, const wchar_t* lineBreak)
{
    std::wstring text = L"Day " + std::to_wstring(day);
    if (day % 15 == 0)
        text += lineBreak + std::wstring(L"second line");
    if (day % 25 == 0)
        text += L" caf\u00e9 \u65e5";
    return text;
}

// The store's rules: a day keeps one note, a note set again moves to the end, a blank one goes.
void SetNote(std::vector<std::pair<std::string, std::string>>& model, const std::string& key, const std::string& text)
{
    for (auto it = model.begin(); it != model.end(); ++it)
        if (it->first == key) {
            model.erase(it);
            break;
        }
    if (!core::IsBlankText(text))
        model.emplace_back(key, text);
}

}  // namespace

TEST(Soak, AYearOfDaysWithANoteOnEveryFifthAreAllWrittenInStoreOrder)
{
    ProbeWindow probe;
    const core::CalendarSettings settings = gui::DefaultSettings();
    const std::string noNotes(4, '\0');
    std::map<std::wstring, std::string> files;
    std::vector<std::pair<std::string, std::string>> expected;
    std::vector<SYSTEMTIME> noted;
    int days = 0;
    RunWindow(
        probe,
        [&](HWND window) {
            SYSTEMTIME date{};
            date.wYear = 2012;
            date.wMonth = 1;
            date.wDay = 1;
            for (; date.wYear < 2013; date = NextDay(date), ++days) {
                ProbeWindow::OnWindowThread(window, [&] {
                    Pick(window, date);
                    if (days % 5 == 0)
                        Type(window, NoteOfDay(days, L"\r"));
                });
                if (days % 5 == 0) {
                    noted.push_back(date);
                    expected.emplace_back(KeyOf(date), fw::Narrow(NoteOfDay(days, L"\r\n")));
                }
            }
            // Back to three noted days: one left as it was, one cleared, one written anew.
            const std::vector<SYSTEMTIME> revisits = {noted[3], noted[30], noted[60]};
            ProbeWindow::OnWindowThread(window, [&] {
                Pick(window, revisits[0]);
                Pick(window, revisits[1]);
                SelectAllAndDelete(window);
                Pick(window, revisits[2]);
                SelectAllAndDelete(window);
                Type(window, L"rewritten");
            });
            auto textOf = [&](const SYSTEMTIME& day) {
                for (const auto& [key, text] : expected)
                    if (key == KeyOf(day))
                        return text;
                return std::string();
            };
            const std::string first = textOf(revisits[0]);
            SetNote(expected, KeyOf(revisits[0]), first);
            SetNote(expected, KeyOf(revisits[1]), "");
            SetNote(expected, KeyOf(revisits[2]), "rewritten");
            PostMessageW(window, WM_COMMAND, ID_CLOSE, 0);
        },
        &settings, &noNotes, &files);
    EXPECT_EQ(days, 366);
    ASSERT_EQ(expected.size(), 73u);
    const std::string bytes = files[L"qor_nots.dat"];
    core::NoteStore saved;
    ASSERT_TRUE(saved.Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), core::Windows1252()));
    std::vector<std::pair<std::string, std::string>> written;
    for (const core::DayNote& note : saved.Notes())
        written.emplace_back(note.key, note.text);
    EXPECT_EQ(written, expected);
}
