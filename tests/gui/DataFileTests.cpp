// The two data files as the running program reads and writes them beside itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>

#include "Harness.h"
#include "resources/ResourceIds.h"
#include "SettingsFiles.h"
#include "core/DayKey.h"
#include "core/Desktop.h"
#include "core/NoteStore.h"
#include "core/SettingsFile.h"

namespace {

constexpr WPARAM closeCommand = ID_CLOSE;
const core::Windows1252 cp1252;

std::string TodayKey()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return core::DayKeyFromDate(now.wYear, now.wMonth, now.wDay);
}

POINT CentredOrigin(HWND window)
{
    RECT rect{}, desktop{};
    GetWindowRect(window, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const core::Point origin = core::CenteredOrigin({desktop.left, desktop.top, desktop.right, desktop.bottom},
                                                    {rect.left, rect.top, rect.right, rect.bottom});
    return {origin.x, origin.y};
}

POINT WindowOrigin(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

std::wstring NotesText(HWND window)
{
    wchar_t text[4096] = L"";
    GetDlgItemTextW(window, IDC_NOTES, text, 4096);
    return text;
}

void CloseAndWait(gui::Program& program)
{
    PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
}

std::vector<std::wstring> NamesIn(const gui::TempFolder& folder)
{
    std::vector<std::wstring> names;
    for (const auto& entry : folder.Contents())
        names.push_back(entry.first);
    return names;
}

const std::string heldNotes("\x01\x00\x00\x00\x06" "010107" "\x04" "kept", 16);

// Writes `heldNotes` as the notes file and opens it the way another program would that
// shares it with nobody.
HANDLE HoldNotesFile(const gui::TempFolder& folder)
{
    if (!gui::WriteFileBytes(folder.File(L"qor_nots.dat"), heldNotes))
        return INVALID_HANDLE_VALUE;
    return CreateFileW(folder.File(L"qor_nots.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Pixels of the frame's left, right and bottom edges and of the strip's background on both
// sides of the clock.
std::vector<COLORREF> FrameAndStrip(const gui::Program& program)
{
    RECT client{};
    GetClientRect(program.Window(), &client);
    const POINT points[] = {{0, 100}, {client.right - 1, 100}, {client.right / 2, client.bottom - 1},
                            {25, 3}, {client.right - 25, 12}};
    std::vector<COLORREF> pixels;
    for (const POINT point : points)
        pixels.push_back(gui::ScreenPixel(program.ClientToScreenPoint(point)));
    return pixels;
}

// Sets an environment variable for the programs this test starts, and restores it after.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* variableName, const std::wstring& value) : name(variableName)
    {
        wchar_t old[MAX_PATH] = L"";
        had = GetEnvironmentVariableW(name, old, MAX_PATH) > 0;
        previous = old;
        SetEnvironmentVariableW(name, value.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { SetEnvironmentVariableW(name, had ? previous.c_str() : nullptr); }

private:
    const wchar_t* name;
    bool had = false;
    std::wstring previous;
};

// Makes a folder refuse new files, as a folder the user may not write does. Permissions do
// not stop Wine's server when it runs as root, so the folder is made immutable on the Linux
// side (or, where that is not allowed, a read-only mount of itself). Refuses() says whether a
// new file is really refused.
class WriteRefusingFolder {
public:
    explicit WriteRefusingFolder(const std::wstring& windowsPath) : unixPath(UnixPathOf(windowsPath)), path(windowsPath)
    {
        if (unixPath.empty())
            return;
        Refuse();
        // A probe made just before the refusal took hold cannot be deleted after it, and would
        // be one file more in the folder: the refusal is lifted, the probe deleted, and the
        // refusal made again.
        for (int attempt = 0; attempt < 3 && gui::FileExists(Probe()); ++attempt) {
            RunUnix(mounted ? "umount '%s'" : "chattr -i '%s'");
            gui::WaitUntil([&] { return DeleteFileW(Probe().c_str()) != FALSE; }, 3000);
            Refuse();
        }
    }
    WriteRefusingFolder(const WriteRefusingFolder&) = delete;
    WriteRefusingFolder& operator=(const WriteRefusingFolder&) = delete;
    ~WriteRefusingFolder()
    {
        if (!unixPath.empty())
            Allow();
    }

    bool Refuses() const
    {
        const std::wstring probe = Probe();
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return true;
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        return false;
    }

private:
    std::wstring Probe() const { return path + L"\\probe.txt"; }

    // Wine does not wait for a Linux program to end: the outcome is waited for instead.
    void Refuse()
    {
        mounted = false;
        RunUnix("chattr +i '%s'");
        if (!gui::WaitUntil([&] { return Refuses(); }, 3000)) {
            RunUnix("mount --bind '%s' '%s' && mount -o remount,bind,ro '%s'");
            mounted = true;
            gui::WaitUntil([&] { return Refuses(); }, 3000);
        }
    }

    void Allow()
    {
        RunUnix(mounted ? "umount '%s'" : "chattr -i '%s'");
        gui::WaitUntil([&] { return !Refuses(); }, 3000);
    }

    static std::string UnixPathOf(const std::wstring& windowsPath)
    {
        using ToUnix = char*(CDECL*)(LPCWSTR);
        const auto toUnix = reinterpret_cast<ToUnix>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        char* unix = toUnix ? toUnix(windowsPath.c_str()) : nullptr;
        const std::string result = unix ? unix : "";
        if (unix)
            HeapFree(GetProcessHeap(), 0, unix);
        return result;
    }

    // Starts a shell command with every %s the folder's Unix path.
    void RunUnix(const char* format) const
    {
        std::string command = format;
        for (std::size_t at; (at = command.find("%s")) != std::string::npos;)
            command.replace(at, 2, unixPath);
        std::wstring line = L"/bin/sh -c \"" + std::wstring(command.begin(), command.end()) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    std::string unixPath;
    std::wstring path;
    bool mounted = false;
};

}  // namespace

TEST(DataFiles, FirstStartThenCloseWritesTheFirstRunNoteAndTheDefaults)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(NotesText(program.Window()), L"My first note...");
    const POINT centred = CentredOrigin(program.Window());
    CloseAndWait(program);

    const std::string key = TodayKey();
    EXPECT_EQ(gui::ReadFileBytes(folder.File(L"qor_nots.dat")),
              std::string("\x01\x00\x00\x00\x06", 5) + key + "\x10" "My first note...");
    const core::CalendarSettings settings = gui::DecodeSettings(gui::ReadFileBytes(folder.File(L"qor_info.dat")));
    EXPECT_EQ(settings.fullLayout, 1);
    EXPECT_EQ(settings.colorScheme, 0);
    EXPECT_EQ(settings.shape, 0);
    EXPECT_EQ(settings.titleGradient, 0);
    EXPECT_EQ(settings.timeFormatId, 43);
    EXPECT_EQ(settings.windowLeft, centred.x);
    EXPECT_EQ(settings.windowTop, centred.y);
    EXPECT_EQ(settings.titleFont.faceName, "Bradley Hand ITC");
    EXPECT_EQ(settings.titleFont.weight, 600);
    EXPECT_EQ(settings.titleFont.height, -15);
    EXPECT_EQ(settings.notesFont.faceName, "Tahoma");
    EXPECT_EQ(settings.notesFont.height, -11);
    EXPECT_EQ(settings.notesFont.italic, 1);
    EXPECT_EQ(settings.customTimeFormat, "Time %H:%M");
    // Nothing else is left behind: no temporary files.
    EXPECT_EQ(NamesIn(folder), (std::vector<std::wstring>{L"dayvane.exe", L"qor_info.dat", L"qor_nots.dat"}));
}

TEST(DataFiles, AValidSettingsFileComesBackByteIdentical)
{
    core::CalendarSettings settings = gui::DefaultSettings(40, 50);
    settings.colorScheme = 2, settings.shape = 1, settings.titleGradient = 1, settings.timeFormatId = 46;
    settings.titleFont.faceName = "Courier New";
    settings.customTimeFormat = "%d.%m. %H:%M \u0416";  // outside Windows-1252: stored wide
    const std::string bytes = gui::EncodeSettings(settings);
    ASSERT_NE(bytes.find("\xff\xfe\xff"), std::string::npos);

    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), bytes));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const POINT origin = WindowOrigin(program.Window());
    EXPECT_EQ(origin.x, 40);
    EXPECT_EQ(origin.y, 50);
    CloseAndWait(program);
    EXPECT_EQ(gui::ReadFileBytes(folder.File(L"qor_info.dat")), bytes);
}

TEST(DataFiles, APositionOffTheDesktopOpensAndIsStoredCentred)
{
    core::CalendarSettings settings = gui::DefaultSettings(-5000, -5000);
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(settings)));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const POINT centred = CentredOrigin(program.Window());
    const POINT origin = WindowOrigin(program.Window());
    EXPECT_EQ(origin.x, centred.x);
    EXPECT_EQ(origin.y, centred.y);
    // Moved off the desktop again while it runs, it is stored centred once more.
    SetWindowPos(program.Window(), nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(gui::WaitUntil([&] { return WindowOrigin(program.Window()).x == -5000; }));
    CloseAndWait(program);
    const core::CalendarSettings stored = gui::DecodeSettings(gui::ReadFileBytes(folder.File(L"qor_info.dat")));
    EXPECT_EQ(stored.windowLeft, centred.x);
    EXPECT_EQ(stored.windowTop, centred.y);
}

TEST(DataFiles, ADamagedNotesFileIsKeptBesideTheNewOne)
{
    const std::string damaged("\x05\x00\x00\x00\x06" "010107" "\x40" "cut short", 21);
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_nots.dat"), damaged));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(NotesText(program.Window()), L"My first note...");
    CloseAndWait(program);

    int copies = 0;
    for (const auto& [name, bytes] : folder.Contents()) {
        if (name.rfind(L"qor_nots.dat.damaged-", 0) != 0)
            continue;
        ++copies;
        EXPECT_EQ(name.size(), std::wstring(L"qor_nots.dat.damaged-YYYYMMDD-HHMMSS").size());
        EXPECT_EQ(bytes, damaged);
    }
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(gui::ReadFileBytes(folder.File(L"qor_nots.dat")).size(), 28u);
}

TEST(DataFiles, TheFilesLiveBesideTheProgramWhateverTheWorkingDirectory)
{
    gui::TempFolder folder, elsewhere, local;
    const ScopedVariable localAppData(L"LOCALAPPDATA", local.Path());
    gui::Program program(folder, elsewhere.Path());
    ASSERT_NE(program.Window(), nullptr);
    CloseAndWait(program);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::wstring>{L"dayvane.exe", L"qor_info.dat", L"qor_nots.dat"}));
    EXPECT_TRUE(elsewhere.Contents().empty());
    // A folder that can be written keeps the files: nothing goes to the user's folder.
    EXPECT_TRUE(local.Contents().empty());
}

