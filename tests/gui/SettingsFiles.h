// Settings files for the window tests: the defaults as the program writes them, and the
// bytes of any record.
#pragma once

#include <string>

#include "core/SettingsFile.h"

namespace gui {

// The platform's Tahoma at height -11, as the program's base font.
core::LogicalFont Tahoma();
// The first-run settings at a given position.
core::CalendarSettings DefaultSettings(int left = 40, int top = 50);
std::string EncodeSettings(const core::CalendarSettings& settings);
// Decodes a settings file; a file that does not decode fails the test.
core::CalendarSettings DecodeSettings(const std::string& bytes);

}  // namespace gui
