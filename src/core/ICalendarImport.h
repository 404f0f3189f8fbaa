// What an iCalendar file's events become in the notes: the lines each day gets, what was
// already there, and what was skipped and why.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Moment.h"
#include "core/NoteStore.h"

namespace core {

// Why an entry of the file brought no line.
enum class ImportSkip {
    RepeatRule,    // RRULE other than yearly, RDATE, EXDATE, RECURRENCE-ID
    OtherEntry,    // VTODO, VJOURNAL, VFREEBUSY
    Undated,       // DTSTART missing, or a date, end or duration that does not read
    NoSummary,     // nothing to write
    OutsideYears,  // a day that day keys cannot hold
    LongerThanAYear,
    NoYearlyDay,   // a yearly event whose UNTIL, COUNT or INTERVAL leaves it no day in the two years
    Count
};

struct ICalendarImport {
    enum class Outcome { Read, NotICalendar, CutShort };
    Outcome outcome = Outcome::Read;
    // Each changed day's whole new text, in date order; empty unless the file was read.
    std::vector<DayNote> changedNotes;
    std::size_t imported = 0;      // events that added a line to at least one day
    std::size_t alreadyThere = 0;  // events whose every line each day already had
    std::array<std::size_t, static_cast<std::size_t>(ImportSkip::Count)> skipped{};
    // Yearly events on 29 February that lost an occurrence to a year without that day, and
    // those years.
    std::size_t leapDayEvents = 0;
    std::vector<int> yearsWithoutLeapDay;
    int thisYear = 0;  // the first of the two years yearly events are placed in

    std::size_t Skipped() const;
};

// Reads `bytes` as iCalendar and works out what importing them into `store` adds. UTC times
// are placed on their local day through `time`; `todayYear` is this year, which dates the
// day keys (the hundred years around it) and the yearly occurrences (it and the next).
ICalendarImport ImportICalendar(std::string_view bytes, const NoteStore& store, const TimeService& time,
                                int todayYear);

}  // namespace core
