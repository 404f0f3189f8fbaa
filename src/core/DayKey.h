// Day keys: the six digits "ddmmyy" of a local date that name the day a note belongs to.
#pragma once

#include <string>

#include "core/Moment.h"

namespace core {

// The key of the local date of `moment` ("%d%m%y"); empty when the moment has no local time.
std::string MakeDayKey(const TimeService& time, Moment moment);

// The key of a calendar date, made from the date itself, so that dates the local-time
// conversion cannot reach still get keys of their own. Equal to MakeDayKey of any moment
// of that local date.
std::string DayKeyFromDate(int year, int month, int day);

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const CalendarDate& other) const
    {
        return year == other.year && month == other.month && day == other.day;
    }
};

// The number of days of `month` (1 to 12) in `year` of the Gregorian calendar.
int DaysInMonth(int year, int month);

// The date a day key names. Keys carry no century, so the year is the one ending in the
// key's two digits that lies in the hundred years around `todayYear`: from todayYear - 50
// to todayYear + 49. False when the key is not six digits of a real date of that year.
bool DateOfDayKey(const std::string& key, int todayYear, CalendarDate& date);

}  // namespace core
