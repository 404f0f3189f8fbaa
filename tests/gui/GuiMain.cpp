// Entry point of the window test programs.
#include <gtest/gtest.h>

#include "Harness.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    gui::ParseOptions(argc, argv);
    gui::WaitForDesktop();
    return RUN_ALL_TESTS();
}
