// Keys that give a window's commands whatever control in it has the focus. A dialog's modal
// loop translates no accelerators, so a hook on the thread's messages turns each key of the
// table into the WM_COMMAND an accelerator gives (notification code 1), on the window's own
// message path.
#pragma once

#include <windows.h>

#include <vector>

namespace fw {

class KeyboardShortcuts {
public:
    KeyboardShortcuts() = default;
    KeyboardShortcuts(const KeyboardShortcuts&) = delete;
    KeyboardShortcuts& operator=(const KeyboardShortcuts&) = delete;
    ~KeyboardShortcuts() { Remove(); }

    // The keys of accelerator table `tableId` of `module` give their commands to `window` and
    // its controls from now on; false when the table or the hook is missing. One window of a
    // thread at a time.
    bool Install(HWND window, HMODULE module, UINT tableId);
    void Remove();
    // While false, as while a menu of the window is open, keys go where they would without
    // the table.
    void Enable(bool on) { enabled = on; }

    // The command of a key press in `message` with the modifier keys now down; 0 for none.
    WORD CommandOf(const MSG& message) const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM removal, LPARAM message);

    HWND target = nullptr;
    HHOOK hook = nullptr;
    std::vector<ACCEL> keys;
    bool enabled = true;
};

}  // namespace fw
