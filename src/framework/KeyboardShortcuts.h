// Keys that give a window's commands whatever control in it has the focus. A dialog's modal
// loop translates no accelerators, so each of the window's controls turns a key of the table
// into the WM_COMMAND an accelerator gives (notification code 1), posted to the window, where
// it takes the window's own message path. The keys are watched in the windows they
// reach, not in the thread's queue: a hook there would cost a call to Wine's server for each
// of the clock's hundred timer messages a second.
#pragma once

#include <windows.h>

#include <vector>

namespace fw {

class KeyboardShortcuts {
public:
    KeyboardShortcuts() = default;
    KeyboardShortcuts(const KeyboardShortcuts&) = delete;
    KeyboardShortcuts& operator=(const KeyboardShortcuts&) = delete;

    // The keys of accelerator table `tableId` of `module` give their commands to `window`
    // from now on, pressed in any of its controls; false without the table.
    bool Install(HWND window, HMODULE module, UINT tableId);

private:
    // The command of a key press (WM_KEYDOWN or WM_SYSKEYDOWN of `key`) with the modifier
    // keys now down; 0 for none.
    WORD CommandOf(UINT message, WPARAM key) const;
    static LRESULT CALLBACK Translate(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR shortcuts);

    HWND target = nullptr;
    std::vector<ACCEL> keys;
};

}  // namespace fw
