// The dialogs' own colours, and the brush of their bodies.
#include "framework/DialogColors.h"

#include "framework/Handles.h"
#include "framework/SystemLibraries.h"

namespace fw {

namespace {

DialogColors current;
CBrush bodyBrush;
// A dialog is given the light variant again only once one has been given the dark one or the
// program's colours: until then every dialog is exactly as the system makes it.
bool dressedOnce = false;

// Buttons and scroll bars have no colours of their own: the system's dark Explorer theme has
// dark ones, where there is such a theme. A list takes the body's colours.
BOOL CALLBACK DressControl(HWND control, LPARAM)
{
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    if (lstrcmpiW(name, L"Button") == 0 || lstrcmpiW(name, L"ScrollBar") == 0)
        SetWindowTheme(control, current.own && current.darkCaption ? L"DarkMode_Explorer" : nullptr, nullptr);
    if (lstrcmpW(name, WC_LISTVIEWW) == 0) {
        const COLORREF back = current.own ? current.background : GetSysColor(COLOR_WINDOW);
        SendMessageW(control, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageW(control, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageW(control, LVM_SETTEXTCOLOR, 0,
                     static_cast<LPARAM>(current.own ? current.text : GetSysColor(COLOR_WINDOWTEXT)));
    }
    return TRUE;
}

BOOL CALLBACK Redress(HWND window, LPARAM)
{
    wchar_t name[8] = L"";
    if (IsWindowVisible(window) && GetClassNameW(window, name, 8) && lstrcmpW(name, L"#32770") == 0) {
        DressDialog(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

}  // namespace

void SetDialogColors(const DialogColors& colors)
{
    const bool same = colors.own == current.own && colors.background == current.background &&
                      colors.text == current.text && colors.link == current.link &&
                      colors.darkCaption == current.darkCaption;
    if (same)
        return;
    current = colors;
    bodyBrush = CBrush(colors.own ? CreateSolidBrush(colors.background) : nullptr);
    EnumThreadWindows(GetCurrentThreadId(), Redress, 0);
}

const DialogColors& CurrentDialogColors()
{
    return current;
}

HBRUSH PaintInDialogColors(HDC dc)
{
    if (!current.own || !bodyBrush)
        return nullptr;
    SetTextColor(dc, current.text);
    SetBkColor(dc, current.background);
    return bodyBrush.Get();
}

void DressDialog(HWND dialog)
{
    if (!current.own && !dressedOnce)
        return;
    dressedOnce = true;
    UseDarkCaption(dialog, current.own && current.darkCaption);
    EnumChildWindows(dialog, DressControl, 0);
}

}  // namespace fw
