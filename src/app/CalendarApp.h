// The application object: starts the hidden owner, which runs the calendar window.
#pragma once

#include "framework/WinApp.h"

class CalendarApp : public fw::CWinApp {
public:
    ~CalendarApp() override = default;

protected:
    BOOL InitInstance() override;
};
