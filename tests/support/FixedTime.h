// A time service for tests: a current moment that a test (on any thread) sets, in a zone
// with a fixed UTC offset.
#pragma once

#include <atomic>

#include "core/Moment.h"

class FixedTime : public core::TimeService {
public:
    explicit FixedTime(core::Moment start, int offsetSeconds = 0) : now(start), offset(offsetSeconds) {}

    core::Moment Now() const override { return now; }
    bool ToLocal(core::Moment moment, core::LocalTime& local) const override
    {
        return core::BreakDown(moment, offset, local);
    }

    std::atomic<core::Moment> now;
    int offset;
};
