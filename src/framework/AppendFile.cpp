// Appending to a file and flushing each append.
#include "framework/AppendFile.h"

namespace fw {

DWORD AppendFile::Open(const std::wstring& path)
{
    Close();
    file = CHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file.Get(), LARGE_INTEGER{}, &end, FILE_END)) {
        const DWORD error = GetLastError();
        Close();
        return error;
    }
    size = static_cast<std::uint64_t>(end.QuadPart);
    return ERROR_SUCCESS;
}

DWORD AppendFile::Append(const core::Bytes& bytes)
{
    if (!file)
        return ERROR_INVALID_HANDLE;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    size += written;
    if (!wrote || written != bytes.size())
        return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    // The record is on the disk, not only in the system's cache, before anyone relies on it.
    if (!FlushFileBuffers(file.Get()))
        return GetLastError();
    return ERROR_SUCCESS;
}

void AppendFile::Close()
{
    file.Close();
    size = 0;
}

}  // namespace fw
