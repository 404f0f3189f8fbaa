// Entry point of the window test programs.
#include <gtest/gtest.h>

#include "Harness.h"
#include "Screen.h"

namespace {

// Many tests keep "today" and "tomorrow" from their start and would fail where the day ends
// under them, so no test starts in the last minute of a day: it waits for the next day.
class NoTestAcrossMidnight : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        const auto now = [] { SYSTEMTIME time{}; GetLocalTime(&time); return time; };
        const SYSTEMTIME start = now();
        if (start.wHour == 23 && start.wMinute == 59)
            gui::WaitUntil([&] { return now().wDay != start.wDay; }, 65000);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    gui::ParseOptions(argc, argv);
    gui::WaitForDesktop();
    testing::UnitTest::GetInstance()->listeners().Append(new NoTestAcrossMidnight);
    return RUN_ALL_TESTS();
}
