// A non-owning view of a window handle with the operations the program uses.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

class CWnd {
public:
    virtual ~CWnd() = default;
    HWND Handle() const { return handle; }
    void Attach(HWND window) { handle = window; }
    // Runs once a dialog's data exchange has bound the wrapper to its control.
    virtual void PreSubclassWindow() {}

    RECT WindowRect() const;
    RECT ClientRect() const;
    // The window's rectangle in its parent's client coordinates.
    RECT RectInParent() const;
    // Moves and sizes the window and repaints it.
    void Move(const RECT& rect) const;
    std::string Text() const;
    void SetText(std::string_view text) const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    HWND handle = nullptr;
};

// The dialog's controls get bound to their wrappers here (the program moves no data through it).
class DataExchange {
public:
    explicit DataExchange(HWND dialogWindow) : dialog(dialogWindow) {}
    // Binds a control once: OK runs the exchange again, and a control set up twice would get
    // a second tooltip, new fonts and a second subclass.
    void Control(int id, CWnd& control) const
    {
        const HWND item = GetDlgItem(dialog, id);
        if (control.Handle() == item)
            return;
        control.Attach(item);
        control.PreSubclassWindow();
    }

private:
    HWND dialog;
};

// A control whose messages reach its object first, through a subclass of the control. The
// object answers them in ProcessMessage; what it does not end goes on to the control. Each
// object's subclass is its own, so that several objects may watch one control.
class CSubclassedWnd : public CWnd {
protected:
    // ERROR_SUCCESS, or the system's error when the control could not be subclassed: the
    // control then works without the object.
    DWORD Subclass();
    // True when the message was handled and `result` holds its answer.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR object);
};

class CEdit : public CWnd {
public:
    // Shows `text` in a multiline box the way WM_SETTEXT does (caret at the start, nothing to
    // undo, not modified), by handing the box a new text buffer: the box then lays the text
    // out and sets its scroll bar once, where WM_SETTEXT sets it at each step (a themed scroll
    // bar draws itself every time). No text, and a box that takes no buffer, go the way of
    // WM_SETTEXT.
    void ShowText(std::string_view text) const;

private:
    void ClearText() const;
};
class CMonthCalCtrl : public CWnd {};

}  // namespace fw
