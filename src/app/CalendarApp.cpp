// Start-up: one running copy per data folder, then the hidden owner dialog run modally.
#include "app/CalendarApp.h"

#include "app/CParent.h"
#include "window/CalendarWindow.h"
#include "settings/DataFilePath.h"

CalendarApp theApp;

namespace {

// Copies of the program whose data folders are the same share the kernel objects of this scope.
constexpr const wchar_t* RUNNING_COPY_SCOPE = L"Dayvane.DataFolder";
// How long a later start waits for the running copy's window: one started at the same moment
// may still be making it.
constexpr DWORD RUNNING_COPY_WAIT_MS = 5000;

}  // namespace

BOOL CalendarApp::InitInstance()
{
    CWinApp::InitInstance();
    ChooseDataFolder();
    // Two copies on one folder would each save their own notes at close, the last one over
    // the other's: a later start only brings the running copy forward and writes nothing.
    switch (runningCopy.Claim(RUNNING_COPY_SCOPE, DataFolderIdentity())) {
    case fw::SingleInstance::Holder::ThisCopy:
        break;
    case fw::SingleInstance::Holder::CopyInThisSession:
        runningCopy.BringRunningCopyForward(RUNNING_COPY_WAIT_MS, CalendarWindow::showRequest);
        return FALSE;
    case fw::SingleInstance::Holder::CopyInAnotherSession:
        // Its window is out of reach: the user who started this one is told why nothing opens.
        MessageBoxW(nullptr, L"Dayvane is already running for these notes in another session.", Title().c_str(),
                    MB_OK | MB_ICONINFORMATION);
        exitCode = 1;
        return FALSE;
    }
    PrepareDataFolder();
    // No dialog of the program hosts an OLE control, so no control container is set up.
    {
        CParent parent;
        SetMainWindow(&parent);
        parent.DoModal();
        SetMainWindow(nullptr);
    }
    // FALSE: there is no message loop to run; the program ends here.
    return FALSE;
}

int CalendarApp::ExitInstance()
{
    return exitCode;
}

void CalendarApp::OnWindowReady(HWND window)
{
    runningCopy.Publish(window);
}
