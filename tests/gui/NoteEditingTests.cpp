// Editing notes in the running window: picking days with real clicks, committing the notes
// box, the bold days of the month and what the OK and Cancel paths write.
#include <gtest/gtest.h>

#include "ImportPatch.h"
#include "ProbeWindow.h"
#include "resources/ResourceIds.h"
#include "core/DayKey.h"
#include "framework/SystemTime.h"
#include "notes/NotePreview.h"

namespace {


SYSTEMTIME Today()
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    return today;
}

std::string KeyOf(const SYSTEMTIME& date)
{
    return core::DayKeyFromDate(date.wYear, date.wMonth, date.wDay);
}

std::string NotesFileBytes(const std::vector<std::pair<std::string, std::string>>& notes)
{
    std::string bytes(4, '\0');
    bytes[0] = static_cast<char>(notes.size());
    for (const auto& [key, text] : notes)
        bytes += static_cast<char>(key.size()) + key + static_cast<char>(text.size()) + text;
    return bytes;
}

// The screen point of a date's cell, found by asking the month calendar what lies under
// points of its client area; `hit` tells which kind of cell (this month's or a grey one).
bool FindInCalendar(HWND calendar, const std::function<bool(const MCHITTESTINFO&)>& wanted, POINT& screen)
{
    RECT client{};
    GetClientRect(calendar, &client);
    for (int y = 2; y < client.bottom; y += 3) {
        for (int x = 2; x < client.right; x += 3) {
            MCHITTESTINFO info{};
            info.cbSize = sizeof info;
            info.pt = {x, y};
            SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
            if (wanted(info)) {
                screen = {x, y};
                ClientToScreen(calendar, &screen);
                return true;
            }
        }
    }
    return false;
}

bool DayCell(HWND calendar, WORD day, POINT& screen)
{
    const SYSTEMTIME today = Today();
    return FindInCalendar(calendar, [&](const MCHITTESTINFO& info) {
        return info.uHit == MCHT_CALENDARDATE && info.st.wDay == day && info.st.wMonth == today.wMonth;
    }, screen);
}

// The month calendar captures the mouse at a press and lets it go at the release, then tells
// the window; a round trip after the release lets the window finish what the click set off.
void Click(HWND window, POINT screen, const std::function<bool()>& pressed)
{
    gui::MoveCursorTo(screen);
    gui::LeftButton(true);
    gui::LeftButton(false);
    gui::WaitUntil([&] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        return pressed() && GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
               !thread.hwndCapture;
    });
    gui::RoundTrip(window);
}

// Picks `day` of the current month with a click; false when its cell is not on screen.
bool Pick(HWND window, WORD day)
{
    const HWND calendar = GetDlgItem(window, IDC_CALENDAR);
    POINT cell{};
    if (!DayCell(calendar, day, cell))
        return false;
    Click(window, cell, [&] {
        SYSTEMTIME selected{};
        return SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected)) && selected.wDay == day;
    });
    return true;
}

// The first month the calendar shows whole.
WORD ShownMonth(HWND calendar)
{
    SYSTEMTIME range[2]{};
    SendMessageW(calendar, MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(range));
    return range[0].wMonth;
}

// A day of this month other than today whose cell is on screen.
WORD OtherDay(HWND window)
{
    const WORD today = Today().wDay;
    for (WORD day : {WORD(today + 1), WORD(today - 1), WORD(today + 7), WORD(today - 7), WORD(15), WORD(10)}) {
        POINT cell{};
        if (day != today && day >= 1 && day <= 28 && DayCell(GetDlgItem(window, IDC_CALENDAR), day, cell))
            return day;
    }
    return 0;
}

std::wstring NotesText(HWND window)
{
    wchar_t text[1024] = L"";
    GetDlgItemTextW(window, IDC_NOTES, text, 1024);
    return text;
}

