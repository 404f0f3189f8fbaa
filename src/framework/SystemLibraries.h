// The system libraries the program loads itself, from the system folder only, and their functions.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>

namespace fw {

// Called first at start: every library loaded later, a system library's own dependencies
// included, comes from the system folder, never from the program's folder, where anyone
// who can write a file beside the program could plant a DLL of the same name. A system
// without SetDefaultDllDirectories (Windows 7 before update KB2533623) keeps its order.
void SearchSystemFolderOnly();

// comctl32.dll is loaded here, at the first call, not by the program's import table:
// under Wine its load brings uxtheme.dll, before the program could protect the search.
// False, after a message box naming what is missing, when the library or one of the
// functions below cannot be found: the program's windows hold common controls and cannot
// be made without them.
bool InitCommonControls();

// As the common controls' functions. Without the library, SetWindowSubclass answers FALSE
// and the window stays as it is; the other two run only inside a subclass it installed.
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);

// msimg32.dll, at the first call. FALSE without it: nothing is drawn.
BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount, ULONG mode);

// uxtheme.dll, at the first call. E_NOTIMPL without it: a system without the library has no
// themes to switch.
HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList);

// The accessibility libraries (oleacc.dll, with ole32.dll and oleaut32.dll), at the first
// request of assistive technology, which a run without one never makes. E_NOTIMPL or null
// without them: the system's own description of the window stands.
HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId, void** object);
LRESULT LresultFromObject(REFIID interfaceId, WPARAM flags, IUnknown* object);
// COM in the calling thread's single-threaded apartment, for the run; false without ole32.
bool EnterComApartment();
// A string for COM to own; null without oleaut32 or memory.
BSTR AllocateBstr(const wchar_t* text);
// dwmapi.dll, at the first call: a top-level window's caption in the system's dark variant, or
// back in the light one. The attribute is 20 on current systems and was 19 before Windows 10
// 2004; a system that knows neither, or has no such library, keeps its caption as it is.
void UseDarkCaption(HWND window, bool dark);

// uxtheme.dll's unnamed app-mode functions, where the system has them (ordinals 135 and 136,
// Windows 10 1903 and later): the program's menus in the dark variant, or in the light one.
// Without them (older systems, Wine) the menus stay as they are.
void UseDarkMenus(bool dark);

// comdlg32.dll, at the first dialog: it brings the printing libraries with it, some
// megabytes that a run opening no such dialog need not carry. FALSE without it, as if the
// user had cancelled.
BOOL ChooseFontW(CHOOSEFONTW& choice);
BOOL GetSaveFileNameW(OPENFILENAMEW& choice);
BOOL GetOpenFileNameW(OPENFILENAMEW& choice);

// shell32.dll, at the first call: under Wine its load, with the shlwapi and shcore it brings,
// takes some milliseconds, and the first frame needs none of its functions. Without the library
// each answers FALSE or an error code and does nothing.
struct ShellFunctions {
    decltype(&::Shell_NotifyIconW) notifyIcon = nullptr;
    decltype(&::ShellExecuteW) execute = nullptr;
    HRESULT(WINAPI* getFolderPath)(HWND, int, HANDLE, DWORD, LPWSTR) = nullptr;
    int(WINAPI* createDirectory)(HWND, LPCWSTR, const SECURITY_ATTRIBUTES*) = nullptr;
};
// The functions the calls below use, loaded at the first use. Tests may put their own in.
ShellFunctions& Shell();
BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW& data);
void ShellExecuteW(const wchar_t* verb, const wchar_t* file, int showCommand);
HRESULT SHGetFolderPathW(int folder, wchar_t* path);
int SHCreateDirectoryExW(const wchar_t* path);

// user32.dll's per-monitor DPI, where the system has it (Windows 10 1607 and later): the DPI
// `window` is drawn at. Elsewhere the system's DPI stands in, which every monitor then shares.
int DpiOfWindow(HWND window);

}  // namespace fw
