// A notes file rewritten by another program while the window runs (a sync tool, a copy from
// another computer) is merged into the notes day by day, and the note being typed stays.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Harness.h"
#include "SettingsFiles.h"
#include "core/DayKey.h"
#include "core/NoteStore.h"
#include "core/NotesMerge.h"
#include "resources/ResourceIds.h"

namespace {

const wchar_t* const notesFile = L"qor_nots.dat";
// A merged day is bold within this long of the rewrite.
constexpr DWORD mergedWithinMs = 2000;

struct Days {
    SYSTEMTIME today, added, deleted, kept;
    std::string Key(const SYSTEMTIME& day) const { return core::DayKeyFromDate(day.wYear, day.wMonth, day.wDay); }
};

// Today and three other days of this month, none of them today.
Days ThisMonth()
{
    Days days{};
    GetLocalTime(&days.today);
    days.added = days.deleted = days.kept = days.today;
    const WORD first = days.today.wDay <= 14 ? 16 : 2;
    days.added.wDay = first;
    days.deleted.wDay = static_cast<WORD>(first + 4);
    days.kept.wDay = static_cast<WORD>(first + 8);
    return days;
}

// Replaces the notes file the way a sync tool does: a new file renamed over the old one.
bool RewriteElsewhere(const gui::TempFolder& folder, const std::string& bytes)
{
    const std::wstring temporary = folder.File(L"sync-tool.tmp");
    return gui::WriteFileBytes(temporary, bytes) &&
           MoveFileExW(temporary.c_str(), folder.File(notesFile).c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::map<std::string, std::string> SavedNotes(const gui::TempFolder& folder)
{
    return gui::DecodeNotes(gui::ReadFileBytes(folder.File(notesFile)));
}

std::wstring BoxText(const gui::Program& program)
{
    wchar_t text[4096] = L"";
    GetDlgItemTextW(program.Window(), IDC_NOTES, text, 4096);
    return text;
}

// The ink of a day's number in the calendar: a bold day has more of it than a plain one.
class DayInk {
public:
    DayInk(const gui::Program& program, const SYSTEMTIME& day)
    {
        area = gui::DayCellRect(program, IDC_CALENDAR, day);
        MapWindowPoints(GetDlgItem(program.Window(), IDC_CALENDAR), nullptr, reinterpret_cast<POINT*>(&area), 2);
        plain = gui::DarkPixels(area);
    }
    bool Found() const { return !IsRectEmpty(&area) && plain > 0; }
    bool Bolder() const { return gui::DarkPixels(area) > plain; }
    bool Plainer() const { return gui::DarkPixels(area) < plain; }

private:
    RECT area{};
    int plain = 0;
};

}  // namespace

// The file is rewritten with a day added, a day deleted and today changed while today's note is
// being typed: the bold days follow at once, the box keeps what is typed, and the close writes
// every day merged, today with both texts.
TEST(Merging, ARewriteElsewhereIsMergedDayByDayAndTheTypedNoteStays)
{
    const Days days = ThisMonth();
    const std::string today = days.Key(days.today);
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile),
                                    gui::EncodeNotes({{today, "as read"}, {days.Key(days.deleted), "deleted elsewhere"},
                                                {days.Key(days.kept), "the same everywhere"}})));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(gui::DefaultSettings())));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(gui::BringToFront(program.Window()));
    const DayInk added(program, days.added), deleted(program, days.deleted);
    ASSERT_TRUE(added.Found() && deleted.Found()) << "the calendar does not show this month's days";

    const HWND box = GetDlgItem(program.Window(), IDC_NOTES);
    SendMessageW(box, EM_SETSEL, 7, 7);
    for (const wchar_t character : std::wstring(L", typed here"))
        SendMessageW(box, WM_CHAR, character, 1);
    ASSERT_TRUE(RewriteElsewhere(folder, gui::EncodeNotes({{days.Key(days.kept), "the same everywhere"},
                                                     {today, "changed elsewhere"},
                                                     {days.Key(days.added), "added elsewhere"}})));
    EXPECT_TRUE(gui::WaitUntil([&] { return added.Bolder(); }, mergedWithinMs)) << "the added day is not bold";
    EXPECT_TRUE(gui::WaitUntil([&] { return deleted.Plainer(); }, mergedWithinMs)) << "the deleted day is still bold";
    EXPECT_EQ(BoxText(program), L"as read, typed here");

    PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    const std::map<std::string, std::string> expected = {
        {today, std::string("as read, typed here\r\n") + core::CHANGED_ELSEWHERE_LINE + "\r\nchanged elsewhere"},
        {days.Key(days.added), "added elsewhere"},
        {days.Key(days.kept), "the same everywhere"},
    };
    EXPECT_EQ(SavedNotes(folder), expected);
}

// A file caught half written is no notes file yet: nothing of it is taken until it is whole.
TEST(Merging, AHalfWrittenFileIsMergedOnlyOnceItIsWhole)
{
    const Days days = ThisMonth();
    // Long enough that the file's first half holds the added day whole.
    const std::string today = "today, with a note long enough that half the file holds the other day";
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), gui::EncodeNotes({{days.Key(days.today), today}})));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(gui::BringToFront(program.Window()));
    const DayInk added(program, days.added);
    ASSERT_TRUE(added.Found());

    const std::string whole = gui::EncodeNotes({{days.Key(days.added), "added elsewhere"}, {days.Key(days.today), today}});
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), whole.substr(0, whole.size() / 2)));
    // Nothing is to happen: the wait is as long as a merge may take, and must run out.
    EXPECT_FALSE(gui::WaitUntil([&] { return added.Bolder(); }, mergedWithinMs)) << "a torn file was merged";
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(notesFile), whole));
    EXPECT_TRUE(gui::WaitUntil([&] { return added.Bolder(); }, mergedWithinMs)) << "the whole file was not merged";
    EXPECT_EQ(BoxText(program), std::wstring(today.begin(), today.end()));

    PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    const std::map<std::string, std::string> expected = {{days.Key(days.today), today},
                                                         {days.Key(days.added), "added elsewhere"}};
    EXPECT_EQ(SavedNotes(folder), expected);
}
