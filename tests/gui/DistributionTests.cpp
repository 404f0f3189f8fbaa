// The zip for Windows users, unpacked as a user would: its files, a first start and close
// from that folder, and the version and manifest that the program carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <set>
#include <vector>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

const std::wstring programName = L"dayvane.exe";
const std::set<std::wstring> packedNames{L"Help.chm", L"LICENSE.txt", L"README.txt", L"dayvane.exe"};
const std::string copyright = "Copyright (c) 2026 The Dayvane developers";
// Version 1.15 as the fixed file information holds it: major in the high word, minor in the low.
constexpr DWORD version115 = (1u << 16) | 15u;

std::wstring Unpacked()
{
    return gui::Config().unpacked;
}

std::set<std::wstring> NamesOf(const std::map<std::wstring, std::string>& contents)
{
    std::set<std::wstring> names;
    for (const auto& entry : contents)
        names.insert(entry.first);
    return names;
}

// The sections of a PE image by name (long names from the string table) with their bytes
// as loaded; empty when the image cannot be read.
std::map<std::string, std::string> SectionsOf(const std::string& image)
{
    std::map<std::string, std::string> sections;
    const auto read = [&](std::size_t at, auto& value) {
        if (at > image.size() || image.size() - at < sizeof value)
            return false;
        std::memcpy(&value, image.data() + at, sizeof value);
        return true;
    };
    IMAGE_DOS_HEADER dos{};
    IMAGE_FILE_HEADER file{};
    DWORD signature = 0;
    if (!read(0, dos) || !read(static_cast<std::size_t>(dos.e_lfanew), signature) || signature != IMAGE_NT_SIGNATURE ||
        !read(static_cast<std::size_t>(dos.e_lfanew) + 4, file))
        return sections;
    const std::size_t table = static_cast<std::size_t>(dos.e_lfanew) + 4 + sizeof file + file.SizeOfOptionalHeader;
    const std::size_t strings = file.PointerToSymbolTable + std::size_t{file.NumberOfSymbols} * 18;
    for (std::size_t i = 0; i < file.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section{};
        if (!read(table + i * sizeof section, section))
            break;
        std::string name(reinterpret_cast<const char*>(section.Name), strnlen(reinterpret_cast<const char*>(section.Name), 8));
        if (name.size() > 1 && name[0] == '/' && strings + std::stoul(name.substr(1)) < image.size())
            name = image.c_str() + strings + std::stoul(name.substr(1));
        const std::size_t size = std::min<std::size_t>(section.SizeOfRawData, section.Misc.VirtualSize);
        sections[name] = section.PointerToRawData < image.size() ? image.substr(section.PointerToRawData, size) : "";
    }
    return sections;
}

// The checksum a debug link carries: CRC-32 as zip uses it.
std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xffffffffu;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The bytes of one file of a folder's contents; empty when it is not there.
std::string BytesOf(const std::map<std::wstring, std::string>& contents, const std::wstring& name)
{
    const auto found = contents.find(name);
    return found == contents.end() ? std::string() : found->second;
}

// True when every line of `text` ends with CR LF.
bool HasWindowsLineEnds(const std::string& text)
{
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        if (at == 0 || text[at - 1] != '\r')
            return false;
    return !text.empty() && text.back() == '\n';
}

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

// Today's day key, "ddmmyy", as the program writes it.
std::string TodayKey()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char key[16];
    std::snprintf(key, sizeof key, "%02u%02u%02u", now.wDay, now.wMonth, now.wYear % 100u);
    return key;
}

// The first-run notes file: one note, today's, with the first-run text.
std::string FirstRunNotes(const std::string& dayKey)
{
    return std::string("\x01\x00\x00\x00\x06", 5) + dayKey + "\x10" "My first note...";
}

// A string value of the version resource's first translation; empty when it is missing.
std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), (key + name).c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return {};
    return std::wstring(value, wcsnlen(value, length));
}

// The program's manifest (RT_MANIFEST 1), read without running the program.
std::string EmbeddedManifest(const std::wstring& program)
{
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    std::string manifest;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST))
        if (HGLOBAL loaded = LoadResource(module, found))
            if (const void* bytes = LockResource(loaded))
                manifest.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    FreeLibrary(module);
    return manifest;
}

// An element of the manifest as written: where it starts, its attributes and its text.
struct Element {
    size_t start = std::string::npos;
    std::map<std::string, std::string> attributes;
    std::string text;
};

// An attribute's value; empty when the element has no such attribute.
std::string AttributeOf(const Element& element, const std::string& name)
{
    const auto found = element.attributes.find(name);
    return found == element.attributes.end() ? std::string() : found->second;
}

std::string WithoutComments(std::string xml)
{
    for (size_t at = xml.find("<!--"); at != std::string::npos; at = xml.find("<!--", at)) {
        const size_t end = xml.find("-->", at);
        xml.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
    }
    return xml;
}