std::vector<MONTHDAYSTATE> DayStates(ProbeWindow& probe, HWND window)
{
    std::vector<MONTHDAYSTATE> states;
    ProbeWindow::OnWindowThread(window, [&] { states = probe.dayStates; });
    return states;
}

bool Bold(const std::vector<MONTHDAYSTATE>& states, WORD day)
{
    return states.size() >= 2 && (states[1] & (1u << (day - 1))) != 0;
}

// Tells the window the selection changed, as the month calendar does.
void NotifySelectionChange(HWND window)
{
    NMSELCHANGE change{};
    change.nmhdr.hwndFrom = GetDlgItem(window, IDC_CALENDAR);
    change.nmhdr.idFrom = IDC_CALENDAR;
    change.nmhdr.code = MCN_SELCHANGE;
    SendMessageW(window, WM_NOTIFY, IDC_CALENDAR, reinterpret_cast<LPARAM>(&change));
}

// What the notes box shows after a day change, and how many times its scroll bar was drawn.
struct BoxState {
    std::wstring text;
    int scrollBarDraws = 0;
    SCROLLINFO scroll{};
    LRESULT lines = 0, firstLine = 0, modified = 0, canUndo = 0;
    DWORD selectionStart = 1, selectionEnd = 1;
    bool screenMatchesAFullRepaint = false;
};

// A scroll bar is drawn when it is set on a shown window, and with the window's frame.
std::atomic<int> scrollBarDraws{0};
void* originalSetScrollInfo = nullptr;
int WINAPI CountSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    if (bar == SB_VERT && redraw && IsWindowVisible(window))
        ++scrollBarDraws;
    return reinterpret_cast<decltype(&SetScrollInfo)>(originalSetScrollInfo)(window, bar, info, redraw);
}
LRESULT CALLBACK CountFramePaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NCPAINT)
        ++scrollBarDraws;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, CountFramePaints, 8);
    return DefSubclassProc(window, message, wParam, lParam);
}

// The pixels of a window's rectangle on the screen.
std::vector<COLORREF> ScreenPixels(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    std::vector<COLORREF> pixels;
    for (int y = rect.top; y < rect.bottom; y += 2)
        for (int x = rect.left; x < rect.right; x += 2)
            pixels.push_back(gui::ScreenPixel({x, y}));
    return pixels;
}

}  // namespace

