// Static message tables: each entry binds a window message (or a range of commands) to a
// typed handler, on the window itself or on one of its parts.
//
//     const fw::MessageEntry<CalendarWindow> CalendarWindow::messageTable[] = {
//         fw::On<WM_TIMER, &CalendarWindow::OnTimer>(),
//         fw::On<WM_MOUSEMOVE, &CalendarWindow::placement, &WindowPlacement::OnMouseMove>(),
//         fw::OnNotify<IDC_CALENDAR, MCN_SELCHANGE, &CalendarWindow::notesPanel, &NotesPanel::OnCalendarSelChange>(),
//         fw::OnCommands<ID_COLOR_FIRST, ID_COLOR_COMMANDS_LAST, &CalendarWindow::OnColorCommand>(),
//     };
//
// A cracker per message turns WPARAM/LPARAM into the handler's arguments, so raw decoding
// stays in this file. Every handler answers a Result: Default lets the default processing
// follow, Done(value) ends the message with that value.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace fw {

struct Result {
    bool done;
    LRESULT value;
};
constexpr Result Default{false, 0};
constexpr Result Done(LRESULT value = 0)
{
    return {true, value};
}

template <class Window>
struct MessageEntry {
    UINT message;
    // WM_NOTIFY: the control; WM_COMMAND: the range of command identifiers.
    UINT_PTR first;
    UINT_PTR last;
    UINT code;  // WM_NOTIFY's code, or WM_COMMAND's notification code (0 for menu commands)
    // True when the message was handled and `result` holds its answer.
    bool (*dispatch)(Window& window, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A message registered at run time: its number is read from here when the table runs.
    const UINT* registered = nullptr;
};

// The class a member (function or object) belongs to.
template <class Member>
struct ClassOf;
template <class C, class M>
struct ClassOf<M C::*> {
    using type = C;
};

template <UINT Message>
struct Cracker;

// Result OnMouse(UINT keyFlags, POINT clientPoint)
struct MouseCracker {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    }
};

// Result OnMouseWheel(short delta)
template <>
struct Cracker<WM_MOUSEWHEEL> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM, Call call)
    {
        return call(static_cast<short>(GET_WHEEL_DELTA_WPARAM(wParam)));
    }
};

// Result OnMessage(Value value), the value being WPARAM's: OnTimer(UINT_PTR timerId),
// OnSysCommand(UINT command).
template <class Value>
struct WParamCracker {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM, Call call)
    {
        return call(static_cast<Value>(wParam));
    }
};

// Result OnMessage(): WM_PAINT, WM_QUERYDRAGICON, WM_MOUSELEAVE, a control's notification
// such as EN_CHANGE
struct PlainCracker {
    template <class Call>
    static Result Crack(WPARAM, LPARAM, Call call)
    {
        return call();
    }
};

// Result OnHelpInfo(const HELPINFO& info)
template <>
struct Cracker<WM_HELP> {
    template <class Call>
    static Result Crack(WPARAM, LPARAM lParam, Call call)
    {
        return call(*reinterpret_cast<const HELPINFO*>(lParam));
    }
};

// Result OnEndSession(bool ending)
template <>
struct Cracker<WM_ENDSESSION> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM, Call call)
    {
        return call(wParam != FALSE);
    }
};

// Result OnCaptureChanged(HWND newCapture)
template <>
struct Cracker<WM_CAPTURECHANGED> {
    template <class Call>
    static Result Crack(WPARAM, LPARAM lParam, Call call)
    {
        return call(reinterpret_cast<HWND>(lParam));
    }
};

// Result OnCtlColorStatic(HDC dc, HWND control): Done with the brush that paints the control.
template <>
struct Cracker<WM_CTLCOLORSTATIC> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    }
};

// Result OnSetCursor(HWND cursorWindow, UINT hitTest, UINT mouseMessage)
template <>
struct Cracker<WM_SETCURSOR> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    }
};

// Result OnNotification(NMHDR& header): the header starts the notification's own structure,
// which some notifications expect the handler to fill in.
struct NotifyCracker {
    template <class Call>
    static Result Crack(WPARAM, LPARAM lParam, Call call)
    {
        return call(*reinterpret_cast<NMHDR*>(lParam));
    }
};

// Result OnCommand(UINT id), for a range of menu commands.
struct CommandCracker {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM, Call call)
    {
        return call(static_cast<UINT>(LOWORD(wParam)));
    }
};

// Result OnMessage(WPARAM, LPARAM), for messages whose parameters only the handler knows
// (the program's own, or one registered at run time).
struct RawCracker {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(wParam, lParam);
    }
};

