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

struct Description;

// The facts of a window that answers WM_GETOBJECT in its own message table: a subclass would
// cost every one of its messages a look-up of the subclass, which under Wine is a call to
// the server. Objects that clients still hold once it is gone answer that they are no longer
// there.
class AccessibleWindow {
public:
    explicit AccessibleWindow(AccessibleFacts facts);
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;
    ~AccessibleWindow();

    // WM_GETOBJECT's answer for `window`: its client area's object, or 0 to leave the
    // question to the system.
    LRESULT Answer(HWND window, WPARAM flags, LPARAM objectId) const;

private:
    Description* description;
};

// From here on the control `window` answers WM_GETOBJECT for its client area with the
// system's own object, told by `facts`, until the control is destroyed.
void DescribeToAssistiveTechnology(HWND window, AccessibleFacts facts);

// Tells the clients listening that the name of `window` changed.
void TellNameChanged(HWND window);

}  // namespace fw
