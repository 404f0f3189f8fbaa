// One running copy per data folder: later starts on the same folder bring it forward and end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <set>
#include <vector>

#include "Harness.h"
#include "SettingsFiles.h"
#include "resources/ResourceIds.h"

namespace {

// Ten processes start on two cores, and the winner's window comes after all of them.
constexpr DWORD crowdedStartMs = 60000;

std::wstring UpperCase(std::wstring path)
{
    std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return std::towupper(c); });
    return path;
}

std::wstring ShortPath(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = L"";
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? shortPath : path;
}

std::vector<std::wstring> NamesIn(const gui::TempFolder& folder)
{
    std::vector<std::wstring> names;
    for (const auto& entry : folder.Contents())
        names.push_back(entry.first);
    return names;
}

}  // namespace

TEST(SingleCopy, ASecondStartOnTheSameFolderBringsTheRunningWindowForwardAndEndsWithoutWriting)
{
    gui::TempFolder folder, elsewhere;
    gui::Program running(folder);
    gui::Program other(elsewhere);
    ASSERT_NE(running.Window(), nullptr);
    ASSERT_NE(other.Window(), nullptr);
    const auto before = folder.Contents();

    const std::wstring program = folder.File(L"dayvane.exe");
    // Windows names the program file as it was started, short names included; Wine always
    // gives the long form.
    for (const std::wstring& spelling : {UpperCase(program), ShortPath(program)}) {
        SCOPED_TRACE(testing::Message() << "started as " << testing::PrintToString(spelling));
        ASSERT_TRUE(gui::BringToFront(other.Window()));
        gui::Program second(spelling, gui::Await::Nothing);
        bool showedWindow = false;
        const bool ended = gui::WaitUntil([&] {
            showedWindow = showedWindow || !gui::VisibleTopLevelWindows(second.ProcessId()).empty();
            return !second.Running();
        }, 15000);
        ASSERT_TRUE(ended) << "the second start is still running";
        EXPECT_FALSE(showedWindow);
        EXPECT_EQ(second.ExitCode(), 0u);
        EXPECT_TRUE(gui::WaitUntil([&] { return GetForegroundWindow() == running.Window(); }, 5000))
            << "the running copy's window did not come forward";
        EXPECT_EQ(folder.Contents(), before);
    }
    // The copy in the other folder runs alongside, untouched.
    EXPECT_TRUE(running.Running());
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(gui::VisibleTopLevelWindows(running.ProcessId()).size(), 1u);
    EXPECT_EQ(gui::VisibleTopLevelWindows(other.ProcessId()).size(), 1u);
}

TEST(SingleCopy, TenStartsAtOnceEndAsOneWindowAndOneCopysFiles)
{
    gui::TempFolder folder;
    const std::wstring program = folder.File(L"dayvane.exe");
    ASSERT_TRUE(CopyFileW(gui::Config().program.c_str(), program.c_str(), FALSE));
    std::vector<std::unique_ptr<gui::Program>> starts;
    for (int i = 0; i < 10; ++i)
        starts.push_back(std::make_unique<gui::Program>(program, gui::Await::Nothing));

    std::set<DWORD> showedWindows;
    const auto ended = [&] {
        return std::count_if(starts.begin(), starts.end(), [](const auto& start) { return !start->Running(); });
    };
    gui::WaitUntil([&] {
        for (const auto& start : starts)
            if (!gui::VisibleTopLevelWindows(start->ProcessId()).empty())
                showedWindows.insert(start->ProcessId());
        return (ended() == 9 && showedWindows.size() == 1) || showedWindows.size() > 1;
    }, crowdedStartMs);
    ASSERT_EQ(showedWindows.size(), 1u) << "windows shown";
    ASSERT_EQ(ended(), 9) << "starts ended";

    const auto survivor = std::find_if(starts.begin(), starts.end(), [](const auto& start) { return start->Running(); });
    ASSERT_NE(survivor, starts.end());
    EXPECT_EQ(showedWindows, std::set<DWORD>{(*survivor)->ProcessId()});
    for (const auto& start : starts) {
        if (start != *survivor) {
            EXPECT_EQ(start->ExitCode(), 0u);
        }
    }
    const std::vector<HWND> windows = gui::VisibleTopLevelWindows((*survivor)->ProcessId());
    ASSERT_EQ(windows.size(), 1u);

    PostMessageW(windows.front(), WM_COMMAND, ID_CLOSE, 0);
    ASSERT_TRUE((*survivor)->WaitForExit(5000));
    EXPECT_EQ((*survivor)->ExitCode(), 0u);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::wstring>{L"dayvane.exe", L"qor_info.dat", L"qor_nots.dat"}));
}

// A copy that was killed leaves its mutex abandoned; another program that still holds a
// handle to it keeps it in being, and the next start takes it over.
TEST(SingleCopy, AKilledCopysMutexHeldElsewhereGoesToTheNextStart)
{
    gui::TempFolder folder;
    // The data folder's mutex is machine-wide, so that a copy in another session sees it.
    const std::wstring name = gui::RunningCopyName(folder.Path(), L"Global\\", L".Running");
    HANDLE held = nullptr;
    {
        gui::Program killed(folder);
        ASSERT_NE(killed.Window(), nullptr);
        held = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
        ASSERT_NE(held, nullptr) << "no mutex named " << testing::PrintToString(name);
    }
    gui::Program next(folder);
    EXPECT_NE(next.Window(), nullptr);
    CloseHandle(held);
}

// A copy in another user's session holds the machine-wide mutex and nothing of this session:
// a start here says why it opens no window and ends with an error. Wine has one session, so
// the test holds the mutex as that copy would.
TEST(SingleCopy, AStartWhileACopyRunsInAnotherSessionSaysSoAndEndsWithAnError)
{
    gui::TempFolder folder;
    const HANDLE held = CreateMutexW(nullptr, TRUE, gui::RunningCopyName(folder.Path(), L"Global\\", L".Running").c_str());
    ASSERT_NE(held, nullptr);
    const std::wstring program = folder.File(L"dayvane.exe");
    ASSERT_TRUE(CopyFileW(gui::Config().program.c_str(), program.c_str(), FALSE));
    gui::Program start(program, gui::Await::Nothing);
    const HWND box = gui::WaitForOtherWindow(start.ProcessId(), nullptr, 15000);
    ASSERT_NE(box, nullptr) << "no message";
    const std::wstring message = gui::ChildTexts(box);
    EXPECT_NE(message.find(L"Dayvane is already running for these notes in another session."), std::wstring::npos)
        << message.c_str();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(start.WaitForExit(5000));
    EXPECT_NE(start.ExitCode(), 0u);
    EXPECT_EQ(NamesIn(folder), std::vector<std::wstring>{L"dayvane.exe"}) << "nothing is written";
    CloseHandle(held);
}
