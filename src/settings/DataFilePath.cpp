// The data-file paths from the program file's path.
#include "settings/DataFilePath.h"

#include <windows.h>

#include "core/DataFilePath.h"
#include "framework/Text.h"

namespace {

std::string dataFolder;

std::string ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return fw::Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::wstring DataFilePath(const std::string& fileName)
{
    return fw::Widen(dataFolder.empty() ? core::BesideProgram(ProgramPath(), fileName) : dataFolder + fileName);
}

void SetDataFolder(const std::string& folder)
{
    dataFolder = folder;
}
