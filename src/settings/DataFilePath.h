// The full paths of the program's two data files, beside the program file.
#pragma once

#include <string>

constexpr const char* SETTINGS_FILE_NAME = "qor_info.dat";
constexpr const char* NOTES_FILE_NAME = "qor_nots.dat";

// The folder of the running program file, with a trailing backslash, then `fileName`.
std::wstring DataFilePath(const std::string& fileName);

// Makes DataFilePath use `folder` (ending in a backslash) instead of the program's folder;
// an empty text restores the program's. Tests that run the window inside the test program
// keep their files in a folder of their own this way.
void SetDataFolder(const std::string& folder);