// The messages whose parameters one of the crackers above decodes: the mouse's
// (OnMouse), one value in WPARAM (OnTimer, OnSysCommand, OnKeyDown(UINT virtualKey)), none.
template <> struct Cracker<WM_MOUSEMOVE> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONDOWN> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONUP> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONDBLCLK> : MouseCracker {};
template <> struct Cracker<WM_RBUTTONDOWN> : MouseCracker {};
template <> struct Cracker<WM_TIMER> : WParamCracker<UINT_PTR> {};
template <> struct Cracker<WM_SYSCOMMAND> : WParamCracker<UINT> {};
template <> struct Cracker<WM_KEYDOWN> : WParamCracker<UINT> {};
template <> struct Cracker<WM_PAINT> : PlainCracker {};
template <> struct Cracker<WM_QUERYDRAGICON> : PlainCracker {};
template <> struct Cracker<WM_MOUSELEAVE> : PlainCracker {};

// The object a handler runs on: the window itself, or the part `Part` points to.
template <auto Part, class Window>
decltype(auto) TargetOf(Window& window)
{
    if constexpr (std::is_same_v<decltype(Part), std::nullptr_t>)
        return (window);
    else
        return (window.*Part);
}

template <class Crack, auto Part, auto Handler, class Window>
bool Dispatch(Window& window, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto& target = TargetOf<Part>(window);
    // Arguments are passed on as they are: a notification's header is the start of a larger
    // structure that a copy would cut off.
    const Result answer = Crack::Crack(wParam, lParam, [&](auto&&... arguments) {
        return (target.*Handler)(std::forward<decltype(arguments)>(arguments)...);
    });
    result = answer.value;
    return answer.done;
}

template <auto Member>
using WindowOf = typename ClassOf<decltype(Member)>::type;

// A message handled by the window's own `Handler`.
template <UINT Message, auto Handler>
constexpr MessageEntry<WindowOf<Handler>> On()
{
    return {Message, 0, 0, 0, &Dispatch<Cracker<Message>, nullptr, Handler, WindowOf<Handler>>};
}

// A message handled by `Handler` of the window's part `Part`.
template <UINT Message, auto Part, auto Handler>
constexpr MessageEntry<WindowOf<Part>> On()
{
    return {Message, 0, 0, 0, &Dispatch<Cracker<Message>, Part, Handler, WindowOf<Part>>};
}

// A notification from control `ControlId`, handled by the window's own `Handler`...
template <UINT_PTR ControlId, UINT Code, auto Handler>
constexpr MessageEntry<WindowOf<Handler>> OnNotify()
{
    return {WM_NOTIFY, ControlId, ControlId, Code, &Dispatch<NotifyCracker, nullptr, Handler, WindowOf<Handler>>};
}

// ...or by `Handler` of the window's part `Part`.
template <UINT_PTR ControlId, UINT Code, auto Part, auto Handler>
constexpr MessageEntry<WindowOf<Part>> OnNotify()
{
    return {WM_NOTIFY, ControlId, ControlId, Code, &Dispatch<NotifyCracker, Part, Handler, WindowOf<Part>>};
}

// Menu commands First to Last (notification code 0), handled by the window's `Handler`.
template <UINT First, UINT Last, auto Handler>
constexpr MessageEntry<WindowOf<Handler>> OnCommands()
{
    return {WM_COMMAND, First, Last, 0, &Dispatch<CommandCracker, nullptr, Handler, WindowOf<Handler>>};
}

// Notification `Code` that control `ControlId` sends as WM_COMMAND, handled by `Handler` of
// the window's part `Part`.
template <UINT ControlId, UINT Code, auto Part, auto Handler>
constexpr MessageEntry<WindowOf<Part>> OnControlCommand()
{
    return {WM_COMMAND, ControlId, ControlId, Code, &Dispatch<PlainCracker, Part, Handler, WindowOf<Part>>};
}

// A message whose number is fixed when the program is built, with raw parameters.
template <UINT Message, auto Handler>
constexpr MessageEntry<WindowOf<Handler>> OnMessage()
{
    return {Message, 0, 0, 0, &Dispatch<RawCracker, nullptr, Handler, WindowOf<Handler>>};
}

// A message registered at run time (RegisterWindowMessage), whose number `Message` holds.
template <const UINT* Message, auto Handler>
constexpr MessageEntry<WindowOf<Handler>> OnRegistered()
{
    return {0, 0, 0, 0, &Dispatch<RawCracker, nullptr, Handler, WindowOf<Handler>>, Message};
}

// Runs the first entry of `table` that matches the message; false when none handled it.
template <class Window, std::size_t N>
bool RunMessageTable(Window& window, const MessageEntry<Window> (&table)[N], UINT message, WPARAM wParam,
                     LPARAM lParam, LRESULT& result)
{
    for (const MessageEntry<Window>& entry : table) {
        if ((entry.registered ? *entry.registered : entry.message) != message || message == 0)
            continue;
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != entry.first || header->code != entry.code)
                continue;
        }
        if (message == WM_COMMAND &&
            (HIWORD(wParam) != entry.code || LOWORD(wParam) < entry.first || LOWORD(wParam) > entry.last))
            continue;
        return entry.dispatch(window, wParam, lParam, result);
    }
    return false;
}

}  // namespace fw