TEST(NoteEditing, ADayChangeLaysOutTheNewNoteAndDrawsTheScrollBarOnce)
{
    SYSTEMTIME other = Today(), empty = Today();
    other.wDay = other.wDay == 1 ? 2 : 1;
    empty.wDay = other.wDay + 1 == Today().wDay ? other.wDay + 2 : other.wDay + 1;
    std::string longNote;
    // Short enough for a one-byte length in the file, long enough to overflow the box.
    for (int line = 1; line <= 25; ++line)
        longNote += "line " + std::to_string(line) + (line < 25 ? "\r\n" : "");
    const std::string notes = NotesFileBytes({{KeyOf(Today()), longNote}, {KeyOf(other), "short"}});
    ProbeWindow probe;
    // From the long note to a day without one, then to a short note and back.
    const SYSTEMTIME days[] = {empty, other, Today()};
    BoxState states[std::size(days)];
    RunWindow(probe, [&](HWND window) {
        ASSERT_TRUE(gui::BringToFront(window));
        const HWND box = GetDlgItem(window, IDC_NOTES);
        // The box's own code (the common controls' edit) sets its scroll bar.
        HMODULE boxModule = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(GetClassLongPtrW(box, GCLP_WNDPROC)), &boxModule);
        ImportPatch patch("user32.dll", "SetScrollInfo", reinterpret_cast<void*>(CountSetScrollInfo), boxModule);
        ASSERT_TRUE(patch.Patched());
        originalSetScrollInfo = patch.Original();
        ProbeWindow::OnWindowThread(window, [&] { SetWindowSubclass(box, CountFramePaints, 8, 0); });
        // An edit that could be undone, with the caret inside the text.
        SendMessageW(box, EM_SETSEL, 3, 3);
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typed "));
        for (std::size_t i = 0; i < std::size(days); ++i) {
            BoxState& state = states[i];
            SendMessageW(GetDlgItem(window, IDC_CALENDAR), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&days[i]));
            scrollBarDraws = 0;
            // The change and its paint, on the window's thread.
            ProbeWindow::OnWindowThread(window, [&] {
                NotifySelectionChange(window);
                RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            });
            state.scrollBarDraws = scrollBarDraws;
            state.text = NotesText(window);
            state.scroll.cbSize = sizeof state.scroll;
            state.scroll.fMask = SIF_ALL;
            GetScrollInfo(box, SB_VERT, &state.scroll);
            state.lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
            state.firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
            state.modified = SendMessageW(box, EM_GETMODIFY, 0, 0);
            state.canUndo = SendMessageW(box, EM_CANUNDO, 0, 0);
            SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&state.selectionStart),
                         reinterpret_cast<LPARAM>(&state.selectionEnd));
            // What reached the screen is what a full repaint of the box draws.
            const std::vector<COLORREF> shown = ScreenPixels(box);
            RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            state.screenMatchesAFullRepaint = shown == ScreenPixels(box);
        }
    }, nullptr, &notes);
    const std::wstring expected[] = {L"", L"short", fw::Widen("lin" "typed e 1" + longNote.substr(6))};
    const LRESULT expectedLines[] = {1, 1, 25};
    const char* const names[] = {"no note", "the short note", "the long note, typed into"};
    for (std::size_t i = 0; i < std::size(days); ++i) {
        SCOPED_TRACE(names[i]);
        const BoxState& state = states[i];
        EXPECT_EQ(state.text, expected[i]);
        EXPECT_EQ(state.lines, expectedLines[i]);
        EXPECT_EQ(state.scrollBarDraws, 1);
        EXPECT_EQ(state.scroll.nMax, state.lines - 1);
        EXPECT_EQ(state.scroll.nPos, 0);
        EXPECT_EQ(state.firstLine, 0);
        EXPECT_EQ(state.selectionStart, 0u);
        EXPECT_EQ(state.selectionEnd, 0u);
        EXPECT_EQ(state.modified, 0);
        EXPECT_EQ(state.canUndo, 0);
        EXPECT_TRUE(state.screenMatchesAFullRepaint);
    }
}

