// The data-file path rule and the temporary files of a save.
#include "core/DataFilePath.h"

#include <string_view>

#include "core/Numerals.h"

namespace core {

namespace {

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

std::wstring HashText(std::wstring_view key)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : key) {
        hash ^= static_cast<std::uint16_t>(unit);
        hash *= 1099511628211ull;
    }
    std::wstring text(16, L'0');
    for (auto digit = text.rbegin(); digit != text.rend(); ++digit, hash >>= 4)
        *digit = L"0123456789abcdef"[hash & 0xF];
    return text;
}

std::wstring TemporaryName(std::wstring_view prefix, std::uint32_t processId, unsigned attempt)
{
    return std::wstring(prefix) + WideDecimal(processId) + L"-" + WideDecimal(attempt) + std::wstring(SAVE_SUFFIX);
}

bool IsTemporaryName(std::wstring_view prefix, std::wstring_view text)
{
    if (prefix.empty() || text.size() <= prefix.size() + SAVE_SUFFIX.size() || text.substr(0, prefix.size()) != prefix)
        return false;
    const std::size_t afterProcess = SkipNumber(text, prefix.size(), L'-');
    if (afterProcess == std::wstring_view::npos)
        return false;
    const std::size_t afterAttempt = SkipNumber(text, afterProcess, L'.');
    return afterAttempt != std::wstring_view::npos && text.substr(afterAttempt - 1) == SAVE_SUFFIX;
}

}  // namespace core
