// The dialogs' own colours, and the brush of their bodies.
#include "framework/DialogColors.h"

#include "framework/Handles.h"
#include "framework/SystemLibraries.h"

namespace fw {

namespace {

DialogColors current;
CBrush bodyBrush;
// A caption is given the light variant again only once it has been given the dark one.
bool captionsDarkened = false;

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
    const bool dark = current.own && current.darkCaption;
    if (!dark && !captionsDarkened)
        return;
    captionsDarkened = true;
    UseDarkCaption(dialog, dark);
}

}  // namespace fw
