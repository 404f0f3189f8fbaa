// Moving the frameless window by its own surface, and keeping its position on the desktop.
#include "resources/ResourceIds.h"
#include "window/CalendarWindow.h"
#include "window/Desktop.h"

// At start: the stored corner if it is on a monitor, otherwise centred; the record keeps
// the corrected position.
void CalendarWindow::PlaceWindow(core::CalendarSettings& record)
{
    measuredRect = WindowRect();
    if (!IsOnDesktop(record.windowLeft, record.windowTop)) {
        const POINT origin = DesktopCenteredOrigin(measuredRect);
        record.windowLeft = origin.x;
        record.windowTop = origin.y;
    }
    MoveWindow(handle, record.windowLeft, record.windowTop, measuredRect.right - measuredRect.left,
               measuredRect.bottom - measuredRect.top, TRUE);
}

// At close: the window's corner if it is on a monitor, otherwise the centred position.
void CalendarWindow::StorePosition(core::CalendarSettings& record)
{
    measuredRect = WindowRect();
    POINT corner{measuredRect.left, measuredRect.top};
    if (!IsOnDesktop(corner.x, corner.y))
        corner = DesktopCenteredOrigin(measuredRect);
    record.windowLeft = corner.x;
    record.windowTop = corner.y;
}

fw::Handling CalendarWindow::OnLButtonDown(UINT, POINT point)
{
    if (PtInRect(&menuButtonRect, point)) {
        POINT below{0, menuButtonRect.bottom};
        ClientToScreen(handle, &below);
        TrackMainMenu(below);
        return fw::Handling::Done;
    }
    dragOffset = point;
    dragging = true;
    SetCapture(handle);
    return fw::Handling::Default;
}

// The cursor's own position is used, not the message's, so the grab point stays under
// the cursor even when moves arrive late.
fw::Handling CalendarWindow::OnMouseMove(UINT, POINT)
{
    if (dragging) {
        POINT cursor{};
        GetCursorPos(&cursor);
        MoveWindow(handle, cursor.x - dragOffset.x, cursor.y - dragOffset.y, measuredRect.right - measuredRect.left,
                   measuredRect.bottom - measuredRect.top, TRUE);
    }
    return fw::Handling::Default;
}

fw::Handling CalendarWindow::OnLButtonUp(UINT, POINT)
{
    dragging = false;
    ReleaseCapture();
    return fw::Handling::Default;
}

// Losing the capture without a release (another window took it, a menu opened) ends the
// drag too, so the window never follows a cursor whose button is up.
fw::Handling CalendarWindow::OnCaptureChanged(HWND newCapture)
{
    if (newCapture != handle)
        dragging = false;
    return fw::Handling::Default;
}

fw::Handling CalendarWindow::OnLButtonDblClk(UINT, POINT point)
{
    if (PtInRect(&titleStripRect, point))
        SendMessageW(handle, WM_COMMAND, MAKEWPARAM(ID_LAYOUT_TOGGLE, 0), 0);
    return fw::Handling::Default;
}
