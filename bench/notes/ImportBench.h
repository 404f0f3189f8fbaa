// The iCalendar import's benchmarks: 50,000 events read and placed into an empty store,
// beside a plain read of the same file's bytes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

constexpr std::size_t IMPORTED_EVENTS = 50000;
constexpr double importTargetSeconds = 1.0;

// Writes the calendar into `folder` and registers "import/50000/plain_read" and
// "import/50000/import".
void RegisterImportBenchmarks(const std::filesystem::path& folder);
std::string ImportName(const char* what);
