// The application object: keeps one running copy per data folder and starts the hidden owner,
// which runs the calendar window.
#pragma once

#include "framework/SingleInstance.h"
#include "framework/WinApp.h"

class CalendarApp : public fw::CWinApp {
public:
    ~CalendarApp() override = default;

    void OnWindowReady(HWND window) override;
    std::wstring Title() const override { return L"Dayvane"; }

protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    fw::SingleInstance runningCopy;
    // Not zero when this start ended without doing what it was started for.
    int exitCode = 0;
};
