// A file that only grows: each append reaches the disk before it returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Archive.h"
#include "framework/Handles.h"

namespace fw {

class AppendFile {
public:
    // Opens `path` for appending, creating it when it is missing. Readers may share it;
    // nobody may write, rename or delete it while it is open here. Returns ERROR_SUCCESS or
    // the system's error.
    DWORD Open(const std::wstring& path);
    bool IsOpen() const { return static_cast<bool>(file); }
    // The file's size when opened, plus what was appended since.
    std::uint64_t Size() const { return size; }
    // Writes `bytes` at the end and flushes them to the disk. A write that fails part-way
    // leaves a torn tail, which the file's reader must tell from a whole record.
    DWORD Append(const core::Bytes& bytes);
    void Close();

private:
    CHandle file;
    std::uint64_t size = 0;
};

}  // namespace fw
