// Notes typed into the running program survive a kill at any moment: the recovery journal
// beside the notes file, and what the next start makes of it, whole or torn.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Harness.h"
#include "SettingsFiles.h"
#include "core/DataFilePath.h"
#include "core/DayKey.h"
#include "core/NoteStore.h"
#include "core/NotesJournal.h"
#include "resources/ResourceIds.h"

namespace {

const wchar_t* const notesFile = L"qor_nots.dat";
const wchar_t* const journalFile = L"qor_nots.dat.journal";
// Every change reaches the disk within this long.
constexpr ULONGLONG recordedWithinMs = 2000;

// Today plus `days`.
SYSTEMTIME Day(int days = 0)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME time{};
    SystemTimeToFileTime(&now, &time);
    ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(days) * 864000000000LL);
    time = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME day{};
    FileTimeToSystemTime(&time, &day);
    return day;
}

std::string DayKey(int days = 0)
{
    const SYSTEMTIME day = Day(days);
    return core::DayKeyFromDate(day.wYear, day.wMonth, day.wDay);
}

// Each day's note in the notes file as the program left it.
std::map<std::string, std::string> ReadNotes(const gui::TempFolder& folder)
{
    return gui::DecodeNotes(gui::ReadFileBytes(folder.File(notesFile)));
}

HWND NotesBox(const gui::Program& program)
{
    return GetDlgItem(program.Window(), IDC_NOTES);
}

// The box's text; the tests type only ASCII. GetWindowText does not ask another process's
// control, so the messages are sent.
std::string BoxText(const gui::Program& program)
{
    const HWND box = NotesBox(program);
    std::wstring text(static_cast<std::size_t>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return std::string(text.begin(), text.end());
}

// Puts the caret after the text, so that what is typed next is appended.
void CaretToEnd(const gui::Program& program)
{
    const LRESULT end = SendMessageW(NotesBox(program), WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(NotesBox(program), EM_SETSEL, static_cast<WPARAM>(end), end);
}

// Whether a save's temporary file is in the folder.
bool HoldsSaveTemporary(const gui::TempFolder& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(folder.File(L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool holds = false;
    do
        holds = holds || core::IsSaveTemporaryName(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return holds;
}

// A click on the middle of a day's cell, as the calendar takes it from the mouse.
void PickDay(const gui::Program& program, const RECT& cell)
{
    const HWND calendar = GetDlgItem(program.Window(), IDC_CALENDAR);
    const LPARAM middle = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(calendar, WM_LBUTTONUP, 0, middle);
}

// One keystroke's character; SendMessage returns once the box has taken it.
void Type(const gui::Program& program, char character)
{
    SendMessageW(NotesBox(program), WM_CHAR, static_cast<WPARAM>(character), 1);
}

// Types a character every `gapMs` until `durationMs` have passed, appending each to `typed`
// and its moment to `moments`. The gaps are the typing being tested, not a wait for anything.
void TypeFor(const gui::Program& program, ULONGLONG durationMs, DWORD gapMs, std::string& typed,
             std::vector<ULONGLONG>& moments)
{
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; GetTickCount64() - start < durationMs; ++i) {
        const char character = static_cast<char>('a' + i % 26);
        Type(program, character);
        typed += character;
        moments.push_back(GetTickCount64());
        Sleep(gapMs);  // the typing gap, the subject
    }
}

// How many of the characters typed at `moments` were typed `recordedWithinMs` before `kill`.
std::size_t TypedLongBefore(const std::vector<ULONGLONG>& moments, ULONGLONG kill)
{
    std::size_t count = 0;
    while (count < moments.size() && moments[count] + recordedWithinMs <= kill)
        ++count;
    return count;
}

}  // namespace

// Kills spread from the first keystroke to well past the latest moment a keystroke must be
// on the disk. Each restart recovers the text into the notes file, removes the journal and
// shows the text; each start is the next round's typing. At the end an Escape gives up what
// was typed: the next start recovers nothing.
TEST(Recovery, TypingKilledAtAnyMomentComesBackUpToTwoSecondsBeforeTheKill)
{
    gui::TempFolder folder;
    const std::string today = DayKey(), yesterday = DayKey(-1);
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{yesterday, "kept"}, {today, "typed:"}})));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(gui::DefaultSettings())));

    constexpr int kills = 10;
    std::string typed = "typed:";
    std::size_t mustHave = typed.size();
    for (int k = 0; k <= kills; ++k) {
        const ULONGLONG durationMs = 150 + static_cast<ULONGLONG>(k) * 3400 / kills;
        SCOPED_TRACE(testing::Message() << "after kill " << k << " of typing for " << durationMs << " ms");
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        const std::string shown = BoxText(program);
        EXPECT_EQ(typed.compare(0, shown.size(), shown), 0) << "shown: " << shown;
        EXPECT_GE(shown.size(), mustHave) << "shown: " << shown << "\ntyped: " << typed;
        EXPECT_FALSE(gui::FileExists(folder.File(journalFile))) << "a recovered journal must go";
        std::map<std::string, std::string> saved = ReadNotes(folder);
        EXPECT_EQ(saved[today], shown);
        EXPECT_EQ(saved[yesterday], "kept");
        typed = shown;
        CaretToEnd(program);
        if (k == kills) {
            Type(program, '!');
            ASSERT_TRUE(gui::WaitUntil([&] { return gui::FileExists(folder.File(journalFile)); }));
            const std::string before = gui::ReadFileBytes(folder.File(notesFile));
            PostMessageW(program.Window(), WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(program.WaitForExit(5000));
            EXPECT_FALSE(gui::FileExists(folder.File(journalFile))) << "Escape gives up the journal";
            EXPECT_EQ(gui::ReadFileBytes(folder.File(notesFile)), before);
            break;
        }
        std::vector<ULONGLONG> moments;
        TypeFor(program, durationMs, 45, typed, moments);
        mustHave = shown.size() + TypedLongBefore(moments, GetTickCount64());
    }  // killed here
    gui::Program afterEscape(folder);
    ASSERT_NE(afterEscape.Window(), nullptr);
    EXPECT_EQ(BoxText(afterEscape), typed);
    EXPECT_FALSE(gui::FileExists(folder.File(journalFile)));
}

