// A library planted beside the program under the names of system libraries: a process that
// loads it leaves "<its file name>.loaded" beside it.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    const wchar_t suffix[] = L".loaded";
    wchar_t path[MAX_PATH + sizeof suffix / sizeof suffix[0]];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    std::wcscpy(path + length, suffix);
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
