// The colours the program's dialogs are drawn in when the program chooses them rather than the
// system: their bodies, texts and links, and their captions.
#pragma once

#include <windows.h>

namespace fw {

struct DialogColors {
    bool own = false;  // false: the system's colours, and nothing below is used
    COLORREF background = 0;
    COLORREF text = 0;
    COLORREF link = 0;
    bool darkCaption = false;
};

// The dialogs of this thread take `colors` from now on; those open are redrawn in them.
void SetDialogColors(const DialogColors& colors);
const DialogColors& CurrentDialogColors();

// For a dialog's WM_CTLCOLOR messages: sets the text colour and background of `dc` and gives
// the brush of the body, or null while the dialogs keep the system's colours.
HBRUSH PaintInDialogColors(HDC dc);
// Gives a dialog being made the caption of the colours in force.
void DressDialog(HWND dialog);

}  // namespace fw
