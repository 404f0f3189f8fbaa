// The program's entry point: system libraries from the system folder only, then the one application object.
#include <windows.h>

#include <cstddef>

#include "framework/SystemLibraries.h"
#include "framework/WinApp.h"

namespace {

// The 64-bit load configuration in its first form (112 bytes), which Windows 10 and later read
// DependentLoadFlags from, in the word that form called Reserved1. Every other field stays
// zero: no security cookie, no limits of its own.
struct LoadConfiguration {
    DWORD size;
    BYTE before[74];
    WORD dependentLoadFlags;
    BYTE after[32];
};
static_assert(offsetof(LoadConfiguration, dependentLoadFlags) == 78 && sizeof(LoadConfiguration) == 112,
              "the layout of IMAGE_LOAD_CONFIG_DIRECTORY64");

}  // namespace

// The libraries that the program's import table brings in, and theirs, are looked for in the
// system folder only: the loader reads this before the program's first instruction, when
// nothing the program calls could protect it. GNU ld points the image's load configuration
// entry at the symbol of this name.
extern "C" alignas(8) const LoadConfiguration _load_config_used{sizeof(LoadConfiguration), {},
                                                                  LOAD_LIBRARY_SEARCH_SYSTEM32, {}};

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    fw::SearchSystemFolderOnly();
    // Every window of the program holds common controls.
    if (!fw::InitCommonControls())
        return 1;
    // What fails before a window is up (memory running out while the data folder is
    // chosen, say) is told as well, and the program ends with an error.
    try {
        return fw::CWinApp::Current().Run(instance);
    } catch (...) {
        fw::CWinApp::Current().ReportException(nullptr, "start");
        return 1;
    }
}
