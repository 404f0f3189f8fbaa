// The system libraries, each loaded from the system folder at its first use and kept for the run.
#include "framework/SystemLibraries.h"

#include <shlobj.h>
#include <uxtheme.h>

#include <string>

namespace fw {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 is refused as an unknown flag by a Windows 7 without update
// KB2533623, which then gets the file of the system folder by its full path.
HMODULE LoadFromSystemFolder(const wchar_t* name)
{
    if (const HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return library;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

// A function of a loaded library, as the type of its declaration; null when either is missing.
template <typename Function>
Function Find(HMODULE library, const char* name)
{
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

template <typename Function>
Function FindInSystemLibrary(const wchar_t* library, const char* name)
{
    return Find<Function>(LoadFromSystemFolder(library), name);
}

// All of them or none: a subclass procedure calls the other two once SetWindowSubclass has
// installed it.
struct CommonControls {
    decltype(&::InitCommonControls) initCommonControls = nullptr;
    decltype(&::SetWindowSubclass) setWindowSubclass = nullptr;
    decltype(&::DefSubclassProc) defSubclassProc = nullptr;
    decltype(&::RemoveWindowSubclass) removeWindowSubclass = nullptr;
};

const CommonControls& CommonControlsLibrary()
{
    static const CommonControls functions = [] {
        const HMODULE library = LoadFromSystemFolder(L"comctl32.dll");
        CommonControls found;
        found.initCommonControls = Find<decltype(found.initCommonControls)>(library, "InitCommonControls");
        found.setWindowSubclass = Find<decltype(found.setWindowSubclass)>(library, "SetWindowSubclass");
        found.defSubclassProc = Find<decltype(found.defSubclassProc)>(library, "DefSubclassProc");
        found.removeWindowSubclass = Find<decltype(found.removeWindowSubclass)>(library, "RemoveWindowSubclass");
        const bool complete = found.initCommonControls && found.setWindowSubclass && found.defSubclassProc &&
                              found.removeWindowSubclass;
        return complete ? found : CommonControls{};
    }();
    return functions;
}

}  // namespace

void SearchSystemFolderOnly()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    if (const auto setDefaultDllDirectories = Find<SetDefaultDllDirectoriesFunction>(
            GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool InitCommonControls()
{
    const CommonControls& library = CommonControlsLibrary();
    if (!library.initCommonControls) {
        MessageBoxW(nullptr,
                    L"The common controls (comctl32.dll in the Windows system folder) could not be loaded, "
                    L"so the program cannot show its window.",
                    nullptr, MB_OK | MB_ICONERROR);
        return false;
    }
    library.initCommonControls();
    return true;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data)
{
    const CommonControls& library = CommonControlsLibrary();
    return library.setWindowSubclass ? library.setWindowSubclass(window, procedure, id, data) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CommonControlsLibrary().defSubclassProc(window, message, wParam, lParam);
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id)
{
    return CommonControlsLibrary().removeWindowSubclass(window, procedure, id);
}

BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount, ULONG mode)
{
    static const auto gradientFill = FindInSystemLibrary<decltype(&::GradientFill)>(L"msimg32.dll", "GradientFill");
    return gradientFill ? gradientFill(dc, vertices, vertexCount, mesh, meshCount, mode) : FALSE;
}

HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList)
{
    static const auto setWindowTheme = FindInSystemLibrary<decltype(&::SetWindowTheme)>(L"uxtheme.dll", "SetWindowTheme");
    return setWindowTheme ? setWindowTheme(window, application, idList) : E_NOTIMPL;
}

HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID interfaceId, void** object)
{
    static const auto create =
        FindInSystemLibrary<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    return create ? create(window, objectId, interfaceId, object) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID interfaceId, WPARAM flags, IUnknown* object)
{
    static const auto lresultFromObject =
        FindInSystemLibrary<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return lresultFromObject ? lresultFromObject(interfaceId, flags, object) : E_NOTIMPL;
}

// Entered once and never left: COM stays ready for the next request until the thread ends.
bool EnterComApartment()
{
    static const bool entered = [] {
        const auto initialize = FindInSystemLibrary<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        if (!initialize)
            return false;
        const HRESULT result = initialize(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
    return entered;
}

BSTR AllocateBstr(const wchar_t* text)
{
    static const auto allocate = FindInSystemLibrary<decltype(&::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    return allocate ? allocate(text) : nullptr;
}

void UseDarkCaption(HWND window, bool dark)
{
    static const auto setAttribute = FindInSystemLibrary<HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD)>(
        L"dwmapi.dll", "DwmSetWindowAttribute");
    if (!setAttribute)
        return;
    const BOOL value = dark ? TRUE : FALSE;
    for (const DWORD attribute : {20u, 19u})
        if (SUCCEEDED(setAttribute(window, attribute, &value, sizeof value)))
            return;
}

// The app mode's values: 2 forces the dark variant, 3 the light one. Both ordinals or neither:
// a library that has only one of them is not the one these numbers were given in.
void UseDarkMenus(bool dark)
{
    using SetPreferredAppModeFunction = int(WINAPI*)(int);
    using FlushMenuThemesFunction = void(WINAPI*)();
    static const HMODULE uxtheme = LoadFromSystemFolder(L"uxtheme.dll");
    static const auto setPreferredAppMode = Find<SetPreferredAppModeFunction>(uxtheme, MAKEINTRESOURCEA(135));
    static const auto flushMenuThemes = Find<FlushMenuThemesFunction>(uxtheme, MAKEINTRESOURCEA(136));
    if (!setPreferredAppMode || !flushMenuThemes)
        return;
    setPreferredAppMode(dark ? 2 : 3);
    flushMenuThemes();
}

BOOL ChooseFontW(CHOOSEFONTW& choice)
{
    static const auto chooseFont = FindInSystemLibrary<decltype(&::ChooseFontW)>(L"comdlg32.dll", "ChooseFontW");
    return chooseFont ? chooseFont(&choice) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW& choice)
{
    static const auto getSaveFileName =
        FindInSystemLibrary<decltype(&::GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    return getSaveFileName ? getSaveFileName(&choice) : FALSE;
}

BOOL GetOpenFileNameW(OPENFILENAMEW& choice)
{
    static const auto getOpenFileName =
        FindInSystemLibrary<decltype(&::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    return getOpenFileName ? getOpenFileName(&choice) : FALSE;
}

ShellFunctions& Shell()
{
    static ShellFunctions functions = [] {
        const HMODULE library = LoadFromSystemFolder(L"shell32.dll");
        ShellFunctions found;
        found.notifyIcon = Find<decltype(found.notifyIcon)>(library, "Shell_NotifyIconW");
        found.execute = Find<decltype(found.execute)>(library, "ShellExecuteW");
        found.getFolderPath = Find<decltype(found.getFolderPath)>(library, "SHGetFolderPathW");
        found.createDirectory = Find<decltype(found.createDirectory)>(library, "SHCreateDirectoryExW");
        return found;
    }();
    return functions;
}

BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW& data)
{
    const auto notifyIcon = Shell().notifyIcon;
    return notifyIcon ? notifyIcon(message, &data) : FALSE;
}

void ShellExecuteW(const wchar_t* verb, const wchar_t* file, int showCommand)
{
    if (const auto execute = Shell().execute)
        execute(nullptr, verb, file, nullptr, nullptr, showCommand);
}

HRESULT SHGetFolderPathW(int folder, wchar_t* path)
{
    const auto getFolderPath = Shell().getFolderPath;
    return getFolderPath ? getFolderPath(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) : E_NOTIMPL;
}

int SHCreateDirectoryExW(const wchar_t* path)
{
    const auto createDirectory = Shell().createDirectory;
    return createDirectory ? createDirectory(nullptr, path, nullptr) : ERROR_PROC_NOT_FOUND;
}

int DpiOfWindow(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        Find<GetDpiForWindowFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace fw
