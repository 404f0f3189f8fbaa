// Where the data files live, and the names of the temporary files a save writes beside them.
#pragma once

#include <cstdint>
#include <string>

namespace core {

// `programPath` up to and including its last backslash, then `fileName`; the whole path
// then `fileName` when it has no backslash.
std::string BesideProgram(const std::string& programPath, const std::string& fileName);

// The temporary file a save writes before it replaces its target:
// "dayvane-save-<process id>-<attempt>.tmp", so that no other program's file is ever
// taken for one and a running copy's own file can be told from another's.
std::wstring SaveTemporaryName(std::uint32_t processId, unsigned attempt);
// Whether `name` (without a folder) is such a file.
bool IsSaveTemporaryName(const std::wstring& name);
// What a folder search lists to find them; IsSaveTemporaryName then decides.
constexpr const wchar_t* SAVE_TEMPORARY_PATTERN = L"dayvane-save-*.tmp";

}  // namespace core
