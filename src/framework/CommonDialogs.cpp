// The common dialogs' library, loaded on first use and kept for the rest of the run.
#include "framework/CommonDialogs.h"

namespace fw {

namespace {

template <typename Function>
Function CommonDialog(const char* name)
{
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

BOOL RunFontDialog(CHOOSEFONTW& choice)
{
    static const auto choose = CommonDialog<BOOL(WINAPI*)(LPCHOOSEFONTW)>("ChooseFontW");
    return choose ? choose(&choice) : FALSE;
}

BOOL RunSaveDialog(OPENFILENAMEW& choice)
{
    static const auto save = CommonDialog<BOOL(WINAPI*)(LPOPENFILENAMEW)>("GetSaveFileNameW");
    return save ? save(&choice) : FALSE;
}

}  // namespace fw
