// The data folder: the program's own when it can be written, the user's otherwise.
#include "settings/DataFilePath.h"

#include <windows.h>
#include <shlobj.h>

#include "core/DataFilePath.h"
#include "framework/Files.h"
#include "framework/Text.h"

namespace {

std::wstring dataFolder;
// The program's folder could not be written, so the data folder is the user's own.
bool inUserFolder = false;

std::wstring ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder()
{
    return ProgramFilePath("");
}

// "%LOCALAPPDATA%\Dayvane\"; the shell's answer when the variable is not set.
std::wstring UserDataFolder()
{
    std::wstring local;
    if (const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0)) {
        local.resize(size);
        local.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", local.data(), size));
    }
    if (local.empty()) {
        wchar_t shell[MAX_PATH] = L"";
        if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, shell) == S_OK)
            local = shell;
    }
    if (!local.empty() && local.back() != L'\\')
        local += L'\\';
    return local + L"Dayvane\\";
}

}  // namespace

std::wstring ProgramFilePath(const std::string& fileName)
{
    return fw::Widen(core::BesideProgram(fw::Narrow(ProgramPath()), fileName));
}

void ChooseDataFolder()
{
    dataFolder = ProgramFolder();
    inUserFolder = !fw::FolderTakesNewFiles(dataFolder);
    if (inUserFolder) {
        dataFolder = UserDataFolder();
        // A failure shows when the first save cannot write there, naming the file.
        SHCreateDirectoryExW(nullptr, dataFolder.c_str(), nullptr);
    }
    fw::DeleteLeftoverTemporaries(dataFolder);
}

std::wstring DataFolder()
{
    return dataFolder.empty() ? ProgramFolder() : dataFolder;
}

std::wstring DataFilePath(const std::string& fileName)
{
    return DataFolder() + fw::Widen(fileName);
}

std::wstring DataFileToRead(const std::string& fileName)
{
    const std::wstring path = DataFilePath(fileName);
    if (inUserFolder && !fw::FileExists(path) && fw::FileExists(ProgramFilePath(fileName)))
        return ProgramFilePath(fileName);
    return path;
}

void SetDataFolder(const std::string& folder)
{
    dataFolder = fw::Widen(folder);
    inUserFolder = false;
}
