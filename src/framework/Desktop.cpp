// Where the window may stand: the monitors and the desktop's centre.
#include "framework/Desktop.h"

#include "core/Desktop.h"

namespace {

core::Rect ToCore(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// Any monitor counts, so a window left on a second monitor reopens there.
bool IsOnDesktop(int x, int y)
{
    return MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) != nullptr;
}

POINT DesktopCenteredOrigin(const RECT& rect)
{
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const core::Point origin = core::CenteredOrigin(ToCore(desktop), ToCore(rect));
    return {origin.x, origin.y};
}
