// Where the window may stand: the monitors and the desktop's centre.
#pragma once

#include <windows.h>

// True when the screen point lies on any connected monitor.
bool IsOnDesktop(int x, int y);

// The top-left corner that centres a window of `rect`'s size on the desktop window,
// which covers the primary monitor.
POINT DesktopCenteredOrigin(const RECT& rect);
