// Where the data files live, and the names of the temporary files a save writes beside them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// `programPath` up to and including its last backslash, then `fileName`; the whole path
// then `fileName` when it has no backslash.
std::string BesideProgram(const std::string& programPath, const std::string& fileName);

// 64-bit FNV-1a of the key's UTF-16 units, as 16 hexadecimal digits: a name for a kernel
// object that stands for a key, such as a folder, whose characters a name cannot hold.
std::wstring HashText(std::wstring_view key);

// A temporary file that a save writes before it replaces its target:
// "<prefix><process id>-<attempt>.tmp", so that a running copy's own file can be told from
// another's.
std::wstring TemporaryName(std::wstring_view prefix, std::uint32_t processId, unsigned attempt);
// Whether `name` (without a folder) is such a file.
bool IsTemporaryName(std::wstring_view prefix, std::wstring_view name);

// The program's prefix, so that no other program's file is ever taken for one of its own.
constexpr const wchar_t* SAVE_TEMPORARY_PREFIX = L"dayvane-save-";
inline std::wstring SaveTemporaryName(std::uint32_t processId, unsigned attempt)
{
    return TemporaryName(SAVE_TEMPORARY_PREFIX, processId, attempt);
}
inline bool IsSaveTemporaryName(std::wstring_view name)
{
    return IsTemporaryName(SAVE_TEMPORARY_PREFIX, name);
}

}  // namespace core
