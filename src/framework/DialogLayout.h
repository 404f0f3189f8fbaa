// Where the dialog manager puts a dialog template's window and controls at a given DPI.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace fw {

struct DialogLayout {
    SIZE size{};
    // Each control's identifier and rectangle in the dialog's client area.
    std::vector<std::pair<int, RECT>> controls;
};

// Lays out the DIALOGEX template `templateId` as a dialog made at `dpi` is laid out: its
// font made at that DPI gives the dialog units (the average width of the alphabet, the
// font's height). False when the template cannot be found or read.
bool LayOutTemplate(HINSTANCE instance, UINT templateId, int dpi, DialogLayout& layout);

}  // namespace fw
