// The system's font, save-file and open-file dialogs, with their library loaded at the first one opened.
#pragma once

#include "framework/SystemLibraries.h"

namespace fw {

// ChooseFontW, GetSaveFileNameW and GetOpenFileNameW: TRUE when the user chose "OK". The dialogs' library
// brings the printing libraries with it, some megabytes that a run opening no such dialog
// need not carry; when it cannot be loaded, the dialog counts as cancelled.
inline BOOL RunFontDialog(CHOOSEFONTW& choice)
{
    return ChooseFontW(choice);
}

inline BOOL RunSaveDialog(OPENFILENAMEW& choice)
{
    return GetSaveFileNameW(choice);
}

inline BOOL RunOpenDialog(OPENFILENAMEW& choice)
{
    return GetOpenFileNameW(choice);
}

}  // namespace fw
