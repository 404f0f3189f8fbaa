// The data-file path rule and the temporary files of a save.
#include "core/DataFilePath.h"

#include <string_view>

namespace core {

namespace {

constexpr std::wstring_view SAVE_PREFIX = L"dayvane-save-";
constexpr std::wstring_view SAVE_SUFFIX = L".tmp";

// A run of ASCII digits at `at`, ended by `end`; the position after it, or npos.
std::size_t SkipNumber(std::wstring_view text, std::size_t at, wchar_t end)
{
    std::size_t after = at;
    while (after < text.size() && text[after] >= L'0' && text[after] <= L'9')
        ++after;
    if (after == at || after - at > 10 || after >= text.size() || text[after] != end)
        return std::wstring_view::npos;
    return after + 1;
}

}  // namespace

std::string BesideProgram(const std::string& programPath, const std::string& fileName)
{
    const std::size_t slash = programPath.rfind('\\');
    return (slash == std::string::npos ? programPath : programPath.substr(0, slash + 1)) + fileName;
}

std::wstring SaveTemporaryName(std::uint32_t processId, unsigned attempt)
{
    return std::wstring(SAVE_PREFIX) + std::to_wstring(processId) + L"-" + std::to_wstring(attempt) +
           std::wstring(SAVE_SUFFIX);
}

bool IsSaveTemporaryName(const std::wstring& name)
{
    const std::wstring_view text(name);
    if (text.size() <= SAVE_PREFIX.size() + SAVE_SUFFIX.size() || text.substr(0, SAVE_PREFIX.size()) != SAVE_PREFIX)
        return false;
    const std::size_t afterProcess = SkipNumber(text, SAVE_PREFIX.size(), L'-');
    if (afterProcess == std::wstring_view::npos)
        return false;
    const std::size_t afterAttempt = SkipNumber(text, afterProcess, L'.');
    return afterAttempt != std::wstring_view::npos && text.substr(afterAttempt - 1) == SAVE_SUFFIX;
}

}  // namespace core
