// The C runtime's 64-bit time and local-time conversion.
#include "framework/SystemTime.h"

#include <ctime>

namespace fw {

namespace {
const SystemTime systemTime;
const core::TimeService* installed = nullptr;
}  // namespace

core::Moment SystemTime::Now() const
{
    return _time64(nullptr);
}

bool SystemTime::ToLocal(core::Moment moment, core::LocalTime& local) const
{
    __time64_t value = moment;
    std::tm parts{};
    if (_localtime64_s(&parts, &value) != 0)
        return false;
    local = {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,  parts.tm_hour,    parts.tm_min,
             parts.tm_sec,         parts.tm_wday,    parts.tm_yday, parts.tm_isdst > 0};
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