TEST(NoteEditing, ATypedNoteMakesItsDayBoldAndABlankOneRemovesIt)
{
    const WORD today = Today().wDay;
    ProbeWindow probe;
    WORD other = 0;
    std::wstring shownOnOther, shownBack;
    std::vector<MONTHDAYSTATE> afterTyping, afterBlanking;
    std::map<std::wstring, std::string> files;
    const std::string noNotes(4, '\0');
    RunWindow(probe, [&](HWND window) {
        ASSERT_TRUE(gui::BringToFront(window));
        other = OtherDay(window);
        ASSERT_NE(other, 0) << "no other day of this month is on screen";
        SetDlgItemTextW(window, IDC_NOTES, L"Dentist at 10:30\r\nthen the bank");
        ASSERT_TRUE(Pick(window, other));
        shownOnOther = NotesText(window);
        afterTyping = DayStates(probe, window);
        ASSERT_TRUE(Pick(window, today));
        shownBack = NotesText(window);
        SetDlgItemTextW(window, IDC_NOTES, L"  \t\r\n \r\n");
        ASSERT_TRUE(Pick(window, other));
        afterBlanking = DayStates(probe, window);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, nullptr, &noNotes, &files);
    EXPECT_EQ(shownOnOther, L"");
    EXPECT_TRUE(Bold(afterTyping, today));
    EXPECT_FALSE(Bold(afterTyping, other));
    EXPECT_EQ(shownBack, L"Dentist at 10:30\r\nthen the bank");
    EXPECT_FALSE(Bold(afterBlanking, today));
    EXPECT_EQ(files[L"qor_nots.dat"], noNotes);
}

TEST(NoteEditing, CloseWritesEveryEditInStoreOrderAndEscapeNothing)
{
    const SYSTEMTIME today = Today();
    const std::string todayKey = KeyOf(today);
    for (bool close : {true, false}) {
        SCOPED_TRACE(close ? "Close" : "Escape");
        ProbeWindow probe;
        WORD other = 0;
        std::string otherKey;
        std::map<std::wstring, std::string> files;
        // Today's note comes first in the file; it is picked away from unchanged.
        std::string notes = NotesFileBytes({{todayKey, "alpha"}, {"311299", "kept"}});
        RunWindow(probe, [&](HWND window) {
            ASSERT_TRUE(gui::BringToFront(window));
            EXPECT_EQ(NotesText(window), L"alpha");
            other = OtherDay(window);
            ASSERT_NE(other, 0);
            SYSTEMTIME otherDate = today;
            otherDate.wDay = other;
            otherKey = KeyOf(otherDate);
            ASSERT_TRUE(Pick(window, other));
            SetDlgItemTextW(window, IDC_NOTES, L"beta");
            PostMessageW(window, WM_COMMAND, close ? IDOK : IDCANCEL, 0);
            gui::WaitUntil([&] { return !IsWindow(window); });
        }, nullptr, &notes, &files);
        const std::string expected =
            close ? NotesFileBytes({{"311299", "kept"}, {todayKey, "alpha"}, {otherKey, "beta"}}) : notes;
        EXPECT_EQ(files[L"qor_nots.dat"], expected);
        EXPECT_EQ(files.count(L"qor_info.dat"), close ? 1u : 0u);
    }
}

TEST(NoteEditing, ScrollingToTheNextMonthStoresTheBoxFirstAndBoldsThatMonth)
{
    SYSTEMTIME next = Today();
    next.wMonth = static_cast<WORD>(next.wMonth % 12 + 1);
    next.wYear = static_cast<WORD>(next.wYear + (next.wMonth == 1 ? 1 : 0));
    next.wDay = 2;
    const std::string todayKey = KeyOf(Today());
    std::string notes = NotesFileBytes({{KeyOf(next), "in the next month"}});
    ProbeWindow probe;
    std::vector<MONTHDAYSTATE> before, after;
    std::wstring shownAfter;
    std::map<std::wstring, std::string> files;
    RunWindow(probe, [&](HWND window) {
        ASSERT_TRUE(gui::BringToFront(window));
        before = DayStates(probe, window);
        SetDlgItemTextW(window, IDC_NOTES, L"typed before scrolling");
        POINT arrow{};
        ASSERT_TRUE(FindInCalendar(GetDlgItem(window, IDC_CALENDAR),
                                   [](const MCHITTESTINFO& info) { return info.uHit == MCHT_TITLEBTNNEXT; }, arrow));
        const HWND calendar = GetDlgItem(window, IDC_CALENDAR);
        const WORD shown = ShownMonth(calendar);
        Click(window, arrow, [&] { return ShownMonth(calendar) != shown; });
        after = DayStates(probe, window);
        shownAfter = NotesText(window);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, nullptr, &notes, &files);
    // Before: the next month's day 2 is one of the grey days at most, and never bold.
    ASSERT_GE(before.size(), 2u);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i], 0u) << "entry " << i;
    EXPECT_TRUE(Bold(after, 2));
    EXPECT_EQ(shownAfter.find(L"in the next month") == 0, Today().wDay == 2);
    const std::string& saved = files[L"qor_nots.dat"];
    EXPECT_NE(saved.find(todayKey + static_cast<char>(22) + "typed before scrolling"), std::string::npos);
}

