// Whole-file reads and atomic replacement of files, with the system's reason for a failure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/NoteStore.h"

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

// Reads the whole file, opened without sharing. Returns ERROR_SUCCESS or the system's error.
DWORD ReadWholeFile(const std::wstring& path, core::Bytes& bytes);

// Writes `bytes` to a new temporary file of this process in the same folder, flushes it and
// then, still holding it open, renames it over `path` in one step. On any failure the old
// file is left as it was and the new one is removed. Returns ERROR_SUCCESS or the system's
// error.
DWORD ReplaceFileAtomically(const std::wstring& path, const core::Bytes& bytes);
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

// The system's description of an error, as one line.
std::string SystemMessage(DWORD error);

// A file that could not be written, and the system's reason.
struct FileFailure {
    std::wstring path;
    DWORD error;
};

// A data file of the program: the core reads and replaces it, and the window asks for the
// reason when that failed.
class DiskFile : public core::DataFile {
public:
    explicit DiskFile(std::wstring filePath) : path(std::move(filePath)) {}

    bool ReadAll(core::Bytes& bytes) override;
    bool Replace(const core::Bytes& bytes) override;

    const std::wstring& Path() const { return path; }
    DWORD LastError() const { return lastError; }

protected:
    // Keeps `error` as the reason LastError gives; true when it is ERROR_SUCCESS.
    bool Record(DWORD error);

private:
    std::wstring path;
    DWORD lastError = ERROR_SUCCESS;
};

}  // namespace fw
