// Static message tables: each entry binds a window message (a notification, a range of
// commands, a timer) to a typed handler of the table's class, or chains to the table of a part
// or of the base class, the way a part answers its own messages:
//
//     const fw::MessageTable<CalendarWindow> CalendarWindow::messageTable = {
//         fw::On<WM_PAINT, &CalendarWindow::OnPaint>(),
//         fw::OnCommands<ID_COLOR_FIRST, ID_COLOR_COMMANDS_LAST, &CalendarWindow::OnColorCommand>(),
//         fw::Chain<&CalendarWindow::notesPanel>(),       // MCN_SELCHANGE, EN_CHANGE, its timers...
//         fw::ChainBase<fw::CDialog, CalendarWindow>(),   // IDOK and IDCANCEL: the close routines
//     };
//
// The entries are tried in order. A cracker per message turns WPARAM/LPARAM into the
// handler's arguments, so raw decoding stays in this file. Every handler answers a Result:
// Done(value) ends the message with that value; Default lets the following entries, and
// then the default processing, have it.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstddef>
#include <initializer_list>
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
    // What besides the message number an entry asks of a message.
    enum class Match : unsigned char {
        Message,   // nothing
        Notify,    // WM_NOTIFY: from control `first`, with code `code`
        Command,   // WM_COMMAND: identifier from `first` to `last`, notification code `code`
        Commands,  // WM_COMMAND: identifier from `first` to `last`, from a menu, a key or a click
        Timer,     // WM_TIMER: timer `first`
        Chain,     // any message: the entry runs another table
    };
    UINT message;
    Match match;
    UINT_PTR first;
    UINT_PTR last;
    UINT code;
    // True when the message was handled and `result` holds its answer.
    bool (*dispatch)(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A message registered at run time: its number is read from here when the table runs.
    const UINT* registered = nullptr;

    bool Matches(UINT number, WPARAM wParam, LPARAM lParam) const
    {
        switch (match) {
        case Match::Chain:
            return true;
        case Match::Notify: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            return number == WM_NOTIFY && header->idFrom == first && header->code == code;
        }
        case Match::Command:
            return number == WM_COMMAND && HIWORD(wParam) == code && LOWORD(wParam) >= first && LOWORD(wParam) <= last;
        // A menu's command has code 0, an accelerator's code 1, and a button's click code 0
        // (BN_CLICKED); other notifications of a control come with its window.
        case Match::Commands:
            return number == WM_COMMAND && (HIWORD(wParam) == 0 || lParam == 0) && LOWORD(wParam) >= first &&
                   LOWORD(wParam) <= last;
        case Match::Timer:
            return number == WM_TIMER && wParam == first;
        case Match::Message:
            break;
        }
        return number != 0 && number == (registered ? *registered : message);
    }
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

// Result OnMessage(): WM_PAINT, WM_QUERYDRAGICON, WM_MOUSELEAVE, WM_SYSCOLORCHANGE, a control's notification
// such as EN_CHANGE, one timer
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

// Result OnDpiChanged(int dpi, const RECT& suggested): the new DPI, and where the system
// suggests the window go at that scale.
template <>
struct Cracker<WM_DPICHANGED> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(static_cast<int>(HIWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
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

// Result OnCtlColor(HDC dc, HWND control): Done with the brush that paints the control (the
// dialog itself for WM_CTLCOLORDLG).
struct CtlColorCracker {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    }
};
template <> struct Cracker<WM_CTLCOLORSTATIC> : CtlColorCracker {};
template <> struct Cracker<WM_CTLCOLOREDIT> : CtlColorCracker {};
template <> struct Cracker<WM_CTLCOLORDLG> : CtlColorCracker {};
template <> struct Cracker<WM_CTLCOLORBTN> : CtlColorCracker {};
template <> struct Cracker<WM_CTLCOLORLISTBOX> : CtlColorCracker {};

// Result OnSettingChange(UINT action, const wchar_t* area): the SPI_ action that changed, or
// the name of the changed area ("ImmersiveColorSet"), or null.
template <>
struct Cracker<WM_SETTINGCHANGE> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(static_cast<UINT>(wParam), reinterpret_cast<const wchar_t*>(lParam));
    }
};

