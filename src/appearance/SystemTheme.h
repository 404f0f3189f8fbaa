// What the system asks of the program's colours: the user's app mode (light or dark), high
// contrast and the system's colours, and a watch on the app mode's key, which some tools
// change without telling the windows.
#pragma once

#include <windows.h>

#include "core/Palette.h"
#include "framework/RegistryWatch.h"

class SystemTheme {
public:
    // Posts COLOR_MODE_CHANGED_MESSAGE to `window` whenever the app mode's key changes.
    void Watch(HWND window);
    static core::ColorMode Mode();
    static core::SystemColors Colors();

private:
    fw::RegistryWatch watch;
};