TEST(NoteEditing, TheScanOfJanuary2007AndASelectionThatStaysPut)
{
    std::string notes = NotesFileBytes({{"010107", "first"}, {"150107", "middle"}, {"310107", "last"},
                                   {"010207", "february"}, {"311206", "december"}, {"200107", " \r\n"}});
    ProbeWindow probe;
    std::vector<MONTHDAYSTATE> states;
    std::wstring shown, shownAgain;
    std::map<std::wstring, std::string> files;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            SYSTEMTIME january{};
            january.wYear = 2007, january.wMonth = 1, january.wDay = 15;
            SendMessageW(GetDlgItem(window, IDC_CALENDAR), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&january));
            NotifySelectionChange(window);
            states = probe.dayStates;
            shown = NotesText(window);
            SetDlgItemTextW(window, IDC_NOTES, L"middle, edited");
            NotifySelectionChange(window);
            shownAgain = NotesText(window);
        });
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, nullptr, &notes, &files);
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[1], (1u << 0) | (1u << 14) | (1u << 30));
    for (std::size_t i = 0; i < states.size(); ++i)
        EXPECT_EQ(states[i], i == 1 ? states[1] : 0u) << "entry " << i;
    EXPECT_EQ(shown, L"middle");
    EXPECT_EQ(shownAgain, L"middle, edited");
    EXPECT_NE(files[L"qor_nots.dat"].find(std::string("150107") + char(14) + "middle, edited"), std::string::npos);
}

namespace {

// The platform's local time, with the clock moved on by a test.
class ShiftedTime : public core::TimeService {
public:
    core::Moment Now() const override { return system.Now() + shift; }
    bool ToLocal(core::Moment moment, core::LocalTime& local) const override { return system.ToLocal(moment, local); }
    std::atomic<core::Moment> shift{0};

private:
    fw::SystemTime system;
};

}  // namespace

TEST(NoteEditing, PastMidnightTheShownDayStays)
{
    ShiftedTime clock;
    fw::SetTimeSource(&clock);
    const std::string todayKey = KeyOf(Today());
    ProbeWindow probe;
    std::wstring shown;
    std::map<std::wstring, std::string> files;
    const std::string noNotes(4, '\0');
    RunWindow(probe, [&](HWND window) {
        SetDlgItemTextW(window, IDC_NOTES, L"written before midnight");
        clock.shift = 86400;
        // Ticks of the clock past midnight, any of which could change the shown day.
        WaitForClockTicks(probe, 20);
        shown = NotesText(window);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, nullptr, &noNotes, &files);
    fw::SetTimeSource(nullptr);
    EXPECT_EQ(shown, L"written before midnight");
    EXPECT_EQ(files[L"qor_nots.dat"], NotesFileBytes({{todayKey, "written before midnight"}}));
}

namespace {

// The preview tooltip over the calendar. A tooltip made for a child window is owned by the
// child's top-level window.
HWND Preview(HWND calendar)
{
    for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(tip, GW_OWNER) == GetAncestor(calendar, GA_ROOT))
            return tip;
    return nullptr;
}

HWND VisiblePreview(HWND calendar)
{
    const HWND tip = Preview(calendar);
    return tip && IsWindowVisible(tip) ? tip : nullptr;
}

// The title last given to a tooltip (Wine's tooltips cannot be asked for it).
std::wstring previewTitle;
LRESULT CALLBACK RecordTitle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == TTM_SETTITLEW)
        previewTitle = reinterpret_cast<const wchar_t*>(lParam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, RecordTitle, 7);
    return DefSubclassProc(window, message, wParam, lParam);
}

// Whether the calendar's window asks to be told when the pointer leaves it. The calls are
// taken, not passed on, so the real pointer's place cannot end a preview under way.
HWND watchedCalendar = nullptr;
bool leaveWatched = false;
BOOL WINAPI RecordTrackMouseEvent(TRACKMOUSEEVENT* request)
{
    if (request->hwndTrack == watchedCalendar && (request->dwFlags & TME_LEAVE))
        leaveWatched = !(request->dwFlags & TME_CANCEL);
    return TRUE;
}

