// Day keys from moments and from dates.
#include "core/DayKey.h"

#include "core/FormatMoment.h"
#include "core/Numerals.h"

namespace core {

std::string MakeDayKey(const TimeService& time, Moment moment)
{
    return FormatMoment(time, moment, "%d%m%y");
}

std::string DayKeyFromDate(int year, int month, int day)
{
    return Decimal(day % 100, 2) + Decimal(month % 100, 2) + Decimal((year % 100 + 100) % 100, 2);
}

namespace {

bool TwoDigits(const std::string& text, std::size_t at, int& value)
{
    const char tens = text[at], ones = text[at + 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return false;
    value = (tens - '0') * 10 + (ones - '0');
    return true;
}

}  // namespace

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool DateOfDayKey(const std::string& key, int todayYear, CalendarDate& date)
{
    int day = 0, month = 0, twoDigitYear = 0;
    if (key.size() != 6 || !TwoDigits(key, 0, day) || !TwoDigits(key, 2, month) || !TwoDigits(key, 4, twoDigitYear))
        return false;
    const int first = todayYear - 50;
    const int year = first + ((twoDigitYear - first) % 100 + 100) % 100;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    date = {year, month, day};
    return true;
}

}  // namespace core
