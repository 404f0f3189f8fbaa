// Whole-file reads and atomic replacement.
#include "framework/Files.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Text.h"

namespace fw {

namespace {

WriteSeam* installedSeam = nullptr;

constexpr DWORD CHUNK_SIZE = 1 << 20;

bool WriteAll(HANDLE file, std::string_view bytes, DWORD& error)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD size = static_cast<DWORD>(std::min<std::size_t>(CHUNK_SIZE, bytes.size() - done));
        if (installedSeam) {
            if (!installedSeam->Write(file, reinterpret_cast<const std::uint8_t*>(bytes.data()) + done, size, error))
                return false;
        } else {
            DWORD written = 0;
            if (!WriteFile(file, bytes.data() + done, size, &written, nullptr) || written != size) {
                error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
                return false;
            }
        }
        done += size;
    }
    return true;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

}  // namespace

void SetWriteSeam(WriteSeam* seam)
{
    installedSeam = seam;
}

DWORD ReadWholeFile(const std::wstring& path, core::Bytes& bytes)
{
    bytes.clear();
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        error = GetLastError();
    } else if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size() / 2) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    } else {
        try {
            bytes.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            error = ERROR_NOT_ENOUGH_MEMORY;
        }
        for (std::size_t done = 0; error == ERROR_SUCCESS && done < bytes.size();) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(CHUNK_SIZE, bytes.size() - done));
            DWORD got = 0;
            if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
                error = GetLastError();
            else if (got == 0)
                error = ERROR_HANDLE_EOF;
            done += got;
        }
    }
    if (error != ERROR_SUCCESS)
        bytes.clear();
    return error;
}

DWORD ReplaceFileAtomically(const std::wstring& path, const core::Bytes& bytes)
{
    return ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

DWORD ReplaceFileAtomically(const std::wstring& path, std::string_view bytes)
{
    // GetTempFileName creates a file with a unique name, so two running copies of the
    // program never write into each other's temporary file.
    wchar_t temporary[MAX_PATH + 1];
    if (!GetTempFileNameW(FolderOf(path).c_str(), L"dvn", 0, temporary))
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
    CHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = GetLastError();
    } else {
        if (WriteAll(file.Get(), bytes, error) && !FlushFileBuffers(file.Get()))
            error = GetLastError();
        if (!file.Close() && error == ERROR_SUCCESS)
            error = GetLastError();
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileW(temporary);
    return error;
}

DWORD CopyToNewFile(const std::wstring& path, const std::wstring& copyPath)
{
    return CopyFileW(path.c_str(), copyPath.c_str(), TRUE) ? ERROR_SUCCESS : GetLastError();
}

bool FileExists(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

std::string SystemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty())
        return "System error " + std::to_string(error) + ".";
    return Narrow(message);
}

bool DiskFile::ReadAll(core::Bytes& bytes)
{
    lastError = ReadWholeFile(path, bytes);
    return lastError == ERROR_SUCCESS;
}

bool DiskFile::Replace(const core::Bytes& bytes)
{
    lastError = ReplaceFileAtomically(path, bytes);
    return lastError == ERROR_SUCCESS;
}

}  // namespace fw
