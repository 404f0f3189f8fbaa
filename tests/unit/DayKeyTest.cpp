// Breaking moments down and the day keys made from them.
#include "core/DayKey.h"
#include "core/DataFilePath.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

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

TEST(DayKey, FromTheDateEqualsTheKeyOfItsMoments)
{
    // Every day from 1970 to 2100, at noon in zones west and east of UTC.
    for (int offset : {-5 * 3600, 0, 9 * 3600}) {
        const FixedTime zone(0, offset);
        for (core::Moment day = 0; day < 47847; ++day) {
            const core::Moment noon = day * 86400 + 12 * 3600 - offset;
            core::LocalTime local;
            ASSERT_TRUE(zone.ToLocal(noon, local));
            ASSERT_EQ(core::DayKeyFromDate(local.year, local.month, local.day), core::MakeDayKey(zone, noon))
                << day << " " << offset;
        }
    }
}

TEST(DayKey, DatesOutsideTheTimeConversionKeepTheirOwnKeys)
{
    EXPECT_EQ(core::DayKeyFromDate(1900, 2, 28), "280200");
    EXPECT_EQ(core::DayKeyFromDate(1752, 9, 14), "140952");
    EXPECT_EQ(core::DayKeyFromDate(3001, 1, 1), "010101");
    EXPECT_NE(core::DayKeyFromDate(1969, 12, 30), core::DayKeyFromDate(1969, 12, 31));
}

// The century of a key comes from the hundred years around today, edges included.
TEST(DayKey, DatesOfKeysLieInTheHundredYearsAroundToday)
{
    struct Case {
        const char* key;
        int todayYear;
        bool valid;
        core::CalendarDate date;
    } cases[] = {
        {"010176", 2026, true, {1976, 1, 1}},    {"311275", 2026, true, {2075, 12, 31}},
        {"050307", 2026, true, {2007, 3, 5}},    {"290200", 2026, true, {2000, 2, 29}},
        {"290200", 1950, false, {}},             {"280200", 1950, true, {1900, 2, 28}},
        {"010150", 2000, true, {1950, 1, 1}},    {"311249", 2000, true, {2049, 12, 31}},
        {"290223", 2026, false, {}},             {"310407", 2026, false, {}},
        {"001307", 2026, false, {}},             {"01a107", 2026, false, {}},
        {"0101070", 2026, false, {}},            {"", 2026, false, {}},
    };
    for (const Case& c : cases) {
        core::CalendarDate date;
        EXPECT_EQ(core::DateOfDayKey(c.key, c.todayYear, date), c.valid) << c.key << " " << c.todayYear;
        if (c.valid) {
            EXPECT_EQ(date, c.date) << c.key << " " << c.todayYear;
        }
    }
}

TEST(DataFilePath, BesideTheProgramFile)
{
    EXPECT_EQ(core::BesideProgram("C:\\Tools\\Dayvane\\dayvane.exe", "qor_nots.dat"), "C:\\Tools\\Dayvane\\qor_nots.dat");
    EXPECT_EQ(core::BesideProgram("\\\\server\\share\\d.exe", "qor_info.dat"), "\\\\server\\share\\qor_info.dat");
    EXPECT_EQ(core::BesideProgram("dayvane.exe", "qor_info.dat"), "dayvane.exeqor_info.dat");
    EXPECT_EQ(core::BesideProgram("", "qor_info.dat"), "qor_info.dat");
}

TEST(DataFilePath, OnlyTheProgramsOwnTemporaryFilesAreTakenForOnes)
{
    EXPECT_TRUE(core::IsSaveTemporaryName(core::SaveTemporaryName(4294967295u, 17)));
    EXPECT_TRUE(core::IsSaveTemporaryName(core::SaveTemporaryName(0, 0)));
    for (const wchar_t* name : {L"dvn1A2B.tmp", L"dayvane-save-.tmp", L"dayvane-save-12.tmp", L"dayvane-save-12-.tmp",
                                L"dayvane-save-12-3.tmp.bak", L"dayvane-save-1x-3.tmp", L"dayvane-save-12-3.txt",
                                L"dayvane-save-12345678901-0.tmp", L"xdayvane-save-1-2.tmp", L"qor_nots.dat"})
        EXPECT_FALSE(core::IsSaveTemporaryName(name)) << name;
    // The framework's own prefix, until the program gives one, names none of the program's.
    EXPECT_FALSE(core::IsSaveTemporaryName(core::TemporaryName(L"save-", 1, 2)));
    EXPECT_FALSE(core::IsTemporaryName(L"", L"1-2.tmp"));
}

// The name that stands for a data folder: every digit comes from the whole hash, so that
// folders one character apart have names of their own.
TEST(DataFilePath, FoldersOneCharacterApartGetNamesOfTheirOwn)
{
    EXPECT_EQ(core::HashText(L""), L"cbf29ce484222325");  // FNV-1a's offset basis
    const std::vector<std::pair<std::wstring, std::wstring>> pairs = {
        {L"C:\\NOTES-1", L"C:\\NOTES-A"},
        {L"C:\\NOTES-1", L"C:\\NOTES-2"},
        {L"C:\\USERS\\ANA\\DAYVANE", L"C:\\USERS\\ANA\\DAYVANF"},
    };
    for (const auto& [one, other] : pairs) {
        const std::wstring name = core::HashText(one);
        EXPECT_EQ(name.size(), 16u);
        EXPECT_NE(name, core::HashText(other)) << one;
        EXPECT_GT(std::set<wchar_t>(name.begin(), name.end()).size(), 4u) << one;
    }
}
