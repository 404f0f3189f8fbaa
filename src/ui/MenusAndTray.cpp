// The program's menu, its notification-area icon and the About box.
#include "window/CalendarWindow.h"

// The menu, the tray icon and the About box do not exist yet; these are their entry points.
void CalendarWindow::BuildMenus() {}

void CalendarWindow::TrackMainMenu(POINT) {}

void CalendarWindow::AddTrayIcon(bool) {}

void CalendarWindow::RemoveTrayIcon() {}

void CalendarWindow::ShowAboutBox() {}
