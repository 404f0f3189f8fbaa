// Formatting moments: the clock presets, the 128-byte rule and malformed formats; numbers as text.
#include "core/FormatMoment.h"

#include <climits>

#include <gtest/gtest.h>

#include "core/Numerals.h"

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

TEST(FormatMoment, EveryConversionOfTheCLocale)
{
    const std::pair<const char*, const char*> cases[] = {
        {"%a", "Mon"},       {"%A", "Monday"},  {"%b", "Mar"},          {"%B", "March"},
        {"%c", "Mon Mar  5 14:05:09 2007"},     {"%C", "20"},           {"%d", "05"},
        {"%D", "03/05/07"},  {"%e", " 5"},      {"%F", "2007-03-05"},   {"%g", "07"},
        {"%G", "2007"},      {"%h", "Mar"},     {"%H", "14"},           {"%I", "02"},
        {"%j", "064"},       {"%m", "03"},      {"%M", "05"},           {"%n", "\n"},
        {"%p", "PM"},        {"%r", "02:05:09 PM"}, {"%R", "14:05"},    {"%S", "09"},
        {"%t", "\t"},        {"%T", "14:05:09"}, {"%u", "1"},           {"%U", "09"},
        {"%V", "10"},        {"%w", "1"},       {"%W", "10"},           {"%x", "03/05/07"},
        {"%X", "14:05:09"},  {"%y", "07"},      {"%Y", "2007"},         {"%z", "+0100"},
        {"%Z", ""},          {"%%", "%"},       {"%Ec", "Mon Mar  5 14:05:09 2007"},
        {"%EY", "2007"},     {"%Od", "05"},     {"%OV", "10"},
    };
    core::LocalTime local;
    ASSERT_TRUE(zone.ToLocal(monday, local));
    for (const auto& [format, expected] : cases)
        EXPECT_EQ(core::FormatLocalTime(local, format), expected) << format;
}

TEST(FormatMoment, WeeksAndHoursAtTheirEdges)
{
    const FixedTime utc(0);
    // Friday 1 January 2010 belongs to week 53 of 2009; Monday 29 December 2008 to week 1 of 2009.
    EXPECT_EQ(core::FormatMoment(utc, 1262304000, "%G-W%V %U %W"), "2009-W53 00 00");
    EXPECT_EQ(core::FormatMoment(utc, 1230508800, "%G-W%V %g"), "2009-W01 09");
    // Midnight and noon on the 12-hour clock.
    EXPECT_EQ(core::FormatMoment(utc, 1230508800, "%I %p"), "12 AM");
    EXPECT_EQ(core::FormatMoment(utc, 1230508800 + 12 * 3600, "%I %p"), "12 PM");
    // West of UTC.
    EXPECT_EQ(core::FormatMoment(FixedTime(0, -(5 * 3600 + 30 * 60)), 1230508800, "%z %d"), "-0530 28");
}

// The numbers every format, file name and report is made of, at the edges of their types.
TEST(Numerals, PaddingSignsAndTheWidestValues)
{
    EXPECT_EQ(core::Decimal(7, 2), "07");
    EXPECT_EQ(core::Decimal(-7, 2), "-07");
    EXPECT_EQ(core::Decimal(5, 2, ' '), " 5");
    EXPECT_EQ(core::Decimal(12345, 2), "12345");
    EXPECT_EQ(core::Decimal(LLONG_MIN), "-9223372036854775808");
    EXPECT_EQ(core::WideDecimal(-42), L"-42");
    EXPECT_EQ(core::Hexadecimal(0x2A, 4), "002A");
    EXPECT_EQ(core::Hexadecimal(0), "0");
    EXPECT_EQ(core::Hexadecimal(ULLONG_MAX), "FFFFFFFFFFFFFFFF");
}
