// Bringing the whole window into line with the settings record at start.
#include "window/CalendarWindow.h"

void CalendarWindow::ApplySettings(core::CalendarSettings& record)
{
    PlaceWindow(record);
    notesEdit.SetText(dayNotes.Lookup(SelectedDayKey()));
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