// A note left for another day reaches the disk just after the pick, whatever is typed on the
// new day meanwhile: kills spread from the pick to past two seconds after it.
TEST(Recovery, ANoteLeftForAnotherDayReachesTheDiskWhileTheNextDayIsTypedInto)
{
    gui::TempFolder folder;
    const std::string today = DayKey(), tomorrow = DayKey(1);
    const SYSTEMTIME tomorrowDate = Day(1);
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{tomorrow, "next:"}})));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(gui::DefaultSettings())));

    constexpr int kills = 10;
    std::string typedToday, typedTomorrow = "next:";
    std::size_t mustHaveToday = 0, mustHaveTomorrow = typedTomorrow.size();
    for (int k = 0; k <= kills; ++k) {
        const ULONGLONG afterPickMs = static_cast<ULONGLONG>(k) * 2600 / kills;
        SCOPED_TRACE(testing::Message() << "after kill " << k << ", " << afterPickMs << " ms after the pick");
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        std::map<std::string, std::string> saved = ReadNotes(folder);
        for (const auto& [day, typed, mustHave] : {std::tie(today, typedToday, mustHaveToday),
                                                   std::tie(tomorrow, typedTomorrow, mustHaveTomorrow)}) {
            EXPECT_EQ(typed.compare(0, saved[day].size(), saved[day]), 0) << day << ": " << saved[day];
            EXPECT_GE(saved[day].size(), mustHave) << day << ": " << saved[day] << "\ntyped: " << typed;
        }
        EXPECT_EQ(BoxText(program), saved[today]);
        typedToday = saved[today];
        typedTomorrow = saved[tomorrow];
        if (k == kills)
            break;

        // Typed faster than any pause, so only the pick makes it due.
        CaretToEnd(program);
        for (const char character : std::string("day") + std::to_string(k) + ";") {
            Type(program, character);
            typedToday += character;
        }
        const RECT cell = gui::DayCellRect(program, IDC_CALENDAR, tomorrowDate);
        ASSERT_FALSE(IsRectEmpty(&cell)) << "the calendar does not show tomorrow";
        PickDay(program, cell);
        const ULONGLONG pick = GetTickCount64();
        ASSERT_EQ(BoxText(program), typedTomorrow) << "the pick did not show the next day";
        CaretToEnd(program);
        std::vector<ULONGLONG> moments;
        TypeFor(program, afterPickMs, 45, typedTomorrow, moments);
        const ULONGLONG kill = GetTickCount64();
        mustHaveToday = pick + recordedWithinMs <= kill ? typedToday.size() : saved[today].size();
        mustHaveTomorrow = saved[tomorrow].size() + TypedLongBefore(moments, kill);
    }  // killed here
}