// Result OnDrawItem(const DRAWITEMSTRUCT& item): an owner-drawn control to paint.
template <>
struct Cracker<WM_DRAWITEM> {
    template <class Call>
    static Result Crack(WPARAM, LPARAM lParam, Call call)
    {
        return call(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    }
};

// Result OnContextMenu(HWND clicked, POINT screenPoint): (-1, -1) when a key asked for it.
template <>
struct Cracker<WM_CONTEXTMENU> {
    template <class Call>
    static Result Crack(WPARAM wParam, LPARAM lParam, Call call)
    {
        return call(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
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

// Result OnCommand(UINT id), for a range of menu commands and button clicks.
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
template <> struct Cracker<WM_SYSCOLORCHANGE> : PlainCracker {};

template <class Crack, auto Handler, class Window>
bool Dispatch(Window& window, UINT, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Arguments are passed on as they are: a notification's header is the start of a larger
    // structure that a copy would cut off.
    const Result answer = Crack::Crack(wParam, lParam, [&](auto&&... arguments) {
        return (window.*Handler)(std::forward<decltype(arguments)>(arguments)...);
    });
    result = answer.value;
    return answer.done;
}

template <auto Member>
using WindowOf = typename ClassOf<decltype(Member)>::type;

template <auto Handler>
using EntryOf = MessageEntry<WindowOf<Handler>>;

template <class Crack, auto Handler>
constexpr EntryOf<Handler> Entry(UINT message, typename EntryOf<Handler>::Match match, UINT_PTR first = 0,
                                 UINT_PTR last = 0, UINT code = 0, const UINT* registered = nullptr)
{
    return {message, match, first, last, code, &Dispatch<Crack, Handler, WindowOf<Handler>>, registered};
}

// A message handled by `Handler`.
template <UINT Message, auto Handler>
constexpr EntryOf<Handler> On()
{
    return Entry<Cracker<Message>, Handler>(Message, EntryOf<Handler>::Match::Message);
}

// A notification from control `ControlId`.
template <UINT_PTR ControlId, UINT Code, auto Handler>
constexpr EntryOf<Handler> OnNotify()
{
    return Entry<NotifyCracker, Handler>(WM_NOTIFY, EntryOf<Handler>::Match::Notify, ControlId, ControlId, Code);
}

// Commands First to Last, whether a menu, a key or a button click gave them.
template <UINT First, UINT Last, auto Handler>
constexpr EntryOf<Handler> OnCommands()
{
    return Entry<CommandCracker, Handler>(WM_COMMAND, EntryOf<Handler>::Match::Commands, First, Last);
}

// Notification `Code` that control `ControlId` sends as WM_COMMAND.
template <UINT ControlId, UINT Code, auto Handler>
constexpr EntryOf<Handler> OnControlCommand()
{
    return Entry<PlainCracker, Handler>(WM_COMMAND, EntryOf<Handler>::Match::Command, ControlId, ControlId, Code);
}

// Timer `TimerId` of the window.
template <UINT_PTR TimerId, auto Handler>
constexpr EntryOf<Handler> OnTimer()
{
    return Entry<PlainCracker, Handler>(WM_TIMER, EntryOf<Handler>::Match::Timer, TimerId, TimerId);
}

// A message whose number is fixed when the program is built, with raw parameters.
template <UINT Message, auto Handler>
constexpr EntryOf<Handler> OnMessage()
{
    return Entry<RawCracker, Handler>(Message, EntryOf<Handler>::Match::Message);
}

// A message registered at run time (RegisterWindowMessage), whose number `Message` holds.
template <const UINT* Message, auto Handler>
constexpr EntryOf<Handler> OnRegistered()
{
    return Entry<RawCracker, Handler>(0, EntryOf<Handler>::Match::Message, 0, 0, 0, Message);
}

// A class's table. Its entries live as long as the program: a static initializer list keeps
// its array for as long as itself.
template <class Window>
using MessageTable = std::initializer_list<MessageEntry<Window>>;

// Runs the entries of `table` that match the message, in order, until one handles it; false
// when none did.
template <class Window>
bool RunMessageTable(Window& window, const MessageTable<Window>& table, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result)
{
    for (const MessageEntry<Window>& entry : table)
        if (entry.Matches(message, wParam, lParam) && entry.dispatch(window, message, wParam, lParam, result))
            return true;
    return false;
}

// Gives `Derived` the ProcessMessage that runs its own table, `Derived::messageTable`. On a
// `Base` with a ProcessMessage of its own (a dialog, a subclassed control) it overrides that
// one, which the table may still reach through ChainBase.
struct NoBase {};
template <class Derived, class Base = NoBase>
class MessageTarget : public Base {
public:
    using Base::Base;
    virtual ~MessageTarget() = default;
    MessageTarget() = default;
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;
    // True when the message was handled and `result` holds its answer.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        return RunMessageTable(static_cast<Derived&>(*this), Derived::messageTable, message, wParam, lParam, result);
    }
};

template <auto Part, class Window>
bool ChainToPart(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return (window.*Part).ProcessMessage(message, wParam, lParam, result);
}

template <class Base, class Window>
bool ChainToBase(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return static_cast<Base&>(window).Base::ProcessMessage(message, wParam, lParam, result);
}

// The messages the part `Part` (a member of the window) answers in its own table, through
// its ProcessMessage.
template <auto Part>
constexpr MessageEntry<WindowOf<Part>> Chain()
{
    using Window = WindowOf<Part>;
    return {0, MessageEntry<Window>::Match::Chain, 0, 0, 0, &ChainToPart<Part, Window>};
}

// The messages the base class `Base` answers in its own table.
template <class Base, class Window>
constexpr MessageEntry<Window> ChainBase()
{
    return {0, MessageEntry<Window>::Match::Chain, 0, 0, 0, &ChainToBase<Base, Window>};
}

}  // namespace fw
