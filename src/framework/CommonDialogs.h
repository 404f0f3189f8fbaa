// The system's font and save-file dialogs, with their library loaded at the first one opened.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace fw {

// ChooseFontW and GetSaveFileNameW: TRUE when the user chose "OK". The dialogs' library
// brings the printing libraries with it, some megabytes that a run opening no such dialog
// need not carry; when it cannot be loaded, the dialog counts as cancelled.
BOOL RunFontDialog(CHOOSEFONTW& choice);
BOOL RunSaveDialog(OPENFILENAMEW& choice);

}  // namespace fw
