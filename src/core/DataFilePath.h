// Where the data files live: beside the program file, whatever the current directory.
#pragma once

#include <string>

namespace core {

// `programPath` up to and including its last backslash, then `fileName`; the whole path
// then `fileName` when it has no backslash.
std::string BesideProgram(const std::string& programPath, const std::string& fileName);

}  // namespace core
