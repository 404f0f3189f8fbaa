// The application object: one per process, run by the program's entry point.
#pragma once

#include <windows.h>

namespace fw {

class CWnd;

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    static CWinApp& Current();

    HINSTANCE Instance() const { return instance; }
    CWnd* MainWindow() const { return mainWindow; }
    void SetMainWindow(CWnd* window) { mainWindow = window; }

    // Called by the entry point: InitInstance, then ExitInstance, whose value is the exit code.
    int Run(HINSTANCE programInstance);

    // Called by the program's visible window at the end of its initialisation, so that the
    // application can make it known beyond the process; nothing by default.
    virtual void OnWindowReady(HWND window);

protected:
    virtual BOOL InitInstance();
    virtual int ExitInstance();

private:
    HINSTANCE instance = nullptr;
    CWnd* mainWindow = nullptr;
};

}  // namespace fw