// A journal cut anywhere, as a kill in the middle of a write leaves it, gives back the whole
// records before the cut; a file that is no journal is kept aside and never stops the start.
// Kills spread over the moment the program writes a large note show the same from outside.
TEST(Recovery, AJournalCutByAKillGivesBackItsWholeRecordsAndNeverStopsTheStart)
{
    const std::string today = DayKey();
    const std::string first = "first version", second = "second version, longer than the first";
    core::Bytes journal = core::JournalHeader();
    const core::Bytes record1 = core::JournalRecord({today, first});
    const core::Bytes record2 = core::JournalRecord({today, second});
    journal.insert(journal.end(), record1.begin(), record1.end());
    const std::size_t firstEnd = journal.size();
    journal.insert(journal.end(), record2.begin(), record2.end());
    const struct {
        std::size_t cut;
        std::string expected;
    } cuts[] = {
        {5, "before"},                   // inside the header
        {firstEnd - 1, "before"},        // the first record's last byte missing
        {firstEnd + 6, first},           // inside the second record's frame
        {journal.size() - 10, first},    // inside its text
        {journal.size(), second},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut.cut << " of " << journal.size());
        gui::TempFolder folder;
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{today, "before"}})));
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(journalFile),
                                        std::string(journal.begin(), journal.begin() + static_cast<std::ptrdiff_t>(cut.cut))));
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(BoxText(program), cut.expected);
        EXPECT_EQ(ReadNotes(folder)[today], cut.expected);
        EXPECT_FALSE(gui::FileExists(folder.File(journalFile)));
    }
    {
        gui::TempFolder folder;
        const std::string garbage = "not a journal at all";
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{today, "before"}})));
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(journalFile), garbage));
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(BoxText(program), "before");
        int keptAside = 0;
        for (const auto& [name, content] : folder.Contents())
            keptAside += name.rfind(L"qor_nots.dat.journal.damaged-", 0) == 0 && content == garbage;
        EXPECT_EQ(keptAside, 1) << "a file that is no journal is kept aside, never deleted";
        // The run records its own changes in a new journal.
        Type(program, 'x');
        EXPECT_TRUE(gui::WaitUntil([&] { return gui::FileExists(folder.File(journalFile)); }));
    }

    {
        // Another program (a sync tool, a virus scanner) holding the journal where the run's
        // first record is to go only delays that record.
        gui::TempFolder folder;
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{today, "before"}})));
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        const HANDLE held = CreateFileW(folder.File(journalFile).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const HANDLE change = FindFirstChangeNotificationW(folder.Path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        ASSERT_NE(change, INVALID_HANDLE_VALUE);
        Type(program, 'x');
        // The file is held until the program has tried and failed: its temporary file beside
        // the journal came, could not take the held file's place, and went again.
        EXPECT_EQ(WaitForSingleObject(change, 5000), WAIT_OBJECT_0) << "the program never tried";
        FindCloseChangeNotification(change);
        EXPECT_TRUE(gui::WaitUntil([&] { return !HoldsSaveTemporary(folder); }));
        CloseHandle(held);
        EXPECT_TRUE(gui::WaitUntil([&] {
            const std::string bytes = gui::ReadFileBytes(folder.File(journalFile));
            const core::JournalContents contents =
                core::ReadJournal(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            return !contents.records.empty() && contents.records.back().note.text == "xbefore";
        }));
    }

    // A large note pasted over a recorded one is appended to the journal a pause later: kills
    // spread around that moment find the recorded note or the new one, whole.
    const std::string large = [] {
        std::string text;
        for (int line = 0; text.size() < 25000; ++line)
            text += "line " + std::to_string(line) + " of a long note that takes a while to write\r\n";
        return text;
    }();
    std::map<std::string, int> outcomes;
    constexpr int kills = 10;
    for (int k = 0; k < kills; ++k) {
        const DWORD delay = 470 + static_cast<DWORD>(k) * 6;
        SCOPED_TRACE(testing::Message() << "killed " << delay << " ms after the paste");
        gui::TempFolder folder;
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{today, "before"}})));
        std::size_t recordedBytes = 0;
        {
            gui::Program program(folder);
            ASSERT_NE(program.Window(), nullptr);
            Type(program, 'x');
            ASSERT_TRUE(gui::WaitUntil([&] {
                recordedBytes = gui::ReadFileBytes(folder.File(journalFile)).size();
                return recordedBytes > 0;
            }));
            SendMessageW(NotesBox(program), EM_SETSEL, 0, -1);
            SendMessageA(NotesBox(program), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(large.c_str()));
            // The delay is the subject: the kill falls where it falls.
            Sleep(delay);
        }
        const std::string left = gui::ReadFileBytes(folder.File(journalFile));
        const core::JournalContents contents =
            core::ReadJournal(reinterpret_cast<const std::uint8_t*>(left.data()), left.size());
        EXPECT_EQ(contents.state, core::JournalContents::State::Records);
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        const std::string shown = BoxText(program);
        EXPECT_TRUE(shown == "xbefore" || shown == large) << "a note of " << shown.size() << " bytes";
        EXPECT_EQ(ReadNotes(folder)[today], shown);
        ++outcomes[contents.validBytes != left.size() ? "torn"
                   : left.size() > recordedBytes      ? "recovered"
                                                      : "not yet written"];
    }
    for (const auto& [outcome, count] : outcomes)
        std::printf("journal write: %s after %d of %d kills\n", outcome.c_str(), count, kills);
    EXPECT_GE(outcomes["recovered"], 1) << "the kills must reach past the write";
}

