// The system's font and save-file dialogs, with their library loaded at the first one opened.
#pragma once

#include "framework/SystemLibraries.h"

namespace fw {

// ChooseFontW and GetSaveFileNameW: TRUE when the user chose "OK". The dialogs' library
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

}  // namespace fw