TEST(DataFiles, AtStartOnlyTheProgramsOwnTemporaryFilesThatNoProgramHoldsAreDeleted)
{
    gui::TempFolder folder;
    const std::wstring stale = L"dayvane-save-4242-0.tmp", held = L"dayvane-save-4343-1.tmp";
    const std::vector<std::wstring> others = {L"dvn1A2B.tmp", L"dayvane-save-notes.tmp", L"dayvane-save-1-2.txt"};
    for (const std::wstring& name : others)
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(name), "someone else's"));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(stale), "left by a kill"));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(held), "being written"));
    // Another copy of the program writing its temporary file holds it as this does.
    const HANDLE holder =
        CreateFileW(folder.File(held).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_FALSE(gui::FileExists(folder.File(stale)));
        EXPECT_TRUE(gui::FileExists(folder.File(held)));
        CloseAndWait(program);
    }
    CloseHandle(holder);
    EXPECT_EQ(gui::ReadFileBytes(folder.File(held)), "being written");
    for (const std::wstring& name : others)
        EXPECT_EQ(gui::ReadFileBytes(folder.File(name)), "someone else's") << name.c_str();
}

TEST(DataFiles, AProgramFolderThatRefusesWritesKeepsTheFilesInTheUsersFolderAndChangesNothingBesideTheProgram)
{
    const std::string key = TodayKey();
    const std::string notesBeside = std::string("\x01\x00\x00\x00\x06", 5) + key + "\x12" "from the program's";
    for (const bool withFiles : {true, false}) {
        SCOPED_TRACE(withFiles ? "data files beside the program" : "no data files");
        gui::TempFolder folder, local;
        const ScopedVariable localAppData(L"LOCALAPPDATA", local.Path());
        ASSERT_TRUE(CopyFileW(gui::Config().program.c_str(), folder.File(L"dayvane.exe").c_str(), FALSE));
        if (withFiles) {
            ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_nots.dat"), notesBeside));
            ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(gui::DefaultSettings(40, 50))));
        }
        const auto before = folder.Contents();
        const WriteRefusingFolder refusal(folder.Path());
        ASSERT_TRUE(refusal.Refuses()) << "no way found here to make a folder refuse new files";

        const std::wstring userFolder = local.File(L"Dayvane");
        const std::wstring typed[] = {L"typed in the first run", L"typed in the second run"};
        for (const std::wstring& text : typed) {
            gui::Program program(folder.File(L"dayvane.exe"));
            ASSERT_NE(program.Window(), nullptr);
            if (&text == &typed[0]) {
                EXPECT_EQ(NotesText(program.Window()), withFiles ? L"from the program's" : L"My first note...");
                if (withFiles) {
                    EXPECT_EQ(WindowOrigin(program.Window()).x, 40);
                }
            } else {
                // The user's folder is taken first at a later start.
                EXPECT_EQ(NotesText(program.Window()), typed[0]);
            }
            SetDlgItemTextW(program.Window(), IDC_NOTES, text.c_str());
            CloseAndWait(program);
            EXPECT_EQ(program.ExitCode(), 0u) << "a save that failed asks, and a kill ends with another code";
        }
        EXPECT_EQ(folder.Contents(), before);
        core::NoteStore saved;
        const std::string bytes = gui::ReadFileBytes(userFolder + L"\\qor_nots.dat");
        ASSERT_TRUE(saved.Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), cp1252));
        EXPECT_EQ(saved.Lookup(key), "typed in the second run");
        const core::CalendarSettings settings = gui::DecodeSettings(gui::ReadFileBytes(userFolder + L"\\qor_info.dat"));
        if (withFiles) {
            EXPECT_EQ(settings.windowLeft, 40);
        }
        // The second save kept the first run's notes as a backup.
        EXPECT_TRUE(gui::FileExists(userFolder + L"\\qor_nots.dat.bak1"));
    }
}

