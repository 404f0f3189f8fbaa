// Day keys from moments.
#include "core/DayKey.h"

#include <cstdio>

namespace core {

std::string MakeDayKey(const TimeService& time, Moment moment)
{
    LocalTime local;
    if (moment < 0 || !time.ToLocal(moment, local))
        return {};
    char key[16];
    std::snprintf(key, sizeof key, "%02d%02d%02d", local.day % 100, local.month % 100, local.year % 100);
    return key;
}

}  // namespace core
