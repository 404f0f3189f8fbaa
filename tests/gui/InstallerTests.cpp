// The MSI package, installed as a user installs it, in a Wine prefix of its own: the files and
// the Start-menu shortcut, a start and an OK close of the installed program, an upgrade in
// place that keeps the notes, and an uninstall that removes the program, its shortcut and its
// "Start with Windows" entry but never the notes.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::set<std::wstring> packedNames{L"Help.chm", L"LICENSE.txt", L"README.txt", L"dayvane.exe"};
const std::string note = "Written in the installed Dayvane";

std::wstring ShellFolder(int folder)
{
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring InstallFolder()
{
    return ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Dayvane";
}

std::wstring InstalledProgram()
{
    return InstallFolder() + L"\\dayvane.exe";
}

std::wstring Shortcut()
{
    return ShellFolder(CSIDL_PROGRAMS) + L"\\Dayvane.lnk";
}

// Runs msiexec with `arguments` and waits up to two minutes for it; its exit code.
DWORD Msiexec(const std::wstring& arguments)
{
    std::wstring command = L"msiexec.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    DWORD code = WAIT_TIMEOUT;
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

DWORD Install(const std::wstring& package)
{
    return Msiexec(L"/i \"" + package + L"\" /qn");
}

DWORD Uninstall(const std::wstring& package)
{
    return Msiexec(L"/x \"" + package + L"\" /qn");
}

// A property of a package file, read from its Property table; empty when it has none.
std::wstring PackageProperty(const std::wstring& package, const std::wstring& name)
{
    MSIHANDLE database = 0, view = 0, record = 0;
    std::wstring value;
    if (MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS)
        return value;
    const std::wstring query = L"SELECT `Value` FROM `Property` WHERE `Property` = '" + name + L"'";
    if (MsiDatabaseOpenViewW(database, query.c_str(), &view) == ERROR_SUCCESS && MsiViewExecute(view, 0) == ERROR_SUCCESS &&
        MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        wchar_t text[256] = L"";
        DWORD size = 256;
        if (MsiRecordGetStringW(record, 1, text, &size) == ERROR_SUCCESS)
            value = text;
        MsiCloseHandle(record);
    }
    if (view)
        MsiCloseHandle(view);
    MsiCloseHandle(database);
    return value;
}

// What "Apps & features" shows of an installed product; empty when the product has no such entry.
std::wstring ProductInfo(const std::wstring& product, const wchar_t* property)
{
    wchar_t text[512] = L"";
    DWORD size = 512;
    return MsiGetProductInfoW(product.c_str(), property, text, &size) == ERROR_SUCCESS ? text : L"";
}

// The installed products of the package's family.
std::vector<std::wstring> RelatedProducts(const std::wstring& upgradeCode)
{
    std::vector<std::wstring> products;
    wchar_t product[39];
    for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, product) == ERROR_SUCCESS; ++i)
        products.push_back(product);
    return products;
}

// The "Dayvane" value of a Run key; empty when there is none.
std::wstring RunEntry(HKEY root)
{
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    return RegGetValueW(root, runKey.c_str(), L"Dayvane", RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS ? text
                                                                                                             : L"";
}

void SetRunEntry(const std::wstring& command)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, runKey.c_str(), L"Dayvane", REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

// The program a shortcut starts; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& shortcut)
{
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = L"";
        if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

// The ProductVersion string of a program's version resource.
std::wstring ProgramVersion(const std::wstring& program)
{
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    wchar_t* value = nullptr;
    UINT length = 0;
    if (block.empty() || !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&value),
                        &length) ||
        !value)
        return {};
    return value;
}