TEST(DataFiles, ANoteOutsideTheCodePageSurvivesARestart)
{
    const std::wstring note = L"Gr\u00fc\u00dfe \u2014 \u65e5\u672c\u8a9e \u0416 \u2713\r\nline two \U0001F600";
    gui::TempFolder folder;
    {
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        SetDlgItemTextW(program.Window(), IDC_NOTES, note.c_str());
        CloseAndWait(program);
    }
    const std::string bytes = gui::ReadFileBytes(folder.File(L"qor_nots.dat"));
    EXPECT_NE(bytes.find("\xff\xfe\xff"), std::string::npos) << "the note is not in the wide form";
    gui::Program again(folder);
    ASSERT_NE(again.Window(), nullptr);
    EXPECT_EQ(NotesText(again.Window()), note);
}

TEST(DataFiles, AFailedSaveAsksToRetryAndCancelKeepsTheWindowOpen)
{
    gui::TempFolder folder;
    // Another program holds the notes file open without sharing for the whole start.
    const HANDLE holder = HoldNotesFile(folder);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(NotesText(program.Window()), L"My first note...");
    SetDlgItemTextW(program.Window(), IDC_NOTES, L"typed while the file was held");
    ASSERT_TRUE(gui::BringToFront(program.Window()));
    const std::vector<COLORREF> painted = FrameAndStrip(program);

    PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
    HWND box = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(box, nullptr) << "no message box";
    const std::wstring message = gui::ChildTexts(box);
    EXPECT_NE(message.find(folder.File(L"qor_nots.dat")), std::wstring::npos) << message.c_str();
    EXPECT_NE(message.find(L"Choose Retry to try again, or Cancel to keep Dayvane open with your notes."),
              std::wstring::npos) << message.c_str();
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(box); }));
    // Back from the message box, the window answers only if the close was given up.
    EXPECT_TRUE(gui::RoundTrip(program.Window()));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindowVisible(program.Window()));
    EXPECT_EQ(NotesText(program.Window()), L"typed while the file was held");
    // The window that stays open paints as it did before "Close".
    // Painted again at once: the redraw is sent to the window, not posted.
    RedrawWindow(program.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(FrameAndStrip(program), painted);

    // Retry while the file is still held asks again; once it is free, Retry saves and ends.
    PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
    box = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDRETRY, 0);
    ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(box); }));
    box = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(box, nullptr) << "a retry that failed again must ask again";
    CloseHandle(holder);
    PostMessageW(box, WM_COMMAND, IDRETRY, 0);
    ASSERT_TRUE(program.WaitForExit(5000));

    core::NoteStore saved;
    const std::string bytes = gui::ReadFileBytes(folder.File(L"qor_nots.dat"));
    ASSERT_TRUE(saved.Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), cp1252));
    EXPECT_EQ(saved.Lookup(TodayKey()), "typed while the file was held");
    int copies = 0;
    for (const auto& [name, content] : folder.Contents())
        if (name.rfind(L"qor_nots.dat.damaged-", 0) == 0 && content == heldNotes)
            ++copies;
    EXPECT_EQ(copies, 1) << "the file that could not be read must be kept";
}

