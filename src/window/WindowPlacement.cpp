// Placing the frameless window, storing its position and moving it by its own surface.
#include "window/WindowPlacement.h"

#include "framework/Desktop.h"

RECT WindowPlacement::WindowRect() const
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

const fw::MessageTable<WindowPlacement> WindowPlacement::messageTable = {
    fw::On<WM_LBUTTONDOWN, &WindowPlacement::OnLButtonDown>(),
    fw::On<WM_MOUSEMOVE, &WindowPlacement::OnMouseMove>(),
    fw::On<WM_LBUTTONUP, &WindowPlacement::OnLButtonUp>(),
    fw::On<WM_CAPTURECHANGED, &WindowPlacement::OnCaptureChanged>(),
};

void WindowPlacement::PlaceWindow(core::CalendarSettings& record)
{
    const RECT rect = WindowRect();
    if (!IsOnDesktop(record.windowLeft, record.windowTop)) {
        const POINT origin = DesktopCenteredOrigin(rect);
        record.windowLeft = origin.x;
        record.windowTop = origin.y;
    }
    MoveWindow(window, record.windowLeft, record.windowTop, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void WindowPlacement::StorePosition(core::CalendarSettings& record) const
{
    const RECT rect = WindowRect();
    POINT corner{rect.left, rect.top};
    if (!IsOnDesktop(corner.x, corner.y))
        corner = DesktopCenteredOrigin(rect);
    record.windowLeft = corner.x;
    record.windowTop = corner.y;
}

POINT WindowPlacement::CentredOrigin() const
{
    return DesktopCenteredOrigin(WindowRect());
}

void WindowPlacement::Grow(SIZE growth)
{
    const RECT rect = WindowRect();
    const RECT grown{rect.left, rect.top, rect.right + growth.cx, rect.bottom + growth.cy};
    const POINT centred = DesktopCenteredOrigin(rect);
    const POINT corner = rect.left == centred.x && rect.top == centred.y ? DesktopCenteredOrigin(grown)
                                                                        : POINT{rect.left, rect.top};
    MoveWindow(window, corner.x, corner.y, grown.right - grown.left, grown.bottom - grown.top, TRUE);
    Measure();
}

void WindowPlacement::Measure()
{
    GetClientRect(window, &measuredRect);
}

fw::Result WindowPlacement::OnLButtonDown(UINT, POINT grab)
{
    dragOffset = grab;
    dragging = true;
    SetCapture(window);
    return fw::Default;
}

// The cursor's own position is used, not the message's, so the grab point stays under
// the cursor even when moves arrive late.
fw::Result WindowPlacement::OnMouseMove(UINT, POINT)
{
    if (dragging) {
        POINT cursor{};
        GetCursorPos(&cursor);
        MoveWindow(window, cursor.x - dragOffset.x, cursor.y - dragOffset.y, measuredRect.right, measuredRect.bottom,
                   TRUE);
    }
    return fw::Default;
}

fw::Result WindowPlacement::OnLButtonUp(UINT, POINT)
{
    dragging = false;
    ReleaseCapture();
    return fw::Default;
}

// Losing the capture without a release (another window took it, a menu opened) ends the
// drag too, so the window never follows a cursor whose button is up.
fw::Result WindowPlacement::OnCaptureChanged(HWND newCapture)
{
    if (newCapture != window)
        dragging = false;
    return fw::Default;
}
