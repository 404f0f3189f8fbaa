// The hyperlink control of the About box.
#include "ui/CSimpleLink.h"

#include <commctrl.h>

#include "core/Appearance.h"
#include "framework/DialogColors.h"
#include "framework/Fonts.h"
#include "framework/Shell.h"
#include "framework/SystemLibraries.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

TOOLINFOW ToolFor(HWND control, std::wstring& text)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    // TTF_SUBCLASS lets the tooltip see the control's mouse messages itself.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    return tool;
}

// The link's text, with the mouse over it or not: Tahoma at height -11 (at 96 DPI), plain.
fw::CFont CreateTahomaFont(int dpi)
{
    return CreatePlainFont(L"Tahoma", core::Scaled(-11, dpi));
}

}  // namespace

const fw::MessageTable<CSimpleLink> CSimpleLink::messageTable = {
    fw::On<WM_MOUSEMOVE, &CSimpleLink::OnMouseMove>(),
    fw::On<WM_TIMER, &CSimpleLink::OnTimer>(),
    fw::On<WM_LBUTTONUP, &CSimpleLink::OnLButtonUp>(),
    fw::On<WM_SETCURSOR, &CSimpleLink::OnSetCursor>(),
};

void CSimpleLink::SetLinkTarget(std::string_view target)
{
    linkTarget = target;
}

void CSimpleLink::SetTooltipText(std::string_view text)
{
    tooltipText = text;
    if (!tooltip)
        return;
    std::wstring wide = fw::Widen(tooltipText);
    TOOLINFOW tool = ToolFor(handle, wide);
    SendMessageW(tooltip.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// In the dialogs' own colours (dark, or high contrast) the link takes theirs.
void CSimpleLink::SetDefaultColors()
{
    const fw::DialogColors& dialog = fw::CurrentDialogColors();
    normalTextColor = hoverTextColor = dialog.own ? dialog.link : RGB(50, 50, 250);
    normalBackColor = hoverBackColor = dialog.own ? dialog.background : GetSysColor(COLOR_BTNFACE);
}

void CSimpleLink::PreSubclassWindow()
{
    hovering = false;
    SetDefaultColors();
    SetLinkTarget(Text());
    tooltipText = "Go to " + linkTarget;
    tooltip.Attach(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, handle, nullptr, fw::CWinApp::Current().Instance(), nullptr));
    std::wstring wide = fw::Widen(tooltipText);
    TOOLINFOW tool = ToolFor(handle, wide);
    SendMessageW(tooltip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    clientRect = ClientRect();
    // Both fonts alike: the control keeps its dialog font until the mouse first enters.
    const int dpi = fw::DpiOfWindow(handle);
    normalFont = CreateTahomaFont(dpi);
    hoverFont = CreateTahomaFont(dpi);
    // Without the subclass the link is plain text.
    if (const DWORD error = Subclass(); error != ERROR_SUCCESS)
        fw::CWinApp::Current().ReportFailure(GetParent(handle), "make a link work", fw::SystemMessage(error));
}

HBRUSH CSimpleLink::OnCtlColor(HDC dc) const
{
    SetTextColor(dc, hovering ? hoverTextColor : normalTextColor);
    SetBkColor(dc, hovering ? hoverBackColor : normalBackColor);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CSimpleLink::Redraw() const
{
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The timer runs exactly while the mouse is over the control; it notices the mouse leaving.
fw::Result CSimpleLink::OnMouseMove(UINT, POINT)
{
    if (hovering)
        return fw::Default;
    hovering = true;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(hoverFont.Get()), TRUE);
    Redraw();
    SetTimer(handle, HOVER_TIMER_ID, HOVER_PERIOD_MS, nullptr);
    return fw::Default;
}

fw::Result CSimpleLink::OnTimer(UINT_PTR timerId)
{
    if (timerId != HOVER_TIMER_ID)
        return fw::Default;
    POINT cursorPoint{};
    GetCursorPos(&cursorPoint);
    ScreenToClient(handle, &cursorPoint);
    if (PtInRect(&clientRect, cursorPoint))
        return fw::Default;
    hovering = false;
    KillTimer(handle, HOVER_TIMER_ID);
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(normalFont.Get()), TRUE);
    Redraw();
    return fw::Default;
}

// No capture: a release over the link opens it wherever the press happened.
fw::Result CSimpleLink::OnLButtonUp(UINT, POINT)
{
    fw::ShellOpen(linkTarget, SW_SHOWDEFAULT);
    return fw::Default;
}

fw::Result CSimpleLink::OnSetCursor(HWND, UINT, UINT)
{
    cursor = LoadCursorW(fw::CWinApp::Current().Instance(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    SetCursor(cursor);
    return fw::Done(FALSE);
}
