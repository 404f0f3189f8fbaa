// Requests to the shell.
#pragma once

#include <string_view>

namespace fw {

// Asks the shell to open `target` with its "open" verb; the outcome is the shell's.
void ShellOpen(std::string_view target, int showCommand);

// Tests see the requests instead of the shell: `handler` (nullptr restores the shell)
// receives every later ShellOpen.
using ShellHandler = void (*)(std::string_view target, int showCommand);
void SetShellHandler(ShellHandler handler);

}  // namespace fw
