// Moments (seconds since 1970-01-01 UTC), local calendar time and the time service.
#pragma once

#include <cstdint>
#include <string>

namespace core {

using Moment = std::int64_t;

// A moment broken down in local time, with the ranges of the C library's struct tm
// except that `year` is the full year and `month` runs from 1 to 12.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 = Sunday
    int yearDay = 0;  // 0 = 1 January
    bool daylightSaving = false;
    int utcOffsetSeconds = 0;  // east of UTC, daylight saving included
    std::string zoneName;      // UTF-8; empty when unknown
};

// Current time and local-time conversion: the platform supplies the real one, tests a fixed one.
class TimeService {
public:
    virtual ~TimeService() = default;
    virtual Moment Now() const = 0;
    // False when the moment cannot be expressed in local time (the C library rejects
    // negative moments and years beyond 3000).
    virtual bool ToLocal(Moment moment, LocalTime& local) const = 0;
};

// Breaks `moment` down in a zone `offsetSeconds` east of UTC with no daylight saving.
// Like the C library it refuses negative moments and years after 3000.
bool BreakDown(Moment moment, int offsetSeconds, LocalTime& local);

}  // namespace core