// A virus scanner or a sync tool holding the journal for a moment as the program starts only
// delays the start: the journal is read once it is free, and its notes come back.
TEST(Recovery, AJournalHeldForAMomentAtStartIsRecovered)
{
    const std::string today = DayKey();
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{today, "before"}})));
    core::Bytes journal = core::JournalHeader();
    const core::Bytes record = core::JournalRecord({today, "typed before a crash"});
    journal.insert(journal.end(), record.begin(), record.end());
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(journalFile), std::string(journal.begin(), journal.end())));
    const HANDLE held = CreateFileW(folder.File(journalFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::wstring program = folder.File(L"dayvane.exe");
    ASSERT_TRUE(CopyFileW(gui::Config().program.c_str(), program.c_str(), FALSE));
    gui::Program start(program, gui::Await::Nothing);
    // The program claims its folder just before it reads the notes and the journal.
    const std::wstring claimed = gui::RunningCopyName(folder.Path(), L"Local\\", L".Session");
    ASSERT_TRUE(gui::WaitUntil([&] {
        const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, claimed.c_str());
        return mutex && CloseHandle(mutex);
    }, 30000));
    // Held for a second, the journal keeps the start waiting: no window, and no end.
    EXPECT_FALSE(gui::WaitUntil(
        [&] { return !start.Running() || !gui::VisibleTopLevelWindows(start.ProcessId()).empty(); }, 1000));
    CloseHandle(held);
    std::vector<HWND> windows;
    ASSERT_TRUE(gui::WaitUntil([&] { return !(windows = gui::VisibleTopLevelWindows(start.ProcessId())).empty(); }, 30000));
    EXPECT_EQ(ReadNotes(folder)[today], "typed before a crash");
    EXPECT_FALSE(gui::FileExists(folder.File(journalFile)));
    PostMessageW(windows.front(), WM_COMMAND, ID_CLOSE, 0);
    EXPECT_TRUE(start.WaitForExit(5000));
}
