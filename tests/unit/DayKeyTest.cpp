// Breaking moments down and the day keys made from them.
#include "core/DayKey.h"

#include <gtest/gtest.h>

#include "FixedTime.h"

namespace {

core::LocalTime At(core::Moment moment, int offset = 0)
{
    core::LocalTime local;
    EXPECT_TRUE(core::BreakDown(moment, offset, local));
    return local;
}

}  // namespace

TEST(BreakDown, KnownMoments)
{
    const core::LocalTime epoch = At(0);
    EXPECT_EQ(epoch.year, 1970);
    EXPECT_EQ(epoch.month, 1);
    EXPECT_EQ(epoch.day, 1);
    EXPECT_EQ(epoch.weekday, 4);

    // Monday 5 March 2007, 14:05:09 UTC.
    const core::LocalTime monday = At(1173103509);
    EXPECT_EQ(monday.year, 2007);
    EXPECT_EQ(monday.month, 3);
    EXPECT_EQ(monday.day, 5);
    EXPECT_EQ(monday.hour, 14);
    EXPECT_EQ(monday.minute, 5);
    EXPECT_EQ(monday.second, 9);
    EXPECT_EQ(monday.weekday, 1);
    EXPECT_EQ(monday.yearDay, 63);

    // 29 February 2000 and 31 December of a leap year.
    EXPECT_EQ(At(951782400).day, 29);
    EXPECT_EQ(At(978307200 - 1).yearDay, 365);
}

TEST(BreakDown, OffsetsMoveAcrossMidnight)
{
    // 23:30 UTC on 31 December 2006 is already 2007 one hour east.
    const core::LocalTime east = At(1167607800, 3600);
    EXPECT_EQ(east.year, 2007);
    EXPECT_EQ(east.month, 1);
    EXPECT_EQ(east.day, 1);
    EXPECT_EQ(east.hour, 0);
    EXPECT_EQ(east.weekday, 1);

    // The first hour after the epoch is still 1969 five hours west.
    const core::LocalTime west = At(3600, -5 * 3600);
    EXPECT_EQ(west.year, 1969);
    EXPECT_EQ(west.day, 31);
    EXPECT_EQ(west.hour, 20);
}

TEST(BreakDown, RefusesWhatTheCLibraryRefuses)
{
    core::LocalTime local;
    EXPECT_FALSE(core::BreakDown(-1, 0, local));
    EXPECT_TRUE(core::BreakDown(32535215999, 0, local));  // 3000-12-31 23:59:59
    EXPECT_FALSE(core::BreakDown(32535216000, 0, local));
}

TEST(DayKey, DayMonthTwoDigitYear)
{
    const FixedTime utc(0);
    EXPECT_EQ(core::MakeDayKey(utc, 1173103509), "050307");
    EXPECT_EQ(core::MakeDayKey(utc, 0), "010170");
    EXPECT_EQ(core::MakeDayKey(utc, 946684800), "010100");  // 1 January 2000
    EXPECT_EQ(core::MakeDayKey(utc, -1), "");

    const FixedTime east(0, 3600);
    EXPECT_EQ(core::MakeDayKey(east, 1167607800), "010107");
}
