// Day keys from moments and from dates.
#include "core/DayKey.h"

#include <cstdio>

#include "core/FormatMoment.h"

namespace core {

std::string MakeDayKey(const TimeService& time, Moment moment)
{
    return FormatMoment(time, moment, "%d%m%y");
}

std::string DayKeyFromDate(int year, int month, int day)
{
    char key[16];
    std::snprintf(key, sizeof key, "%02d%02d%02d", day % 100, month % 100, (year % 100 + 100) % 100);
    return key;
}

}  // namespace core
