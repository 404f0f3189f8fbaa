// The data folder: the program's own when it can be written, the user's otherwise.
#include "settings/DataFilePath.h"

#include <windows.h>
#include <shlobj.h>

#include "core/DataFilePath.h"
#include "framework/Files.h"
#include "framework/SystemLibraries.h"
#include "framework/Text.h"

namespace {

std::wstring dataFolder;
// The program's folder could not be written, so the data folder is the user's own.
bool inUserFolder = false;

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
        if (fw::SHGetFolderPathW(CSIDL_LOCAL_APPDATA, shell) == S_OK)
            local = shell;
    }
    if (!local.empty() && local.back() != L'\\')
        local += L'\\';
    return local + L"Dayvane\\";
}

// The long form of an existing path; empty when there is none.
std::wstring LongPathOf(const std::wstring& path)
{
    const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    std::wstring longPath(size, L'\0');
    const DWORD length = size ? GetLongPathNameW(path.c_str(), longPath.data(), size) : 0;
    longPath.resize(length < size ? length : 0);
    return longPath;
}

// The folder (ending in a backslash) with every part in its long form. Only its last part
// can be missing, the user's folder before the first run there, and then the parent's long
// form comes before that part as written.
std::wstring LongFolder(const std::wstring& folder)
{
    if (std::wstring longFolder = LongPathOf(folder); !longFolder.empty())
        return longFolder;
    const std::size_t parentEnd = folder.size() < 2 ? std::wstring::npos : folder.find_last_of(L'\\', folder.size() - 2);
    if (parentEnd == std::wstring::npos)
        return folder;
    const std::wstring parent = LongPathOf(folder.substr(0, parentEnd + 1));
    return parent.empty() ? folder : parent + folder.substr(parentEnd + 1);
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(path.c_str(), size, full.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

// Upper case as the file system compares names: the same for every user's language.
std::wstring UpperCase(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int size = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), length, nullptr, 0,
                                   nullptr, nullptr, 0);
    std::wstring upper(static_cast<std::size_t>(size), L'\0');
    if (size <= 0 || LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), length, upper.data(), size,
                                   nullptr, nullptr, 0) != size)
        return text;
    return upper;
}

}  // namespace

std::wstring ProgramFilePath(const std::string& fileName)
{
    return fw::Widen(core::BesideProgram(fw::Narrow(fw::ProgramFile()), fileName));
}

void ChooseDataFolder()
{
    fw::SetTemporaryPrefix(core::SAVE_TEMPORARY_PREFIX);
    dataFolder = ProgramFolder();
    inUserFolder = !fw::FolderTakesNewFiles(dataFolder);
    if (inUserFolder)
        dataFolder = UserDataFolder();
}

std::wstring DataFolderIdentity()
{
    std::wstring folder = LongFolder(FullPath(DataFolder()));
    // The user's folder is written with a trailing backslash and may not yet exist, which
    // the long form may keep or drop, so no form keeps it.
    while (folder.size() > 1 && folder.back() == L'\\')
        folder.pop_back();
    return UpperCase(folder);
}

void PrepareDataFolder()
{
    // A failure shows when the first save cannot write there, naming the file.
    if (inUserFolder)
        fw::SHCreateDirectoryExW(dataFolder.c_str());
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
    fw::SetTemporaryPrefix(core::SAVE_TEMPORARY_PREFIX);
    dataFolder = fw::Widen(folder);
    inUserFolder = false;
}
