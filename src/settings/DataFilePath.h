// Where the program's two data files live: beside the program file when its folder can be
// written, otherwise in the user's own folder.
#pragma once

#include <string>

constexpr const char* SETTINGS_FILE_NAME = "qor_info.dat";
constexpr const char* NOTES_FILE_NAME = "qor_nots.dat";

// The folder of the running program file, with a trailing backslash, then `fileName`.
std::wstring ProgramFilePath(const std::string& fileName);

// Decides once, at start, where this run keeps its data files: beside the program when a
// file can be created and deleted there, otherwise in "%LOCALAPPDATA%\Dayvane". Leaves
// nothing behind: the trial file is deleted again.
void ChooseDataFolder();

// The data folder spelt one way for every way of writing it (full path, long names, upper
// case), to tell whether two runs share their data files.
std::wstring DataFolderIdentity();

// Readies the chosen folder for the one run that uses it: creates the user's folder when
// missing, then removes the temporary files that killed saves left there.
void PrepareDataFolder();

// The folder that holds the data files, with a trailing backslash.
std::wstring DataFolder();

// Where a data file is written: in the data folder.
std::wstring DataFilePath(const std::string& fileName);

// Where a data file is read at start: the data folder's file; when the data folder is the
// user's own and has no such file yet, the one beside the program (a program copied with
// its files into a folder the user cannot write finds its notes).
std::wstring DataFileToRead(const std::string& fileName);

// Makes the data folder `folder` (ending in a backslash) instead of the program's folder;
// an empty text restores the program's. Tests that run the window inside the test program
// keep their files in a folder of their own this way.
void SetDataFolder(const std::string& folder);
