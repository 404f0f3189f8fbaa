// One VEVENT of an iCalendar file: the properties that decide what it becomes, and the
// rules that turn it into lines on days.
#pragma once

#include <cstdint>
#include <string>

#include "core/ICalendarImport.h"
#include "core/ICalendarLines.h"
#include "core/ImportedDays.h"

namespace core {

struct ICalendarEvent {
    bool hasStart = false, hasEnd = false, hasDuration = false;
    bool badDates = false;
    bool otherRepeat = false;
    ICalendarTime start, end;
    std::int64_t duration = 0;
    std::string summary, description, rule;

    // Takes one of the event's own content lines.
    void Take(const ContentLine& line);
    // Adds the event's lines to `days` and counts it in `import`: UTC times go to their local
    // day through `time`; `thisYear` dates the day keys and the yearly occurrences.
    void AddTo(ImportedDays& days, const TimeService& time, int thisYear, ICalendarImport& import) const;
};

}  // namespace core