// A notes file that another program holds at the close (a sync tool), letting it be renamed
// but not read, is not replaced unread: the close asks to retry, naming the reason, and the
// file keeps its bytes.
TEST(DataFiles, ANotesFileThatCannotBeReadAtTheCloseAsksToRetryAndKeepsItsBytes)
{
    gui::TempFolder folder;
    const std::string notes = gui::EncodeNotes({{TodayKey(), "kept"}});
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_nots.dat"), notes));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    SetDlgItemTextW(program.Window(), IDC_NOTES, L"typed while the file was held");
    const HANDLE holder = CreateFileW(folder.File(L"qor_nots.dat").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
    const HWND box = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(box, nullptr) << "no question";
    wchar_t reason[256] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_SHARING_VIOLATION, 0, reason,
                   ARRAYSIZE(reason), nullptr);
    const std::wstring message = gui::ChildTexts(box);
    EXPECT_NE(message.find(folder.File(L"qor_nots.dat")), std::wstring::npos) << message.c_str();
    EXPECT_NE(message.find(std::wstring(reason, std::wcscspn(reason, L"\r\n"))), std::wstring::npos) << message.c_str();
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(gui::RoundTrip(program.Window()));
    CloseHandle(holder);
    EXPECT_EQ(gui::ReadFileBytes(folder.File(L"qor_nots.dat")), notes);
}

