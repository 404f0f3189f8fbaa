// Whole-file reads and atomic replacement.
#include "framework/Files.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/DataFilePath.h"
#include "framework/Handles.h"
#include "framework/Text.h"

namespace fw {

namespace {

WriteSeam* installedSeam = nullptr;

std::wstring& Prefix()
{
    static std::wstring prefix = L"save-";
    return prefix;
}

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
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A new temporary file of this process in `folder` (ending in a separator, or empty for the
// current one), opened for writing and renaming and shared with nobody: while it is open, no
// other program can delete or rename it. CREATE_NEW never takes over an existing file.
DWORD CreateSaveTemporary(const std::wstring& folder, CHandle& file, std::wstring& name)
{
    DWORD error = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < 100 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
         ++attempt) {
        name = folder + core::TemporaryName(TemporaryPrefix(), GetCurrentProcessId(), attempt);
        file = CHandle(CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? ERROR_SUCCESS : GetLastError();
    }
    return error;
}

// The path in the form the rename of an open file takes: \??\C:\..., or \??\UNC\server\...
// for a share.
std::wstring NtPathOf(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return L"\\??\\" + path.substr(4);
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    if (length == 0 || GetFullPathNameW(path.c_str(), length, full.data(), nullptr) >= length)
        return path;
    full.resize(length - 1);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// Gives the open `file` the name `target`, replacing a file of that name in one step.
DWORD RenameOpenFile(HANDLE file, const std::wstring& target)
{
    const std::wstring name = NtPathOf(target);
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::uint8_t> record(sizeof(FILE_RENAME_INFO) + nameBytes, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(record.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(name.begin(), name.end(), info->FileName);
    if (!SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(record.size())))
        return GetLastError();
    return ERROR_SUCCESS;
}

}  // namespace

void SetWriteSeam(WriteSeam* seam)
{
    installedSeam = seam;
}

void SetTemporaryPrefix(std::wstring prefix)
{
    Prefix() = std::move(prefix);
}

const std::wstring& TemporaryPrefix()
{
    return Prefix();
}

DWORD ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes)
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

DWORD ReplaceFileAtomically(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    return ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

DWORD ReplaceFileAtomically(const std::wstring& path, std::string_view bytes)
{
    // The temporary file stays open, shared with nobody, until it has become `path`: a copy
    // of the program starting meanwhile cannot take it for one a killed save left behind.
    CHandle file;
    std::wstring temporary;
    DWORD error = CreateSaveTemporary(FolderOf(path), file, temporary);
    if (error != ERROR_SUCCESS)
        return error;
    if (WriteAll(file.Get(), bytes, error)) {
        if (!FlushFileBuffers(file.Get()))
            error = GetLastError();
        else
            error = RenameOpenFile(file.Get(), path);
    }
    file.Close();
    if (error != ERROR_SUCCESS)
        DeleteFileW(temporary.c_str());
    return error;
}

bool FolderTakesNewFiles(const std::wstring& folder)
{
    CHandle file;
    std::wstring name;
    if (CreateSaveTemporary(folder, file, name) != ERROR_SUCCESS)
        return false;
    file.Close();
    // Another copy starting at the same moment may have taken the closed file for a killed
    // save's and deleted it first.
    return DeleteFileW(name.c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void DeleteLeftoverTemporaries(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + TemporaryPrefix() + L"*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // A copy of the program that is saving holds its file open, so its delete fails.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && core::IsTemporaryName(TemporaryPrefix(), found.cFileName))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

DWORD CopyToNewFile(const std::wstring& path, const std::wstring& copyPath)
{
    return CopyFileW(path.c_str(), copyPath.c_str(), TRUE) ? ERROR_SUCCESS : GetLastError();
}

DWORD MoveReplacing(const std::wstring& path, const std::wstring& newPath)
{
    return MoveFileExW(path.c_str(), newPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

bool FileExists(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// The buffer grows until the path fits: one of the longest size would be 64 KB of memory that
// the program keeps for a path of a few dozen characters.
std::wstring ProgramFile()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
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

}  // namespace fw
