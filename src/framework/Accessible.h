// What assistive technology hears of a window: the system describes every window itself,
// from its class and text; a part whose text says nothing (a drawn button, an edit box whose
// text is the note) gets its own name, and where the system's role is too plain, its own role
// and default action.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

struct AccessibleFacts {
    // Asked each time a client asks, so that it is never stale.
    std::function<std::wstring()> name;
    // A ROLE_SYSTEM_ value; 0 keeps the system's.
    long role = 0;
    // The default action's name and what it does; none keeps the system's.
    std::wstring defaultAction;
    std::function<void()> doDefaultAction;
};

// From here on `window` answers WM_GETOBJECT for its client area with the system's own
// object, told by `facts`, until the window is destroyed. Objects that clients still hold
// then answer that they are no longer there.
void DescribeToAssistiveTechnology(HWND window, AccessibleFacts facts);

// Tells the clients listening that the name of `window` changed.
void TellNameChanged(HWND window);

}  // namespace fw
