// Requests to the shell.
#pragma once

#include <string_view>

namespace fw {

// Asks the shell to open `target` with its "open" verb; the outcome is the shell's.
void ShellOpen(std::string_view target, int showCommand);

}  // namespace fw
