// Window view operations.
#include "framework/Wnd.h"

#include "framework/Text.h"

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

void CWnd::Move(const RECT& rect, bool repaint) const
{
    MoveWindow(handle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
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

LRESULT CWnd::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(handle, message, wParam, lParam);
}

}  // namespace fw