std::map<std::string, std::string> Attributes(const std::string& tag)
{
    std::map<std::string, std::string> attributes;
    for (size_t equals = tag.find("=\""); equals != std::string::npos; equals = tag.find("=\"", equals + 2)) {
        size_t nameStart = tag.find_last_of(" \t\r\n", equals);
        const std::string name = tag.substr(nameStart + 1, equals - nameStart - 1);
        const size_t close = tag.find('"', equals + 2);
        attributes[name] = tag.substr(equals + 2, close - equals - 2);
        equals = close;
    }
    return attributes;
}

// Every element called `name` in `xml` (comments removed), in document order.
std::vector<Element> ElementsNamed(const std::string& xml, const std::string& name)
{
    std::vector<Element> elements;
    for (size_t at = xml.find("<" + name); at != std::string::npos; at = xml.find("<" + name, at + 1)) {
        const char next = xml[at + 1 + name.size()];
        if (next != ' ' && next != '>' && next != '/' && next != '\r' && next != '\n' && next != '\t')
            continue;
        const size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string::npos)
            break;
        Element element;
        element.start = at;
        element.attributes = Attributes(xml.substr(at, tagEnd - at));
        if (xml[tagEnd - 1] != '/') {
            const size_t close = xml.find("</" + name + ">", tagEnd);
            element.text = xml.substr(tagEnd + 1, close == std::string::npos ? 0 : close - tagEnd - 1);
        }
        elements.push_back(element);
    }
    return elements;
}

// The one element called `name`; a test failure when there is not exactly one.
Element OnlyElement(const std::string& xml, const std::string& name)
{
    const std::vector<Element> elements = ElementsNamed(xml, name);
    EXPECT_EQ(elements.size(), 1u) << "<" << name << "> in the manifest";
    return elements.empty() ? Element{} : elements.front();
}

}  // namespace

TEST(Distribution, TheZipHoldsTheProgramItsHelpAndTwoTextsOnly)
{
    ASSERT_FALSE(Unpacked().empty()) << "--unpacked= missing";
    const auto contents = gui::FolderContents(Unpacked());
    EXPECT_EQ(NamesOf(contents), packedNames);
    const std::string help = BytesOf(contents, L"Help.chm");
    EXPECT_EQ(help.substr(0, 4), "ITSF");
    EXPECT_TRUE(help == gui::ReadFileBytes(FolderOf(gui::Config().program) + L"\\Help.chm"))
        << "the zip carries another Help.chm than the one built";

    const std::string readme = BytesOf(contents, L"README.txt");
    EXPECT_TRUE(HasWindowsLineEnds(readme));
    for (const char* mentioned : {"dayvane.exe", "qor_nots.dat", "qor_info.dat", "Help.chm", "LICENSE.txt"})
        EXPECT_NE(readme.find(mentioned), std::string::npos) << mentioned;

    const std::string licence = BytesOf(contents, L"LICENSE.txt");
    EXPECT_TRUE(HasWindowsLineEnds(licence));
    EXPECT_EQ(licence.rfind("MIT License\r\n", 0), 0u);
    EXPECT_NE(licence.find("\r\n" + copyright + "\r\n"), std::string::npos);
}

TEST(Distribution, TheZipCarriesTheTestedProgramWithItsDebugInformationMovedOut)
{
    ASSERT_FALSE(Unpacked().empty()) << "--unpacked= missing";
    const std::string tested = gui::ReadFileBytes(gui::Config().program);
    ASSERT_FALSE(tested.empty()) << "--program= missing or wrong";
    const auto testedSections = SectionsOf(tested);
    const auto shippedSections = SectionsOf(gui::ReadFileBytes(Unpacked() + L"\\" + programName));
    ASSERT_TRUE(testedSections.count(".text"));
    EXPECT_TRUE(testedSections.count(".debug_info")) << "the tested build carries no debug information";
    // Every section of the shipped program is the tested one's, byte for byte.
    for (const auto& [name, bytes] : shippedSections) {
        EXPECT_NE(name.rfind(".debug", 0), 0u) << "debug information shipped: " << name;
        if (name != ".gnu_debuglink") {
            EXPECT_TRUE(testedSections.count(name) && testedSections.at(name) == bytes)
                << "the shipped " << name << " is not the tested one's";
        }
    }
    for (const char* name : {".text", ".rdata", ".data", ".rsrc"})
        EXPECT_TRUE(shippedSections.count(name)) << name;
    // The link names the debug file beside the built program, with its checksum.
    const std::string link = shippedSections.count(".gnu_debuglink") ? shippedSections.at(".gnu_debuglink") : "";
    ASSERT_EQ(link.rfind(std::string("dayvane.debug\0", 14), 0), 0u) << "no debug link";
    const std::string debug = gui::ReadFileBytes(FolderOf(gui::Config().program) + L"\\dayvane.debug");
    ASSERT_FALSE(debug.empty());
    std::uint32_t linked = 0;
    std::memcpy(&linked, link.data() + 16, sizeof linked);
    EXPECT_EQ(linked, Crc32(debug)) << "dayvane.debug is not the one the shipped program names";
}

