// Static message tables: each entry binds one window message to a typed handler.
//
//     const fw::MessageEntry<CalendarWindow> CalendarWindow::messageTable[] = {
//         fw::On<WM_TIMER, &CalendarWindow::OnTimer>(),
//         fw::OnNotify<IDC_CALENDAR, MCN_SELCHANGE, &CalendarWindow::OnCalendarSelChange>(),
//     };
//
// A cracker per message turns WPARAM/LPARAM into the handler's arguments, so raw
// decoding stays in this file. A handler's Handling result says whether the dialog
// manager's default processing follows.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstddef>

namespace fw {

enum class Handling { Default, Done };

template <class Window>
struct MessageEntry {
    UINT message;
    UINT_PTR controlId;  // WM_NOTIFY only
    UINT code;           // WM_NOTIFY only
    // Returns true when the message was handled and `result` holds its answer.
    bool (*dispatch)(Window& window, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

template <class MemberFunction>
struct ClassOf;
template <class C, class R, class... Args>
struct ClassOf<R (C::*)(Args...)> {
    using type = C;
};

template <UINT Message>
struct Cracker;

// Handling OnMouse(UINT keyFlags, POINT clientPoint)
struct MouseCracker {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM wParam, LPARAM lParam, LRESULT&)
    {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return (window.*Handler)(static_cast<UINT>(wParam), point) == Handling::Done;
    }
};
template <> struct Cracker<WM_MOUSEMOVE> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONDOWN> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONUP> : MouseCracker {};
template <> struct Cracker<WM_LBUTTONDBLCLK> : MouseCracker {};

// Handling OnTimer(UINT_PTR timerId)
template <>
struct Cracker<WM_TIMER> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM wParam, LPARAM, LRESULT&)
    {
        return (window.*Handler)(static_cast<UINT_PTR>(wParam)) == Handling::Done;
    }
};

// void OnPaint()
template <>
struct Cracker<WM_PAINT> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM, LPARAM, LRESULT& result)
    {
        (window.*Handler)();
        result = 0;
        return true;
    }
};

// HICON OnQueryDragIcon()
template <>
struct Cracker<WM_QUERYDRAGICON> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM, LPARAM, LRESULT& result)
    {
        result = reinterpret_cast<LRESULT>((window.*Handler)());
        return true;
    }
};

// Handling OnSysCommand(UINT command, LPARAM position)
template <>
struct Cracker<WM_SYSCOMMAND> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        result = 0;
        return (window.*Handler)(static_cast<UINT>(wParam), lParam) == Handling::Done;
    }
};

// BOOL OnHelpInfo(const HELPINFO& info)
template <>
struct Cracker<WM_HELP> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM, LPARAM lParam, LRESULT& result)
    {
        result = (window.*Handler)(*reinterpret_cast<const HELPINFO*>(lParam));
        return true;
    }
};

// Handling OnEndSession(bool ending)
template <>
struct Cracker<WM_ENDSESSION> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM wParam, LPARAM, LRESULT& result)
    {
        result = 0;
        return (window.*Handler)(wParam != FALSE) == Handling::Done;
    }
};

// Handling OnCaptureChanged(HWND newCapture)
template <>
struct Cracker<WM_CAPTURECHANGED> {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM, LPARAM lParam, LRESULT& result)
    {
        result = 0;
        return (window.*Handler)(reinterpret_cast<HWND>(lParam)) == Handling::Done;
    }
};

// LRESULT OnNotification(const NMHDR& header): the handler's value is the notification's result.
struct NotifyCracker {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM, LPARAM lParam, LRESULT& result)
    {
        result = (window.*Handler)(*reinterpret_cast<const NMHDR*>(lParam));
        return true;
    }
};

template <UINT Message, auto Handler>
constexpr MessageEntry<typename ClassOf<decltype(Handler)>::type> On()
{
    using C = typename ClassOf<decltype(Handler)>::type;
    return {Message, 0, 0, &Cracker<Message>::template Dispatch<Handler, C>};
}

template <UINT_PTR ControlId, UINT Code, auto Handler>
constexpr MessageEntry<typename ClassOf<decltype(Handler)>::type> OnNotify()
{
    using C = typename ClassOf<decltype(Handler)>::type;
    return {WM_NOTIFY, ControlId, Code, &NotifyCracker::Dispatch<Handler, C>};
}

// LRESULT OnMessage(WPARAM, LPARAM), for the program's own messages, whose parameters only
// the handler knows: the handler's value is the message's result.
struct RawCracker {
    template <auto Handler, class C>
    static bool Dispatch(C& window, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        result = (window.*Handler)(wParam, lParam);
        return true;
    }
};

template <UINT Message, auto Handler>
constexpr MessageEntry<typename ClassOf<decltype(Handler)>::type> OnMessage()
{
    using C = typename ClassOf<decltype(Handler)>::type;
    return {Message, 0, 0, &RawCracker::Dispatch<Handler, C>};
}

// Runs the first entry of `table` that matches the message; false when none handled it.
template <class Window, std::size_t N>
bool RunMessageTable(Window& window, const MessageEntry<Window> (&table)[N], UINT message, WPARAM wParam,
                     LPARAM lParam, LRESULT& result)
{
    for (const MessageEntry<Window>& entry : table) {
        if (entry.message != message)
            continue;
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != entry.controlId || header->code != entry.code)
                continue;
        }
        return entry.dispatch(window, wParam, lParam, result);
    }
    return false;
}

}  // namespace fw
