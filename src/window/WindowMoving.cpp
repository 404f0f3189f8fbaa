// Moving the frameless window by its own surface, and keeping its position on the desktop.
#include "window/CalendarWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "resources/ResourceIds.h"
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

// At close: the window's corner if it is on a monitor, otherwise the centred position. The
// window may stay open after a failed save, so its painting rectangle is left alone.
void CalendarWindow::StorePosition(core::CalendarSettings& record)
{
    const RECT window = WindowRect();
    POINT corner{window.left, window.top};
    if (!IsOnDesktop(corner.x, corner.y))
        corner = DesktopCenteredOrigin(window);
    record.windowLeft = corner.x;
    record.windowTop = corner.y;
}

// Some month calendars (Wine's among them) need more room with their font than the template
// gives them. The calendar then gets it, and the window grows by as much, the notes box moving
// down and widening with it, so that nothing is cut. A window that stood centred stays centred
// at its new size. Where the calendar fits, nothing changes.
void CalendarWindow::FitCalendar()
{
    RECT needed{};
    if (!calendarCtrl.Send(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return;
    RECT calendar = calendarCtrl.RectInParent();
    const LONG wider = std::max(0L, (needed.right - needed.left) - (calendar.right - calendar.left));
    const LONG taller = std::max(0L, (needed.bottom - needed.top) - (calendar.bottom - calendar.top));
    if (wider == 0 && taller == 0)
        return;
    calendar.right += wider;
    calendar.bottom += taller;
    calendarCtrl.Move(calendar, true);
    RECT notes = notesEdit.RectInParent();
    OffsetRect(&notes, 0, taller);
    notes.right += wider;
    notesEdit.Move(notes, true);

    const RECT window = WindowRect();
    const RECT grown{window.left, window.top, window.right + wider, window.bottom + taller};
    const POINT centred = DesktopCenteredOrigin(window);
    const POINT corner = window.left == centred.x && window.top == centred.y ? DesktopCenteredOrigin(grown)
                                                                            : POINT{window.left, window.top};
    MoveWindow(handle, corner.x, corner.y, grown.right - grown.left, grown.bottom - grown.top, TRUE);
    measuredRect = ClientRect();
    titleStripRect.right = measuredRect.right;
    ApplyWindowShape(settings.shape);
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
