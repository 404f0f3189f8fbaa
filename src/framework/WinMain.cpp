// The program's entry point hands control to the one application object.
#include <windows.h>

#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return fw::CWinApp::Current().Run(instance);
}
