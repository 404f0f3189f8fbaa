// The application object and its registration.
#include "framework/WinApp.h"

#include <exception>
#include <new>

#include "framework/Files.h"
#include "framework/Text.h"

namespace fw {

namespace {
CWinApp* currentApp = nullptr;
}

CWinApp::CWinApp()
{
    currentApp = this;
    instance = GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp()
{
    if (currentApp == this)
        currentApp = nullptr;
}

CWinApp& CWinApp::Current()
{
    return *currentApp;
}

int CWinApp::Run(HINSTANCE programInstance)
{
    instance = programInstance;
    // Every window of the program runs in a modal loop of its own, so the application
    // object needs no message pump: InitInstance does all the work and returns when the
    // program is done.
    InitInstance();
    return ExitInstance();
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::OnWindowReady(HWND)
{
}

void CWinApp::ReportFailure(HWND owner, const std::string& what, const std::string& reason) noexcept
{
    if (reporting)
        return;
    reporting = true;
    try {
        if (reported.insert(what + '\n' + reason).second) {
            const std::wstring title = Title();
            const std::string text = Narrow(title) + " could not " + what + ":\n\n" + reason;
            MessageBoxW(owner, Widen(text).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
        }
    } catch (...) {
        // Without the memory to make the text, the plainest report there is.
        MessageBoxW(owner, L"The program ran out of memory.", nullptr, MB_OK | MB_ICONERROR);
    }
    reporting = false;
}

void CWinApp::ReportException(HWND owner, const std::string& what) noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ReportFailure(owner, what, SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
    } catch (const std::exception& error) {
        ReportFailure(owner, what, error.what());
    } catch (...) {
        ReportFailure(owner, what, "An unknown error occurred.");
    }
}

std::wstring CWinApp::Title() const
{
    std::wstring name = ProgramFile();
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

}  // namespace fw