TEST(DataFiles, AtTheEndOfTheSessionAFailedSaveAsksNothing)
{
    gui::TempFolder folder;
    // Another program holds the notes file open without sharing for the whole start.
    const HANDLE holder = HoldNotesFile(folder);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(program.WaitForExit(5000));
    CloseHandle(holder);
    EXPECT_EQ(gui::ReadFileBytes(folder.File(L"qor_nots.dat")), heldNotes);
}

namespace {

// A notes file of some megabytes, so that writing it takes a while: every day of a
// century's keys with a line of text.
std::string LargeNotesFile()
{
    core::NoteStore store;
    for (int year = 0; year < 100; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 28; ++day)
                store.SetNote({core::DayKeyFromDate(2000 + year, month, day),
                               "Dentist at 10:30, then the bank; call Anna about the tickets " + std::to_string(day)});
    const core::Bytes bytes = store.Write(cp1252);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(DataFiles, AKillDuringTheSaveLeavesEachFileOldAndWholeOrNewAndWhole)
{
    const std::string oldNotes = LargeNotesFile();
    const std::string oldSettings = gui::EncodeSettings(gui::DefaultSettings());
    const std::string typed = "typed before the close";
    // Three generations of backups already there, so that each save moves them all.
    const std::vector<std::string> earlier = {oldNotes.substr(0, 3000), oldNotes.substr(0, 2000),
                                              oldNotes.substr(0, 1000)};
    const auto backupName = [](int generation) { return L"qor_nots.dat.bak" + std::to_wstring(generation); };
    // A backup has moved up, or one of a size no earlier file has is being written.
    const auto rotating = [&](const gui::TempFolder& folder) {
        for (int generation = 1; generation <= 3; ++generation) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if (!GetFileAttributesExW(folder.File(backupName(generation)).c_str(), GetFileExInfoStandard, &data))
                return generation == 1;
            const std::size_t size = data.nFileSizeLow;
            if (size != oldNotes.size() && std::none_of(earlier.begin(), earlier.end(), [&](const std::string& file) {
                    return file.size() == size;
                }))
                return true;
        }
        return false;
    };
    const auto prepare = [&](const gui::TempFolder& folder) {
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_nots.dat"), oldNotes));
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), oldSettings));
        for (int generation = 1; generation <= 3; ++generation)
            ASSERT_TRUE(gui::WriteFileBytes(folder.File(backupName(generation)), earlier[generation - 1]));
    };

    // Closes left to finish give the new files and how long a close takes: the faster of two,
    // since the first one after the program's files were written meets cold caches.
    std::string newNotes, newSettings;
    DWORD closeMs = MAXDWORD;
    for (int run = 0; run < 2; ++run) {
        gui::TempFolder folder;
        prepare(folder);
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        SetDlgItemTextA(program.Window(), IDC_NOTES, typed.c_str());
        const DWORD start = GetTickCount();
        PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
        ASSERT_TRUE(program.WaitForExit(10000));
        closeMs = std::min<DWORD>(closeMs, GetTickCount() - start);
        newNotes = gui::ReadFileBytes(folder.File(L"qor_nots.dat"));
        newSettings = gui::ReadFileBytes(folder.File(L"qor_info.dat"));
        // The replaced file is the newest backup; the oldest generation is gone.
        EXPECT_EQ(gui::ReadFileBytes(folder.File(backupName(1))), oldNotes);
        EXPECT_EQ(gui::ReadFileBytes(folder.File(backupName(2))), earlier[0]);
        EXPECT_EQ(gui::ReadFileBytes(folder.File(backupName(3))), earlier[1]);
        EXPECT_FALSE(gui::FileExists(folder.File(backupName(4))));
    }
    ASSERT_NE(newNotes, oldNotes);
    core::NoteStore saved;
    ASSERT_TRUE(saved.Read(reinterpret_cast<const std::uint8_t*>(newNotes.data()), newNotes.size(), cp1252));
    EXPECT_EQ(saved.Lookup(TodayKey()), typed);

    // Kills spread over the whole close, from the moment it is asked for to past its end,
    // then kills the moment the rotation of the backups is seen under way.
    constexpr int kills = 16;
    constexpr int rotationKills = 3;
    int killedWhileRunning = 0;
    // What each kill left of the rotation: untouched, part-way (a generation moved, the
    // newest not yet written), or done.
    std::map<std::string, int> rotations;
    for (int k = 0; k < kills + rotationKills; ++k) {
        const DWORD delay = closeMs * static_cast<DWORD>(k) * 5 / (4 * (kills - 1));
        SCOPED_TRACE(testing::Message() << (k < kills ? "killed " : "killed in the rotation, not ") << delay
                                        << " ms after the close of " << closeMs << " ms");
        gui::TempFolder folder;
        prepare(folder);
        {
            gui::Program program(folder);
            ASSERT_NE(program.Window(), nullptr);
            SetDlgItemTextA(program.Window(), IDC_NOTES, typed.c_str());
            PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
            if (k < kills) {
                // The delay is the subject: the kill falls where it falls.
                Sleep(delay);
            } else {
                const DWORD start = GetTickCount();
                while (!rotating(folder) && GetTickCount() - start < 10000) {
                }
            }
            if (k < kills)
                killedWhileRunning += program.Running();
        }  // the program is terminated here if it still runs
        const std::string notes = gui::ReadFileBytes(folder.File(L"qor_nots.dat"));
        const std::string settings = gui::ReadFileBytes(folder.File(L"qor_info.dat"));
        EXPECT_TRUE(notes == oldNotes || notes == newNotes) << "notes file of " << notes.size() << " bytes";
        EXPECT_TRUE(settings == oldSettings || settings == newSettings) << "settings of " << settings.size() << " bytes";
        std::vector<std::string> kept;
        for (int generation = 1; generation <= 4; ++generation) {
            if (!gui::FileExists(folder.File(backupName(generation))))
                continue;
            const std::string backup = gui::ReadFileBytes(folder.File(backupName(generation)));
            kept.push_back(backup);
            EXPECT_TRUE(backup == oldNotes || std::find(earlier.begin(), earlier.end(), backup) != earlier.end())
                << "backup " << generation << " of " << backup.size() << " bytes is no earlier file";
        }
        if (kept == earlier)
            ++rotations["untouched"];
        else if (kept.size() == 3 && kept[0] == oldNotes)
            ++rotations["done"];
        else
            ++rotations["part-way"];
    }
    EXPECT_GT(killedWhileRunning, kills / 2) << "the kills must fall inside the close";
    EXPECT_GE(rotations["part-way"], 1) << "the kills must fall inside the rotation";
    for (const auto& [state, count] : rotations)
        std::printf("rotation %s: %d of %d kills\n", state.c_str(), count, kills + rotationKills);
}