// The pointer comes to rest on a day's cell.
void RestOn(HWND calendar, WORD day)
{
    POINT cell{};
    if (!DayCell(calendar, day, cell))
        return;
    ScreenToClient(calendar, &cell);
    SendMessageW(calendar, WM_MOUSEMOVE, 0, MAKELPARAM(cell.x, cell.y));
}

// The time to rest has passed.
void RestLongEnough(HWND calendar)
{
    SendMessageW(calendar, WM_TIMER, NotePreview::REST_TIMER_ID, 0);
}

}  // namespace

TEST(NoteEditing, RestingOnADayWithANoteShowsItsNoteAndDateAndNothingElseDoes)
{
    const SYSTEMTIME today = Today();
    const WORD noted = today.wDay == 10 ? 11 : 10, empty = today.wDay == 20 ? 21 : 20;
    SYSTEMTIME notedDate = today;
    notedDate.wDay = noted;
    std::string longNote;
    for (int line = 1; line <= 10; ++line)
        longNote += "line " + std::to_string(line) + "\r\n";
    const std::string notes =
        NotesFileBytes({{KeyOf(notedDate), longNote}, {KeyOf(today), "the shown day's own note"}});
    const core::CalendarSettings settings = gui::DefaultSettings();
    std::wstring text, title;
    std::vector<bool> shown, watched;
    ProbeWindow probe;
    previewTitle.clear();
    ImportPatch patch("user32.dll", "TrackMouseEvent", reinterpret_cast<void*>(RecordTrackMouseEvent));
    ASSERT_TRUE(patch.Patched());
    leaveWatched = false;
    RunWindow(probe, [&](HWND window) {
        const HWND calendar = GetDlgItem(window, IDC_CALENDAR);
        watchedCalendar = calendar;
        RestOn(calendar, noted);
        // The real wait, once. The tooltip is made for the first preview; its titles are
        // recorded from then on.
        ASSERT_TRUE(gui::WaitUntil([&] { return VisiblePreview(calendar) != nullptr; }, 3000));
        watched.push_back(leaveWatched);
        const HWND tip = VisiblePreview(calendar);
        ProbeWindow::OnWindowThread(window, [&] { SetWindowSubclass(tip, RecordTitle, 7, 0); });
        wchar_t buffer[1024] = L"";
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = calendar;
        tool.uId = reinterpret_cast<UINT_PTR>(calendar);
        tool.lpszText = buffer;
        SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        text = buffer;
        // An empty day and the shown day show nothing, however long the pointer rests, and
        // the pointer resting there is not watched (Wine polls a watched pointer).
        for (WORD day : {empty, today.wDay}) {
            RestOn(calendar, day);
            RestLongEnough(calendar);
            shown.push_back(VisiblePreview(calendar) != nullptr);
            watched.push_back(leaveWatched);
        }
        // A key ends the preview.
        RestOn(calendar, noted);
        RestLongEnough(calendar);
        shown.push_back(VisiblePreview(calendar) != nullptr);
        watched.push_back(leaveWatched);
        title = previewTitle;
        SendMessageW(calendar, WM_KEYDOWN, VK_SHIFT, 0);
        shown.push_back(VisiblePreview(calendar) != nullptr);
        watched.push_back(leaveWatched);
    }, &settings, &notes);
    watchedCalendar = nullptr;
    EXPECT_EQ(text, NotePreview::Excerpt(longNote));
    EXPECT_NE(text.find(L"line 8"), std::wstring::npos);
    EXPECT_EQ(text.find(L"line 9"), std::wstring::npos);
    wchar_t longDate[100] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &notedDate, nullptr, longDate, 100, nullptr);
    EXPECT_EQ(title, longDate);
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(watched, (std::vector<bool>{true, false, false, true, false}));
}
