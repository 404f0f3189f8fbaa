// The accelerator table of a window, translated in the window and its controls.
#include "framework/KeyboardShortcuts.h"

#include "framework/SystemLibraries.h"

namespace fw {

namespace {

BYTE ModifiersDown()
{
    BYTE down = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        down |= FSHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        down |= FCONTROL;
    if (GetKeyState(VK_MENU) < 0)
        down |= FALT;
    return down;
}

constexpr UINT_PTR SUBCLASS_ID = 0x4B;

}  // namespace

bool KeyboardShortcuts::Install(HWND window, HMODULE module, UINT tableId)
{
    const HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(tableId));
    if (!table)
        return false;
    keys.resize(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    target = window;
    // The window itself never holds the focus while it has a control that takes it, and a
    // subclass would cost each of its messages a look-up (under Wine a call to the server).
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        fw::SetWindowSubclass(control, Translate, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

WORD KeyboardShortcuts::CommandOf(UINT message, WPARAM key) const
{
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return 0;
    const BYTE modifiers = ModifiersDown();
    for (const ACCEL& entry : keys)
        if ((entry.fVirt & FVIRTKEY) && entry.key == key && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers)
            return entry.cmd;
    return 0;
}

// Posted, so that a command that runs a loop of its own (the menu, a dialog) never runs inside
// the key's message.
LRESULT CALLBACK KeyboardShortcuts::Translate(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR shortcuts)
{
    const auto& self = *reinterpret_cast<const KeyboardShortcuts*>(shortcuts);
    if (const WORD command = self.CommandOf(message, wParam)) {
        PostMessageW(self.target, WM_COMMAND, MAKEWPARAM(command, 1), 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        fw::RemoveWindowSubclass(window, Translate, id);
    return fw::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace fw
