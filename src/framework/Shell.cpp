// Requests to the shell.
#include "framework/Shell.h"

#include "framework/SystemLibraries.h"
#include "framework/Text.h"

namespace fw {

namespace {
ShellHandler installedHandler = nullptr;
}  // namespace

void SetShellHandler(ShellHandler handler)
{
    installedHandler = handler;
}

void ShellOpen(std::string_view target, int showCommand)
{
    if (installedHandler) {
        installedHandler(target, showCommand);
        return;
    }
    ShellExecuteW(L"open", Widen(target).c_str(), showCommand);
}

}  // namespace fw
