// The application object: one per process, run by the program's entry point.
#pragma once

#include <windows.h>

#include <set>
#include <string>

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

    // Tells the user, in a message box over `owner`, that the program could not do `what`
    // and why; the same failure is told once a run, and never while another is being told.
    void ReportFailure(HWND owner, const std::string& what, const std::string& reason) noexcept;
    // Reports the exception being handled as the reason `what` failed; call it in a handler.
    void ReportException(HWND owner, const std::string& what) noexcept;
    // The name the program's messages are signed with: by default the program file's.
    virtual std::wstring Title() const;

protected:
    virtual BOOL InitInstance();
    virtual int ExitInstance();

private:
    HINSTANCE instance = nullptr;
    CWnd* mainWindow = nullptr;
    std::set<std::string> reported;
    bool reporting = false;
};

}  // namespace fw
