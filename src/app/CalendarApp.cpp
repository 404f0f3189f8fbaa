// Start-up: common controls, then the hidden owner dialog run modally.
#include "app/CalendarApp.h"

#include <commctrl.h>

#include "app/CParent.h"
#include "settings/DataFilePath.h"

CalendarApp theApp;

BOOL CalendarApp::InitInstance()
{
    InitCommonControls();
    CWinApp::InitInstance();
    ChooseDataFolder();
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