TEST(DataFiles, DataFilesThatCannotBeWrittenAreReportedAndNothingOnDiskIsLost)
{
    gui::TempFolder folder;
    // Folders in the way of both data files, each holding something of the user's.
    for (const wchar_t* name : {L"qor_nots.dat", L"qor_info.dat"}) {
        ASSERT_TRUE(CreateDirectoryW(folder.File(name).c_str(), nullptr));
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(name) + L"\\keep.txt", "the user's own"));
    }
    gui::Program program(folder);
    const auto before = folder.Contents();
    ASSERT_NE(program.Window(), nullptr);
    SetDlgItemTextW(program.Window(), IDC_NOTES, L"written while the files were blocked");

    PostMessageW(program.Window(), WM_COMMAND, closeCommand, 0);
    HWND box = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
    ASSERT_NE(box, nullptr) << "the failed save must be reported";
    const std::wstring message = gui::ChildTexts(box);
    EXPECT_NE(message.find(folder.File(L"qor_nots.dat")), std::wstring::npos) << message.c_str();
    EXPECT_NE(message.find(folder.File(L"qor_info.dat")), std::wstring::npos) << message.c_str();
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(box); }));
    // Back from the message box, the window answers only if the close was given up.
    EXPECT_TRUE(gui::RoundTrip(program.Window()));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindowVisible(program.Window()));
    EXPECT_EQ(NotesText(program.Window()), L"written while the files were blocked");

    // Escape ends the program without saving; the folders and their files are untouched.
    PostMessageW(program.Window(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_EQ(folder.Contents(), before);
    for (const wchar_t* name : {L"qor_nots.dat", L"qor_info.dat"})
        EXPECT_EQ(gui::ReadFileBytes(folder.File(name) + L"\\keep.txt"), "the user's own");
}
