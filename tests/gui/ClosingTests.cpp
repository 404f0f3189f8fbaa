// Every way of ending the program ends the process; the Cancel paths write nothing.
#include <gtest/gtest.h>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

constexpr WPARAM closeCommand = ID_CLOSE;

void ExpectCancelLeavesFolderAsItWas(const std::function<void(const gui::Program&)>& cancel)
{
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_nots.dat"),
                                    std::string("\x01\x00\x00\x00\x06" "050307" "\x04" "note", 16)));
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), "too short to be read"));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const auto before = folder.Contents();
    ASSERT_EQ(before.size(), 3u);
    // Typed but not committed: the Cancel path drops it.
    SetDlgItemTextW(program.Window(), 1001, L"dropped");
    cancel(program);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_TRUE(gui::VisibleTopLevelWindows(program.ProcessId()).empty());
    EXPECT_EQ(folder.Contents(), before);
}

void ExpectEnds(UINT message, WPARAM wParam)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    PostMessageW(program.Window(), message, wParam, 0);
    EXPECT_TRUE(program.WaitForExit(5000));
}

}  // namespace

TEST(Closing, EscapeEndsTheProgramAndWritesNothing)
{
    ExpectCancelLeavesFolderAsItWas([](const gui::Program& program) {
        ASSERT_TRUE(gui::BringToFront(program.Window()));
        gui::PressKey(VK_ESCAPE);
    });
}

TEST(Closing, CancelCommandEndsTheProgramAndWritesNothing)
{
    ExpectCancelLeavesFolderAsItWas(
        [](const gui::Program& program) { PostMessageW(program.Window(), WM_COMMAND, IDCANCEL, 0); });
}

TEST(Closing, CloseRequestEndsTheProgramAndWritesNothing)
{
    ExpectCancelLeavesFolderAsItWas(
        [](const gui::Program& program) { PostMessageW(program.Window(), WM_CLOSE, 0, 0); });
}

TEST(Closing, OkPathsEndTheProgram)
{
    ExpectEnds(WM_COMMAND, IDOK);
    ExpectEnds(WM_COMMAND, closeCommand);
    ExpectEnds(WM_ENDSESSION, TRUE);
    ExpectEnds(WM_ENDSESSION, FALSE);
}

TEST(Closing, EnterOnTheMonthCalendarEndsTheProgram)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(gui::BringToFront(program.Window()));
    gui::PressKey(VK_RETURN);
    EXPECT_TRUE(program.WaitForExit(5000));
}

TEST(Closing, EnterInTheNotesBoxStartsANewLine)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(gui::BringToFront(program.Window()));
    SetDlgItemTextW(program.Window(), 1001, L"");
    RECT box{};
    GetWindowRect(GetDlgItem(program.Window(), IDC_NOTES), &box);
    gui::MoveCursorTo({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    gui::LeftButton(true);
    gui::LeftButton(false);
    for (WORD key : {WORD('A'), WORD(VK_RETURN), WORD('B')})
        gui::PressKey(key);
    wchar_t text[64] = L"";
    // The last key typed is in the box once every key before it is.
    gui::WaitUntil([&] {
        GetDlgItemTextW(program.Window(), 1001, text, 64);
        return std::wstring(text).find(L'b') != std::wstring::npos;
    });
    EXPECT_STREQ(text, L"a\r\nb");
    EXPECT_TRUE(program.Running());
}
