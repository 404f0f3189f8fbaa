// The application object and its registration.
#include "framework/WinApp.h"

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

}  // namespace fw
