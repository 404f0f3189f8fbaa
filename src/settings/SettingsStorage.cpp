// The settings record at start and at close.
#include "window/CalendarWindow.h"
#include "window/Desktop.h"

// The settings file is not read yet: every start takes the defaults.
bool CalendarWindow::LoadSettings(core::CalendarSettings&)
{
    return false;
}

void CalendarWindow::SetDefaultSettings(core::CalendarSettings& record)
{
    const int ellipse = record.cornerEllipse;
    record = core::CalendarSettings{};
    record.cornerEllipse = ellipse;
    measuredRect = WindowRect();
    const POINT origin = DesktopCenteredOrigin(measuredRect);
    record.windowLeft = origin.x;
    record.windowTop = origin.y;
    firstRun = true;
}

// Stores the position to keep; the settings file is not written yet, so this reports false.
bool CalendarWindow::SaveSettings(core::CalendarSettings& record)
{
    StorePosition(record);
    return false;
}
