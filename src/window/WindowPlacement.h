// Where the window stands: its placement at start, the position stored at close, and moving
// it by dragging its own surface.
#pragma once

#include <windows.h>

#include "core/CalendarSettings.h"
#include "framework/MessageMap.h"

class WindowPlacement : public fw::MessageTarget<WindowPlacement> {
public:
    void Attach(HWND placedWindow) { window = placedWindow; }

    // At start: the stored corner if it is on a monitor, otherwise centred; the record keeps
    // the corrected position.
    void PlaceWindow(core::CalendarSettings& record);
    // At close: the window's corner if it is on a monitor, otherwise the centred position.
    void StorePosition(core::CalendarSettings& record) const;
    // The position that centres the window as it stands now.
    POINT CentredOrigin() const;
    // Makes the window `growth` larger; a window that stood centred stays centred.
    void Grow(SIZE growth);
    // Takes the window's size, which a drag keeps.
    void Measure();

    // A left press at `grab` on the window's own surface starts a drag.
    fw::Result OnLButtonDown(UINT keyFlags, POINT grab);
    fw::Result OnMouseMove(UINT keyFlags, POINT point);
    fw::Result OnLButtonUp(UINT keyFlags, POINT point);
    fw::Result OnCaptureChanged(HWND newCapture);

private:
    friend fw::MessageTarget<WindowPlacement>;
    static const fw::MessageTable<WindowPlacement> messageTable;
    RECT WindowRect() const;

    HWND window = nullptr;
    // The window's size, from (0, 0).
    RECT measuredRect{};
    POINT dragOffset{};
    bool dragging = false;
};
