// The iCalendar import's benchmarks: 50,000 events read and placed into an empty store,
// beside a plain read of the same file's bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

constexpr std::size_t IMPORTED_EVENTS = 50000;
constexpr double importTargetSeconds = 1.0;

// Writes the calendar into `folder` and registers "import/50000/plain_read" and
// "import/50000/import".
void RegisterImportBenchmarks(const std::filesystem::path& folder);
std::string ImportName(const char* what);

// Reads the whole file at `path` into `bytes` (a string or a byte vector), as the program's
// readers do; false when it could not be read whole.
template <class Buffer>
bool ReadWholeFile(const std::filesystem::path& path, Buffer& bytes)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr)
        return false;
    bool ok = std::fseek(stream, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(stream) : -1;
    ok = size >= 0 && std::fseek(stream, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    }
    return std::fclose(stream) == 0 && ok;
}
