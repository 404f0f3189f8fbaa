// Formatting moments: the clock presets, the 128-byte rule and malformed formats.
#include "core/FormatMoment.h"

#include <gtest/gtest.h>

#include "FixedTime.h"

namespace {

// Monday 5 March 2007, 14:05:09 in a zone one hour east of UTC.
const FixedTime zone(0, 3600);
constexpr core::Moment monday = 1173103509 - 3600;

std::string Format(const std::string& format, core::Moment moment = monday)
{
    return core::FormatMoment(zone, moment, format);
}

}  // namespace

TEST(FormatMoment, ClockPresets)
{
    EXPECT_EQ(Format("%H:%M:%S"), "14:05:09");
    EXPECT_EQ(Format("%I:%M:%S %p"), "02:05:09 PM");
    EXPECT_EQ(Format("%a %H:%M:%S"), "Mon 14:05:09");
    EXPECT_EQ(Format("%a %I:%M:%S %p"), "Mon 02:05:09 PM");
    EXPECT_EQ(Format("%A %H:%M"), "Monday 14:05");
    EXPECT_EQ(Format("%A %I:%M %p"), "Monday 02:05 PM");
    EXPECT_EQ(Format("Time %H:%M"), "Time 14:05");
}

TEST(FormatMoment, ResultsMustFitIn128Bytes)
{
    EXPECT_EQ(Format(std::string(127, 'x')), std::string(127, 'x'));
    EXPECT_EQ(Format(std::string(128, 'x')), "");
    // 21 x "Monday" = 126 bytes fits, and one more conversion does not
    std::string days;
    for (int i = 0; i < 21; ++i)
        days += "%A";
    EXPECT_EQ(Format(days).size(), 126u);
    EXPECT_EQ(Format(days + "%d"), "");
    EXPECT_EQ(Format(""), "");
}

TEST(FormatMoment, NoLocalTimeGivesNoText)
{
    EXPECT_EQ(core::FormatMoment(zone, -1, "%H"), "");
    EXPECT_EQ(core::FormatMoment(zone, 32535216000, "%H"), "");
}

TEST(FormatMoment, MalformedConversionsAreCopiedAndOtherTextPassesThrough)
{
    EXPECT_EQ(Format("%Q %H"), "%Q 14");
    EXPECT_EQ(Format("100%"), "100%");
    EXPECT_EQ(Format("%%H"), "%H");
    EXPECT_EQ(Format("%Ez%EY%OH"), "%Ez200714");
    EXPECT_EQ(Format("\u65e5\u672c %H\u6642"), "\u65e5\u672c 14\u6642");
}
