// The notes of the calendar window: loading, the shown day's note, bold days and saving.
#include "window/CalendarWindow.h"

#include <commctrl.h>

#include <vector>

#include "core/DayKey.h"
#include "core/FormatMoment.h"
#include "framework/AnsiCodePage.h"
#include "framework/Files.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "settings/DataFilePath.h"

bool CalendarWindow::LoadNotes()
{
    const std::wstring path = DataFilePath(NOTES_FILE_NAME);
    fw::DiskFile file(path);
    if (dayNotes.Load(file, fw::SystemCodePage()))
        return true;
    notesFileUnread = fw::FileExists(path);
    return false;
}

void CalendarWindow::AddFirstRunNote()
{
    dayNotes.AddFirstRunNote(fw::TimeSource());
}

bool CalendarWindow::SaveNotes()
{
    const std::wstring path = DataFilePath(NOTES_FILE_NAME);
    if (notesFileUnread && !KeepUnreadNotesFile(path))
        return false;
    fw::DiskFile file(path);
    if (dayNotes.Save(file, fw::SystemCodePage()))
        return true;
    // A save that failed before the file said anything ran out of memory making the bytes.
    saveFailures.push_back({path, file.LastError() != ERROR_SUCCESS ? file.LastError() : ERROR_NOT_ENOUGH_MEMORY});
    return false;
}

// Copies a notes file that could not be read at start to "<name>.damaged-YYYYMMDD-HHMMSS"
// beside it, so that nothing the user wrote is lost when the first save replaces it. False,
// with the reason recorded, when no copy could be made: the file must then stay as it is.
bool CalendarWindow::KeepUnreadNotesFile(const std::wstring& path)
{
    if (!fw::FileExists(path)) {
        notesFileUnread = false;
        return true;
    }
    const std::wstring stamp = fw::Widen(core::FormatMoment(fw::TimeSource(), fw::TimeSource().Now(), "%Y%m%d-%H%M%S"));
    const std::wstring base = path + L".damaged-" + stamp;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 1; attempt < 100 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS); ++attempt)
        error = fw::CopyToNewFile(path, attempt == 1 ? base : base + L"-" + std::to_wstring(attempt));
    if (error != ERROR_SUCCESS) {
        saveFailures.push_back({path, error});
        return false;
    }
    notesFileUnread = false;
    return true;
}

void CalendarWindow::CommitShownNote()
{
    dayNotes.SetNote({shownDayKey, notesEdit.Text()});
    RefreshNoteDays();
}

// The key of the day selected in the month calendar, made from the date itself so that
// every date the control offers has a key of its own.
std::string CalendarWindow::SelectedDayKey()
{
    SYSTEMTIME selected{};
    if (!calendarCtrl.Send(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected)))
        return core::MakeDayKey(fw::TimeSource(), 0);
    return core::DayKeyFromDate(selected.wYear, selected.wMonth, selected.wDay);
}

// The bold days of the selected day's month. The control counts the partly shown months
// around the whole one; the whole one, the selected month, is always entry 1, and the
// neighbours' entries stay empty so that their days are never bold.
void CalendarWindow::RefreshNoteDays()
{
    SYSTEMTIME range[2]{};
    const LRESULT months = calendarCtrl.Send(MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range));
    if (months <= 0)
        return;
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(months), 0);
    const std::string key = SelectedDayKey();
    if (months >= 2)
        states[1] = core::NoteDaysOfMonth(dayNotes, key.substr(key.size() - 4));
    calendarCtrl.Send(MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
}

// The control has already moved its selection: the box's text goes to the day it showed,
// then the box shows the newly selected day.
LRESULT CalendarWindow::OnCalendarSelChange(const NMHDR&)
{
    CommitShownNote();
    const std::string selected = SelectedDayKey();
    notesEdit.SetText(dayNotes.Lookup(selected));
    shownDayKey = selected;
    return 0;
}
