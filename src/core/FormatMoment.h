// Text made from a moment with an strftime-style format: the clock and the day keys.
#pragma once

#include <string>

#include "core/Moment.h"

namespace core {

// The moment in local time formatted with `format`. The ISO C conversions are done here
// for the "C" locale (English names); an unknown or malformed conversion is copied as it
// stands and every other character passes through unchanged. Empty when the moment has no
// local time, or when the result with its terminating zero would not fit in 128 bytes.
std::string FormatMoment(const TimeService& time, Moment moment, const std::string& format);

// `format` applied to an already broken-down time, without the length rule.
std::string FormatLocalTime(const LocalTime& local, const std::string& format);

}  // namespace core