// The notes box's text, asked of the other process (GetWindowText would not ask it).
std::wstring NotesText(HWND window)
{
    wchar_t text[256] = L"";
    SendMessageW(GetDlgItem(window, IDC_NOTES), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// Wine's RemoveExistingProducts does not set UPGRADINGPRODUCTCODE for the older version's
// uninstall, which then removes the "Start with Windows" entry as a plain uninstall does.
bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// What an earlier run that failed half-way may have left in this prefix.
void RemoveLeftovers()
{
    Uninstall(gui::Config().newerMsi);
    Uninstall(gui::Config().msi);
    for (const auto& file : gui::FolderContents(InstallFolder()))
        DeleteFileW((InstallFolder() + L"\\" + file.first).c_str());
    RemoveDirectoryW(InstallFolder().c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, runKey.c_str(), L"Dayvane");
}

std::set<std::wstring> NamesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    for (const auto& file : gui::FolderContents(folder))
        names.insert(file.first);
    return names;
}

class ComScope {
public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

}  // namespace

TEST(Installer, InstallsForTheUserUpgradesInPlaceAndUninstallsButKeepsTheNotes)
{
    const gui::Options& config = gui::Config();
    ASSERT_FALSE(config.msi.empty() || config.newerMsi.empty() || config.unpacked.empty())
        << "--msi=, --newer-msi= or --unpacked= missing";
    const ComScope com;
    struct CleanUp {
        ~CleanUp() { RemoveLeftovers(); }
    } cleanUp;
    RemoveLeftovers();

    // The two packages: one family, a product code per version, the version the program carries.
    const std::wstring upgradeCode = PackageProperty(config.msi, L"UpgradeCode");
    const std::wstring product = PackageProperty(config.msi, L"ProductCode");
    const std::wstring newerProduct = PackageProperty(config.newerMsi, L"ProductCode");
    const std::wstring version = PackageProperty(config.msi, L"ProductVersion");
    ASSERT_FALSE(upgradeCode.empty() || product.empty() || newerProduct.empty());
    EXPECT_EQ(PackageProperty(config.newerMsi, L"UpgradeCode"), upgradeCode);
    EXPECT_NE(newerProduct, product);
    EXPECT_EQ(version, ProgramVersion(config.unpacked + L"\\dayvane.exe"));

    // 1. Installed for this user alone, without asking anything.
    ASSERT_EQ(Install(config.msi), 0u);
    const auto installed = gui::FolderContents(InstallFolder());
    EXPECT_EQ(NamesIn(InstallFolder()), packedNames);
    for (const std::wstring& name : packedNames)
        EXPECT_TRUE(installed.count(name) && installed.at(name) == gui::ReadFileBytes(config.unpacked + L"\\" + name))
            << testing::PrintToString(name) << " is not the zip's";
    EXPECT_FALSE(gui::FileExists(ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Dayvane"));
    EXPECT_EQ(ShortcutTarget(Shortcut()), InstalledProgram());
    EXPECT_EQ(RelatedProducts(upgradeCode), std::vector<std::wstring>{product});
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_INSTALLEDPRODUCTNAME), L"Dayvane");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), version);
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_PUBLISHER), L"The Dayvane developers");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_HELPLINK), L"https://dayvane.example/");
    EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_INSTALLLOCATION), InstallFolder() + L"\\");

    // 2, 3. The installed program comes up, takes a note, starts with Windows and closes
    // through its OK path: its data files go beside it.
    {
        gui::Program program(InstalledProgram());
        ASSERT_NE(program.Window(), nullptr);
        SendMessageW(GetDlgItem(program.Window(), IDC_NOTES), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(std::wstring(note.begin(), note.end()).c_str()));
        SendMessageW(program.Window(), WM_COMMAND, ID_START_WITH_WINDOWS, 0);
        PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);
        ASSERT_TRUE(program.WaitForExit(10000));
    }
    const std::string notes = gui::ReadFileBytes(InstallFolder() + L"\\qor_nots.dat");
    EXPECT_NE(notes.find(note), std::string::npos);
    EXPECT_EQ(RunEntry(HKEY_CURRENT_USER), L"\"" + InstalledProgram() + L"\"");
    EXPECT_EQ(RunEntry(HKEY_LOCAL_MACHINE), L"") << "written for the whole machine";

    // 4. The newer package replaces the older one in place.
    ASSERT_EQ(Install(config.newerMsi), 0u);
    EXPECT_EQ(RelatedProducts(upgradeCode), std::vector<std::wstring>{newerProduct});
    std::set<std::wstring> withData = packedNames;
    withData.insert({L"qor_nots.dat", L"qor_info.dat"});
    EXPECT_EQ(NamesIn(InstallFolder()), withData);
    EXPECT_EQ(gui::ReadFileBytes(InstallFolder() + L"\\qor_nots.dat"), notes);
    EXPECT_EQ(ShortcutTarget(Shortcut()), InstalledProgram());
    const std::wstring entry = L"\"" + InstalledProgram() + L"\"";
    if (!UnderWine()) {
        EXPECT_EQ(RunEntry(HKEY_CURRENT_USER), entry) << "the upgrade lost the entry";
    }

    // 5. Started as the logon starts it and then from the shortcut: one window, which shows
    // the note again.
    {
        gui::Program atLogon(InstalledProgram());
        ASSERT_NE(atLogon.Window(), nullptr);
        EXPECT_EQ(NotesText(atLogon.Window()), std::wstring(note.begin(), note.end()));
        if (RunEntry(HKEY_CURRENT_USER) != entry)
            SendMessageW(atLogon.Window(), WM_COMMAND, ID_START_WITH_WINDOWS, 0);
        gui::Program fromShortcut(ShortcutTarget(Shortcut()), gui::Await::Nothing);
        ASSERT_TRUE(fromShortcut.WaitForExit(10000));
        EXPECT_EQ(fromShortcut.ExitCode(), 0u);
        EXPECT_TRUE(gui::VisibleTopLevelWindows(fromShortcut.ProcessId()).empty());
        PostMessageW(atLogon.Window(), WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(atLogon.WaitForExit(10000));
    }

    // 6, 7. The uninstall takes the program, its shortcut and its entry, and leaves the notes.
    ASSERT_EQ(RunEntry(HKEY_CURRENT_USER), entry);
    ASSERT_EQ(Uninstall(config.newerMsi), 0u);
    EXPECT_TRUE(RelatedProducts(upgradeCode).empty());
    EXPECT_EQ(NamesIn(InstallFolder()), (std::set<std::wstring>{L"qor_info.dat", L"qor_nots.dat"}));
    EXPECT_EQ(gui::ReadFileBytes(InstallFolder() + L"\\qor_nots.dat"), notes);
    EXPECT_FALSE(gui::FileExists(Shortcut()));
    EXPECT_EQ(RunEntry(HKEY_CURRENT_USER), L"");

    // The entry of another copy of the program stays.
    ASSERT_EQ(Install(config.msi), 0u);
    const std::wstring otherCopy = L"\"C:\\Portable\\Dayvane\\dayvane.exe\"";
    SetRunEntry(otherCopy);
    ASSERT_EQ(Uninstall(config.msi), 0u);
    EXPECT_EQ(RunEntry(HKEY_CURRENT_USER), otherCopy);
}
