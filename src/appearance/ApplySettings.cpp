// Bringing the whole window into line with the settings record at start.
#include "window/CalendarWindow.h"

void CalendarWindow::ApplySettings(core::CalendarSettings& record)
{
    PlaceWindow(record);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
