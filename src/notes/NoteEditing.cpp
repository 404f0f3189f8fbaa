// The notes of the calendar window: loading, the shown day's note, bold days and saving.
#include "window/CalendarWindow.h"

// Notes are not kept on disk yet: every start begins without notes.
bool CalendarWindow::LoadNotes()
{
    return false;
}

void CalendarWindow::AddFirstRunNote() {}

bool CalendarWindow::SaveNotes()
{
    return false;
}

void CalendarWindow::CommitShownNote() {}

void CalendarWindow::RefreshNoteDays() {}

LRESULT CalendarWindow::OnCalendarSelChange(const NMHDR&)
{
    return 0;
}
