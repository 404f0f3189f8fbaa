// Starts the program, saves a screenshot of its window, then closes it through its OK path.
//   snapshot.exe --program=PATH --out=PNG
#include <windows.h>

#include <cstdio>
#include <string>

#include "Screen.h"

namespace {

std::wstring Argument(int argc, wchar_t** argv, const std::wstring& name)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument.rfind(name, 0) == 0)
            return argument.substr(name.size());
    }
    return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring program = Argument(argc, argv, L"--program=");
    const std::wstring out = Argument(argc, argv, L"--out=");
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return 1;
    }
    const HWND window = gui::WaitForWindow(process.dwProcessId, 30000);
    int status = 0;
    if (!window) {
        std::fprintf(stderr, "the program showed no window\n");
        status = 1;
    } else {
        // The window shows before it has painted; the photograph waits for the program to
        // wait for input with everything painted, and for the screen to show it.
        WaitForInputIdle(process.hProcess, 10000);
        RECT area{};
        GetWindowRect(window, &area);
        InflateRect(&area, 16, 16);
        if (!gui::SaveFinishedScreenPng(window, area, out, 10000)) {
            std::fprintf(stderr, "cannot photograph the finished window into %ls\n", out.c_str());
            status = 1;
        }
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        status = 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}