TEST(Distribution, AFirstStartAndCloseLeaveTheTwoDataFilesBesideTheProgram)
{
    ASSERT_FALSE(Unpacked().empty()) << "--unpacked= missing";
    const auto unpacked = gui::FolderContents(Unpacked());
    ASSERT_EQ(NamesOf(unpacked), packedNames) << "the folder is not fresh from the zip";
    const std::string dayKey = TodayKey();
    // The folder is left as unpacked, for the tests that read it after this one.
    struct RemoveDataFiles {
        ~RemoveDataFiles()
        {
            for (const wchar_t* name : {L"qor_nots.dat", L"qor_info.dat"})
                DeleteFileW((Unpacked() + L"\\" + name).c_str());
        }
    } removeDataFiles;

    gui::Program program(Unpacked() + L"\\" + programName);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(gui::ClassNameOf(GetDlgItem(program.Window(), IDC_CALENDAR)), L"SysMonthCal32");
    // Nothing is written before the close.
    EXPECT_EQ(gui::FolderContents(Unpacked()), unpacked);
    PostMessageW(program.Window(), WM_COMMAND, ID_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_EQ(program.ExitCode(), 0u);

    const auto after = gui::FolderContents(Unpacked());
    std::set<std::wstring> expected = packedNames;
    expected.insert({L"qor_nots.dat", L"qor_info.dat"});
    // Exactly these: no temporary file is left behind.
    EXPECT_EQ(NamesOf(after), expected);
    for (const auto& entry : unpacked)
        EXPECT_TRUE(BytesOf(after, entry.first) == entry.second) << "changed: " << testing::PrintToString(entry.first);
    const std::string notes = BytesOf(after, L"qor_nots.dat");
    EXPECT_EQ(notes.size(), 28u);
    EXPECT_EQ(notes, FirstRunNotes(dayKey));
    EXPECT_FALSE(BytesOf(after, L"qor_info.dat").empty());
}

TEST(Distribution, TheVersionResourceNamesDayvane115)
{
    ASSERT_FALSE(Unpacked().empty()) << "--unpacked= missing";
    const std::wstring program = Unpacked() + L"\\" + programName;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, version115);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, version115);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(block, L"ProductName"), L"Dayvane");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.15");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.15");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), programName);
    EXPECT_EQ(VersionString(block, L"LegalCopyright"), std::wstring(copyright.begin(), copyright.end()));
}

TEST(Distribution, TheManifestAsksForCommonControls6AndDeclaresTheDpiChoice)
{
    ASSERT_FALSE(Unpacked().empty()) << "--unpacked= missing";
    const std::string manifest = WithoutComments(EmbeddedManifest(Unpacked() + L"\\" + programName));
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST 1 in the program";

    const Element dependency = OnlyElement(manifest, "dependency");
    const std::vector<Element> dependent = ElementsNamed(dependency.text, "assemblyIdentity");
    ASSERT_EQ(dependent.size(), 1u);
    EXPECT_EQ(AttributeOf(dependent[0], "name"), "Microsoft.Windows.Common-Controls");
    EXPECT_EQ(AttributeOf(dependent[0], "version"), "6.0.0.0");
    EXPECT_EQ(AttributeOf(dependent[0], "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(AttributeOf(dependent[0], "type"), "win32");

    std::set<std::string> systems;
    for (const Element& supported : ElementsNamed(manifest, "supportedOS"))
        systems.insert(AttributeOf(supported, "Id"));
    EXPECT_EQ(systems, (std::set<std::string>{
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
                       }));

    // The DPI settings count only inside asm.v3's <application><windowsSettings>.
    const Element settings = OnlyElement(manifest, "windowsSettings");
    bool inV3Application = false;
    for (const Element& application : ElementsNamed(manifest, "application"))
        if (application.start < settings.start &&
            application.text.find("<windowsSettings") != std::string::npos)
            inV3Application = AttributeOf(application, "xmlns") == "urn:schemas-microsoft-com:asm.v3";
    EXPECT_TRUE(inV3Application);

    // Aware of each monitor's scale: dpiAwareness for Windows 10 1607 and later, which take it
    // over dpiAware, and dpiAware for the systems before them. No GDI scaling, which would
    // stretch what the program draws at its scale already.
    const Element dpiAware = OnlyElement(settings.text, "dpiAware");
    EXPECT_EQ(AttributeOf(dpiAware, "xmlns"), "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    EXPECT_EQ(dpiAware.text, "true/pm");
    const Element dpiAwareness = OnlyElement(settings.text, "dpiAwareness");
    EXPECT_EQ(AttributeOf(dpiAwareness, "xmlns"), "http://schemas.microsoft.com/SMI/2016/WindowsSettings");
    EXPECT_EQ(dpiAwareness.text, "PerMonitorV2, PerMonitor");
    EXPECT_TRUE(ElementsNamed(manifest, "gdiScaling").empty());
}
