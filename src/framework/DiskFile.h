// A data file read and replaced whole for the core, with the system's reason for a failure.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "core/NoteStore.h"

namespace fw {

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
