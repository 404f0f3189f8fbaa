// Requests to the shell.
#include "framework/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/Text.h"

namespace fw {

void ShellOpen(std::string_view target, int showCommand)
{
    ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, showCommand);
}

}  // namespace fw
