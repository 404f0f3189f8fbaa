// The accelerator table of a window, translated on the way out of the thread's message queue.
#include "framework/KeyboardShortcuts.h"

namespace fw {

namespace {

// The table whose hook runs: the program's one window's.
KeyboardShortcuts* installed = nullptr;

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

}  // namespace

bool KeyboardShortcuts::Install(HWND window, HMODULE module, UINT tableId)
{
    Remove();
    const HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(tableId));
    if (!table)
        return false;
    keys.resize(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
    hook = SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
    if (!hook)
        return false;
    target = window;
    installed = this;
    return true;
}

void KeyboardShortcuts::Remove()
{
    if (hook)
        UnhookWindowsHookEx(hook);
    hook = nullptr;
    target = nullptr;
    if (installed == this)
        installed = nullptr;
}

WORD KeyboardShortcuts::CommandOf(const MSG& message) const
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return 0;
    const BYTE modifiers = ModifiersDown();
    for (const ACCEL& key : keys)
        if ((key.fVirt & FVIRTKEY) && key.key == message.wParam &&
            (key.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers)
            return key.cmd;
    return 0;
}

// Only messages leaving the queue count, and only those of the window and its controls while
// it takes input: an open dialog of its own has the keys to itself.
LRESULT CALLBACK KeyboardShortcuts::Hook(int code, WPARAM removal, LPARAM message)
{
    KeyboardShortcuts* self = installed;
    auto& msg = *reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && self && self->enabled &&
        (msg.hwnd == self->target || IsChild(self->target, msg.hwnd)) && IsWindowEnabled(self->target))
        if (const WORD command = self->CommandOf(msg)) {
            msg.hwnd = self->target;
            msg.message = WM_COMMAND;
            msg.wParam = MAKEWPARAM(command, 1);
            msg.lParam = 0;
        }
    return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace fw
