// Whole-file reads and atomic replacement of files, with the system's reason for a failure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Where the atomic writer sends its bytes. Tests install one that fails part-way.
class WriteSeam {
public:
    virtual ~WriteSeam() = default;
    // Writes `size` bytes to `file`; false with `error` set when the write failed.
    virtual bool Write(HANDLE file, const std::uint8_t* data, DWORD size, DWORD& error) = 0;
};

// Installs `seam` (not owned) for every later replacement; nullptr restores plain WriteFile.
void SetWriteSeam(WriteSeam* seam);

// The temporary files that replacements write are named "<prefix><process id>-<attempt>.tmp".
// A program gives a prefix of its own before its first write, so that no other program's
// file is ever taken for one; until then it is "save-".
void SetTemporaryPrefix(std::wstring prefix);
const std::wstring& TemporaryPrefix();

// Reads the whole file, opened without sharing. Returns ERROR_SUCCESS or the system's error.
DWORD ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` to a new temporary file of this process in the same folder, flushes it and
// then, still holding it open, renames it over `path` in one step. On any failure the old
// file is left as it was and the new one is removed. Returns ERROR_SUCCESS or the system's
// error.
DWORD ReplaceFileAtomically(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
DWORD ReplaceFileAtomically(const std::wstring& path, std::string_view bytes);

// Whether a new file can be created in `folder` (ending in a backslash) and deleted again:
// tried, not read from attributes, which say nothing about the folder's permissions.
bool FolderTakesNewFiles(const std::wstring& folder);

// Deletes the temporary files that saves killed part-way left in `folder` (ending in a
// backslash). A file that another running copy holds open while it saves stays.
void DeleteLeftoverTemporaries(const std::wstring& folder);

// Copies `path` to `copyPath`, which must not exist yet. Returns ERROR_SUCCESS or the error.
DWORD CopyToNewFile(const std::wstring& path, const std::wstring& copyPath);

// Gives the file `path` the name `newPath`, replacing a file of that name in one step, and
// returns once the move is on the disk. Returns ERROR_SUCCESS or the system's error.
DWORD MoveReplacing(const std::wstring& path, const std::wstring& newPath);

// True unless the system says there is no such file (a file it cannot look at counts as there).
bool FileExists(const std::wstring& path);

// The running program's own file, however long its path; empty when the system cannot say.
std::wstring ProgramFile();

// The system's description of an error, as one line.
std::string SystemMessage(DWORD error);

// A file that could not be written, and the system's reason.
struct FileFailure {
    std::wstring path;
    DWORD error;
};

}  // namespace fw
