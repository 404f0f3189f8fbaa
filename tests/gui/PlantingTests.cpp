// Libraries planted beside the program under the names of system libraries: none is loaded, and
// the program's image asks Windows for the system folder alone when its imports bring libraries in.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

// System libraries that the program, or a system library it uses, loads under Wine or Windows.
// version.dll is not among them: Wine's own user32 imports it, so under Wine no program with
// a window can keep a planted one out.
const std::vector<std::wstring> plantedNames{L"uxtheme",   L"msimg32", L"comdlg32", L"dwmapi",
                                             L"winmm",     L"cryptbase", L"propsys"};

// The marker library, built beside the test program.
std::wstring MarkerLibrary()
{
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\')) + L"\\planting_marker.dll";
}

// Wine takes a library from the program's folder in place of its own only when told to prefer
// native libraries, and WINEDLLOVERRIDES in this process's environment would not reach the
// program: the prefix's per-program overrides do. The prefix is every window test's, so the
// values go again at the end, and the keys with them when nothing else is left in them.
class NativeLibrariesFirst {
public:
    explicit NativeLibrariesFirst(const std::vector<std::wstring>& libraries) : names(libraries)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, overridesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        const wchar_t order[] = L"native,builtin";
        written = true;
        for (const std::wstring& name : names)
            written = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                                     sizeof order) == ERROR_SUCCESS &&
                      written;
        RegCloseKey(key);
    }
    NativeLibrariesFirst(const NativeLibrariesFirst&) = delete;
    NativeLibrariesFirst& operator=(const NativeLibrariesFirst&) = delete;
    ~NativeLibrariesFirst()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, overridesKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        for (const std::wstring& name : names)
            RegDeleteValueW(key, name.c_str());
        RegCloseKey(key);
        for (const wchar_t* emptied : {overridesKey, programKey})
            if (IsEmptyKey(emptied))
                RegDeleteKeyW(HKEY_CURRENT_USER, emptied);
    }

    bool Written() const { return written; }

private:
    static bool IsEmptyKey(const wchar_t* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        DWORD subkeys = 1, values = 1;
        const bool read = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                           nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return read && subkeys == 0 && values == 0;
    }

    static constexpr const wchar_t* programKey = L"Software\\Wine\\AppDefaults\\dayvane.exe";
    static constexpr const wchar_t* overridesKey = L"Software\\Wine\\AppDefaults\\dayvane.exe\\DllOverrides";
    std::vector<std::wstring> names;
    bool written = false;
};

// Opens the dialog of a command, whose library comes at the first one, and cancels it.
void OpenAndCancel(const gui::Program& program, UINT command)
{
    PostMessageW(program.Window(), WM_COMMAND, command, 0);
    const HWND dialog = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(dialog, nullptr) << "command " << command << " opened no dialog";
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !IsWindow(dialog); })) << "command " << command;
}

// A start, both dialogs that load a library on first use, and the OK close.
void RunEveryLibraryPath(const gui::TempFolder& folder)
{
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    OpenAndCancel(program, ID_FONT_NOTES);
    OpenAndCancel(program, ID_NOTES_EXPORT);
    PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(5000)) << "the program did not close";
    EXPECT_EQ(program.ExitCode(), 0u);
}

// The names of the markers' files: the libraries that some process loaded from the folder.
std::vector<std::wstring> LoadedMarkers(const gui::TempFolder& folder)
{
    const std::wstring suffix = L".loaded";
    std::vector<std::wstring> loaded;
    for (const auto& entry : folder.Contents())
        if (entry.first.size() > suffix.size() &&
            _wcsicmp(entry.first.c_str() + entry.first.size() - suffix.size(), suffix.c_str()) == 0)
            loaded.push_back(entry.first);
    return loaded;
}

// The bytes of a 64-bit PE image at a relative virtual address, through its section table;
// empty when the image does not map that range.
std::string AtAddress(const std::string& image, const IMAGE_NT_HEADERS64& headers, std::size_t sectionTable,
                      DWORD address, DWORD size)
{
    for (WORD i = 0; i < headers.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section{};
        const std::size_t at = sectionTable + i * sizeof section;
        if (at + sizeof section > image.size())
            break;
        std::memcpy(&section, image.data() + at, sizeof section);
        if (address >= section.VirtualAddress && address - section.VirtualAddress + size <= section.SizeOfRawData) {
            const std::size_t position = section.PointerToRawData + (address - section.VirtualAddress);
            return position + size <= image.size() ? image.substr(position, size) : std::string();
        }
    }
    return {};
}

}  // namespace

TEST(Planting, NoLibraryBesideTheProgramIsLoadedInPlaceOfASystemOne)
{
    gui::TempFolder folder;
    const std::wstring marker = MarkerLibrary();
    ASSERT_TRUE(gui::FileExists(marker)) << "planting_marker.dll is not beside the test program";
    for (const std::wstring& name : plantedNames)
        ASSERT_TRUE(CopyFileW(marker.c_str(), folder.File(name + L".dll").c_str(), FALSE));
    NativeLibrariesFirst nativeFirst(plantedNames);
    ASSERT_TRUE(nativeFirst.Written());

    RunEveryLibraryPath(folder);
    EXPECT_EQ(LoadedMarkers(folder), std::vector<std::wstring>{});
    // The program ran as it always does: the OK close wrote the notes file beside it.
    EXPECT_TRUE(gui::FileExists(folder.File(L"qor_nots.dat")));
}

// Windows 10 and later read DependentLoadFlags from the image's load configuration before the
// program runs (Wine does not), and search the system folder alone for the libraries that the
// import table brings in and for theirs.
TEST(Planting, TheImageAsksForTheLibrariesItsImportsBringFromTheSystemFolderOnly)
{
    const std::string image = gui::ReadFileBytes(gui::Config().program);
    ASSERT_FALSE(image.empty()) << "--program= missing or wrong";
    IMAGE_DOS_HEADER dos{};
    ASSERT_GE(image.size(), sizeof dos);
    std::memcpy(&dos, image.data(), sizeof dos);
    IMAGE_NT_HEADERS64 headers{};
    const std::size_t at = static_cast<std::size_t>(dos.e_lfanew);
    ASSERT_LE(at + sizeof headers, image.size());
    std::memcpy(&headers, image.data() + at, sizeof headers);
    ASSERT_EQ(headers.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    ASSERT_EQ(headers.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    ASSERT_GT(headers.OptionalHeader.NumberOfRvaAndSizes, static_cast<DWORD>(IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG));

    const IMAGE_DATA_DIRECTORY entry = headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    ASSERT_NE(entry.VirtualAddress, 0u) << "the image names no load configuration";
    // DependentLoadFlags is the word at offset 78 of the 64-bit structure, whose first word is
    // its size: the size must reach past it.
    constexpr DWORD flagsOffset = 78;
    const std::size_t sectionTable = at + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                     headers.FileHeader.SizeOfOptionalHeader;
    const std::string configuration = AtAddress(image, headers, sectionTable, entry.VirtualAddress, entry.Size);
    ASSERT_GE(configuration.size(), flagsOffset + sizeof(WORD)) << "load configuration of " << entry.Size << " bytes";
    DWORD size = 0;
    WORD flags = 0;
    std::memcpy(&size, configuration.data(), sizeof size);
    std::memcpy(&flags, configuration.data() + flagsOffset, sizeof flags);
    EXPECT_EQ(size, entry.Size);
    EXPECT_EQ(flags, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
