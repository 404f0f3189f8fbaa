// Breaking a moment down into calendar fields.
#include "core/Moment.h"

namespace core {

namespace {

constexpr Moment SECONDS_PER_DAY = 86400;

// Days since 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's algorithm).
void CivilFromDays(Moment days, int& year, int& month, int& day)
{
    days += 719468;
    const Moment era = (days >= 0 ? days : days - 146096) / 146097;
    const Moment dayOfEra = days - era * 146097;
    const Moment yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const Moment dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const Moment shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

bool BreakDown(Moment moment, int offsetSeconds, LocalTime& local)
{
    if (moment < 0)
        return false;
    const Moment shifted = moment + offsetSeconds;
    Moment days = shifted / SECONDS_PER_DAY;
    Moment secondOfDay = shifted % SECONDS_PER_DAY;
    if (secondOfDay < 0) {
        secondOfDay += SECONDS_PER_DAY;
        --days;
    }
    LocalTime result;
    CivilFromDays(days, result.year, result.month, result.day);
    if (result.year > 3000)
        return false;
    result.hour = static_cast<int>(secondOfDay / 3600);
    result.minute = static_cast<int>(secondOfDay / 60 % 60);
    result.second = static_cast<int>(secondOfDay % 60);
    result.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    static const int daysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    result.yearDay = daysBeforeMonth[result.month - 1] + result.day - 1 +
                     (result.month > 2 && IsLeapYear(result.year) ? 1 : 0);
    result.daylightSaving = false;
    result.utcOffsetSeconds = offsetSeconds;
    local = result;
    return true;
}

}  // namespace core
