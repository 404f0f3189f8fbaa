// Importing an iCalendar file into the running window through the open dialog: the report,
// the bold days, the shown day's box, the journal's records, the dialog's remembered folder,
// and Escape giving it all up.
#include <gtest/gtest.h>

#include "ProbeWindow.h"
#include "core/DayKey.h"
#include "core/NotesJournal.h"
#include "resources/ResourceIds.h"

#include <dlgs.h>

namespace {

std::string AllDay(const SYSTEMTIME& month, int day, const char* summary)
{
    char start[16];
    std::snprintf(start, sizeof start, "%04d%02d%02d", month.wYear, month.wMonth, day);
    return std::string("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:") + start + "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

// Opens the import, types `name` into the open dialog and picks "Open"; then waits for the
// report and gives back its texts, closing it.
std::wstring ImportAndReport(HWND window, const std::wstring& name)
{
    PostMessageW(window, WM_COMMAND, ID_NOTES_IMPORT, 0);
    const HWND dialog = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
    if (!dialog)
        return L"no open dialog";
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, name.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    gui::WaitUntil([&] {
        for (HWND open : gui::VisibleTopLevelWindows(GetCurrentProcessId()))
            if (open != window && gui::ChildTexts(open).find(L"mported") != std::wstring::npos)
                box = open;
        return box != nullptr;
    });
    if (!box)
        return L"no report";
    const std::wstring texts = gui::ChildTexts(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    gui::WaitUntil([&] { return !IsWindow(box); });
    return texts;
}

// The changes the journal holds, in the order it got them.
std::vector<core::DayNote> JournalNotes()
{
    const std::string bytes = gui::ReadFileBytes(DataFilePath("qor_nots.dat.journal"));
    std::vector<core::DayNote> notes;
    for (const core::JournalEntry& entry :
         core::ReadJournal(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).records)
        if (entry.kind == core::JournalKind::Change)
            notes.push_back(entry.note);
    return notes;
}

}  // namespace

TEST(Import, TheCommandAddsTheEventsAsTypedNotesAndASecondImportFromTheSameFolderChangesNothing)
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    // Two days of this month besides today, so that all three show in the calendar's month.
    const int first = today.wDay == 3 ? 4 : 3, second = today.wDay == 20 ? 21 : 20;
    gui::TempFolder calendars;
    ASSERT_TRUE(gui::WriteFileBytes(calendars.File(L"holidays.ics"),
                                    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + AllDay(today, today.wDay, "Holiday today") +
                                        AllDay(today, first, "Fair\\, first day") + AllDay(today, second, "Concert") +
                                        "END:VCALENDAR\r\n"));
    const std::string todayKey = core::DayKeyFromDate(today.wYear, today.wMonth, today.wDay);
    // The changed days in date order, as the journal gets them.
    std::map<int, core::DayNote> byDay = {
        {first, {core::DayKeyFromDate(today.wYear, today.wMonth, first), "Fair, first day"}},
        {second, {core::DayKeyFromDate(today.wYear, today.wMonth, second), "Concert"}},
        {today.wDay, {todayKey, "typed today\r\nHoliday today"}}};
    std::vector<core::DayNote> expected;
    for (const auto& [day, note] : byDay)
        expected.push_back(note);
    std::wstring report, again, box;
    std::vector<MONTHDAYSTATE> states;
    std::vector<core::DayNote> journal;
    std::map<std::wstring, std::string> files;

    ProbeWindow probe;
    const core::CalendarSettings settings = gui::DefaultSettings();
    RunWindow(probe, [&](HWND window) {
        SetDlgItemTextW(window, IDC_NOTES, L"typed today");
        report = ImportAndReport(window, calendars.File(L"holidays.ics"));
        // Journal records come in store order: each day's latest.
        gui::WaitUntil([&] {
            journal = JournalNotes();
            return journal.size() >= expected.size() &&
                   std::equal(expected.begin(), expected.end(), journal.end() - expected.size());
        });
        ProbeWindow::OnWindowThread(window, [&] { states = probe.dayStates; });
        wchar_t text[256] = L"";
        GetDlgItemTextW(window, IDC_NOTES, text, 256);
        box = text;
        // The dialog opens where the last import was: the bare name is found there.
        again = ImportAndReport(window, L"holidays.ics");
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, &settings, nullptr, &files);

    EXPECT_NE(report.find(L"Imported 3 events into 3 days."), std::wstring::npos) << report.c_str();
    EXPECT_NE(again.find(L"Nothing new was imported. 3 were already there."), std::wstring::npos) << again.c_str();
    std::string records;
    for (const core::DayNote& note : journal)
        records += note.key + " " + note.text + "|";
    ASSERT_GE(journal.size(), expected.size()) << records;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), journal.end() - expected.size())) << records;
    EXPECT_EQ(box, L"typed today\r\nHoliday today");
    ASSERT_GE(states.size(), 2u);
    for (const int day : {first, second, static_cast<int>(today.wDay)})
        EXPECT_NE(states[1] & (1u << (day - 1)), 0u) << day;
    // Escape gives the import up with the typing: no notes file and no journal are left.
    EXPECT_EQ(files.count(L"qor_nots.dat"), 0u);
    EXPECT_EQ(files.count(L"qor_nots.dat.journal"), 0u);
}
