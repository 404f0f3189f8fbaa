// Data files for the window tests: the default settings as the program writes them, the bytes
// of any settings record, notes files, and the names of the copy running on a data folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/NoteStore.h"
#include "core/SettingsFile.h"

namespace gui {

// The platform's Tahoma at height -11, as the program's base font.
core::LogicalFont Tahoma();
// The first-run settings at a given position.
core::CalendarSettings DefaultSettings(int left = 40, int top = 50);
std::string EncodeSettings(const core::CalendarSettings& settings);
// Decodes a settings file; a file that does not decode fails the test.
core::CalendarSettings DecodeSettings(const std::string& bytes);

// A notes file holding `notes`, set in this order.
std::string EncodeNotes(const std::vector<core::DayNote>& notes);
// Each day's note in a notes file; a file that does not read whole fails the test.
std::map<std::string, std::string> DecodeNotes(const std::string& bytes);

// The name of a kernel object of the copy running on the data folder `folder`, as
// `prefix` + the scope and the folder's hash + `suffix` ("Global\\", ".Running").
std::wstring RunningCopyName(const std::wstring& folder, const std::wstring& prefix, const std::wstring& suffix);

}  // namespace gui
