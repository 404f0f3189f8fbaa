// Window view operations.
#include "framework/Wnd.h"

#include "framework/SystemLibraries.h"
#include "framework/Text.h"
#include "framework/WinApp.h"

namespace fw {

RECT CWnd::WindowRect() const
{
    RECT rect{};
    GetWindowRect(handle, &rect);
    return rect;
}

RECT CWnd::ClientRect() const
{
    RECT rect{};
    GetClientRect(handle, &rect);
    return rect;
}

RECT CWnd::RectInParent() const
{
    RECT rect = WindowRect();
    MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CWnd::Move(const RECT& rect) const
{
    MoveWindow(handle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

std::string CWnd::Text() const
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void CWnd::SetText(std::string_view text) const
{
    SetWindowTextW(handle, Widen(text).c_str());
}

void CEdit::ShowText(std::string_view text) const
{
    const std::wstring wide = Widen(text);
    if (wide.empty()) {
        ClearText();
        return;
    }
    const HLOCAL old = reinterpret_cast<HLOCAL>(Send(EM_GETHANDLE));
    const HLOCAL buffer = old ? LocalAlloc(LMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)) : nullptr;
    auto* const characters = buffer ? static_cast<wchar_t*>(LocalLock(buffer)) : nullptr;
    if (characters) {
        std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, characters);
        LocalUnlock(buffer);
        Send(EM_SETHANDLE, reinterpret_cast<WPARAM>(buffer));
        // The box owns the new buffer now; the old one is the caller's to free.
        if (reinterpret_cast<HLOCAL>(Send(EM_GETHANDLE)) == buffer) {
            LocalFree(old);
            return;
        }
    }
    if (buffer)
        LocalFree(buffer);
    SetWindowTextW(handle, wide.c_str());
}

// The box lays out only the text a new buffer holds, so an empty one would keep the old
// text's lines: a scroll bar and a paint for lines that are gone. WM_SETTEXT takes the old
// text out but sets the scroll bar twice, so the box is not drawn meanwhile (the platform's
// own WM_SETREDRAW, which hides it; the box's handling of the message does not keep its
// scroll bar from drawing), and is then repainted once, frame and scroll bar included.
void CEdit::ClearText() const
{
    DefWindowProcW(handle, WM_SETREDRAW, FALSE, 0);
    SetWindowTextW(handle, L"");
    DefWindowProcW(handle, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

DWORD CSubclassedWnd::Subclass()
{
    SetLastError(ERROR_SUCCESS);
    if (fw::SetWindowSubclass(handle, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return ERROR_SUCCESS;
    return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_WINDOW_HANDLE;
}

LRESULT CALLBACK CSubclassedWnd::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR object)
{
    if (message == WM_NCDESTROY) {
        fw::RemoveWindowSubclass(window, Procedure, id);
        return fw::DefSubclassProc(window, message, wParam, lParam);
    }
    // As in a dialog procedure, an exception stops here: it is reported, and the control
    // handles the message itself.
    try {
        if (LRESULT result = 0; reinterpret_cast<CSubclassedWnd*>(object)->ProcessMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        CWinApp::Current().ReportException(GetAncestor(window, GA_ROOT), "answer a control's message");
    }
    return fw::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CWnd::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(handle, message, wParam, lParam);
}

}  // namespace fw
