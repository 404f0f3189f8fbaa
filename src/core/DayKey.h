// Day keys: the six digits "ddmmyy" of a local date that name the day a note belongs to.
#pragma once

#include <string>

#include "core/Moment.h"

namespace core {

// The key of the local date of `moment`; empty when the moment has no local time.
std::string MakeDayKey(const TimeService& time, Moment moment);

}  // namespace core
