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

}  // namespace core
