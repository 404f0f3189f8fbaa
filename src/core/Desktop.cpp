// Desktop geometry: the containment rule and centring.
#include "core/Desktop.h"

namespace core {

bool Contains(const Rect& area, Point p)
{
    return p.x >= area.left && p.x < area.right && p.y >= area.top && p.y < area.bottom;
}

Point CenteredOrigin(const Rect& area, const Rect& window)
{
    return {(area.left + area.right) / 2 - window.Width() / 2,
            (area.top + area.bottom) / 2 - window.Height() / 2};
}

}  // namespace core
