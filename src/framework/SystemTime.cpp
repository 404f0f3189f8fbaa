// The C runtime's 64-bit time and local-time conversion.
#include "framework/SystemTime.h"

#include <windows.h>

#include <ctime>

#include "framework/Text.h"

namespace fw {

namespace {
const SystemTime systemTime;
const core::TimeService* installed = nullptr;
}  // namespace

// From the system clock directly: the C runtime's _time64 also re-reads the time zone on
// every call, which the clock timer would pay a hundred times a second.
core::Moment SystemTime::Now() const
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG TICKS_PER_SECOND = 10000000;
    constexpr ULONGLONG EPOCH_TICKS = 116444736000000000;  // 1601-01-01 to 1970-01-01
    return static_cast<core::Moment>((ticks - EPOCH_TICKS) / TICKS_PER_SECOND);
}

bool SystemTime::ToLocal(core::Moment moment, core::LocalTime& local) const
{
    __time64_t value = moment;
    std::tm parts{};
    if (_localtime64_s(&parts, &value) != 0)
        return false;
    local = core::LocalTime{};
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    local.weekday = parts.tm_wday;
    local.yearDay = parts.tm_yday;
    local.daylightSaving = parts.tm_isdst > 0;
    // The local fields read as if they were UTC, minus the moment, give the offset.
    const __time64_t asUtc = _mkgmtime64(&parts);
    if (asUtc != -1)
        local.utcOffsetSeconds = static_cast<int>(asUtc - value);
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID)
        local.zoneName = Narrow(local.daylightSaving ? zone.DaylightName : zone.StandardName);
    return true;
}

const core::TimeService& TimeSource()
{
    return installed ? *installed : systemTime;
}

void SetTimeSource(const core::TimeService* service)
{
    installed = service;
}

}  // namespace fw
