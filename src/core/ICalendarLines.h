// Reading iCalendar text (RFC 5545) as producers write it: unfolded content lines, their
// parameters, TEXT values, dates, date-times and durations.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/DayKey.h"

namespace core {

// One content line: NAME;PARAM=VALUE;...:VALUE. The views stay valid until the next Next().
struct ContentLine {
    std::string_view name;    // upper case
    std::string_view params;  // ";A=B;C=\"d;e\"", as written
    std::string_view value;
};

// The content lines of a file, folding undone: CR LF or a bare LF ends a line, a line that
// starts with a space or a tab continues the one before, and a UTF-8 byte-order mark at the
// start is passed over. Empty lines are passed over too.
class ICalendarLines {
public:
    explicit ICalendarLines(std::string_view bytes);
    // False at the end of the bytes. A line without a colon is no content line: it comes as
    // a name alone, with an empty value.
    bool Next(ContentLine& line);

private:
    std::string_view PhysicalLine();

    std::string_view rest;
    std::string joined;  // a folded line put back together
};

// The value of parameter `name` (upper case) among `params`, unquoted; empty when absent.
std::string_view ParamValue(std::string_view params, std::string_view name);

// A TEXT value with its escapes undone; \n and \N become CR LF, the notes' line break.
std::string UnescapeText(std::string_view value);

// A DATE ("20261224") or a DATE-TIME ("20261224T093000", with "Z" for UTC).
struct ICalendarTime {
    CalendarDate date;
    bool hasTime = false;
    bool utc = false;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// False when the value is neither, or names no real date and time of years 1 to 9999.
bool ParseICalendarTime(std::string_view value, ICalendarTime& time);

// A DURATION ("P1D", "PT1H30M", "P2W", "-P1D") in seconds, days counted as 86,400 seconds.
bool ParseDuration(std::string_view value, std::int64_t& seconds);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromDate(const CalendarDate& date);
CalendarDate DateFromDays(std::int64_t days);

}  // namespace core
