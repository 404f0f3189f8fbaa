// Importing iCalendar into day notes: the calendars of a file and the events in them.
#include "core/ICalendarImport.h"

#include <vector>

#include "core/ICalendarEvent.h"
#include "core/ICalendarLines.h"
#include "core/ImportedDays.h"

namespace core {

namespace {

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool IsOtherEntry(const std::string& component)
{
    return component == "VTODO" || component == "VJOURNAL" || component == "VFREEBUSY";
}

// Walks the calendars of the file; false with the outcome set when the file is refused.
bool ReadCalendars(std::string_view bytes, ImportedDays& days, const TimeService& time, int thisYear,
                   ICalendarImport& result)
{
    ICalendarLines lines(bytes);
    ContentLine line;
    // The components open at this line, the calendar first.
    std::vector<std::string> open;
    bool sawCalendar = false;
    ICalendarEvent event;
    while (lines.Next(line)) {
        const bool begins = line.name == "BEGIN", ends = line.name == "END";
        if (open.empty()) {
            // Before the first calendar only a calendar may start; between calendars, stray
            // lines are passed over.
            if (begins && Upper(line.value) == "VCALENDAR") {
                sawCalendar = true;
                open.push_back("VCALENDAR");
            } else if (!sawCalendar) {
                result.outcome = ICalendarImport::Outcome::NotICalendar;
                return false;
            }
            continue;
        }
        if (begins) {
            open.push_back(Upper(line.value));
            if (open.size() == 2 && open.back() == "VEVENT")
                event = ICalendarEvent();
            else if (open.size() == 2 && IsOtherEntry(open.back()))
                ++result.skipped[static_cast<std::size_t>(ImportSkip::OtherEntry)];
        } else if (ends) {
            if (Upper(line.value) != open.back()) {
                result.outcome = ICalendarImport::Outcome::NotICalendar;
                return false;
            }
            if (open.size() == 2 && open.back() == "VEVENT")
                event.AddTo(days, time, thisYear, result);
            open.pop_back();
        } else if (open.size() == 2 && open.back() == "VEVENT") {
            // Properties of components inside the event (an alarm's DESCRIPTION) are not its own.
            event.Take(line);
        }
    }
    if (!sawCalendar || !open.empty()) {
        result.outcome = sawCalendar ? ICalendarImport::Outcome::CutShort : ICalendarImport::Outcome::NotICalendar;
        return false;
    }
    return true;
}

}  // namespace

std::size_t ICalendarImport::Skipped() const
{
    std::size_t total = 0;
    for (const std::size_t count : skipped)
        total += count;
    return total;
}

ICalendarImport ImportICalendar(std::string_view bytes, const NoteStore& store, const TimeService& time,
                                int todayYear)
{
    ICalendarImport result;
    result.thisYear = todayYear;
    ImportedDays days(store);
    if (!ReadCalendars(bytes, days, time, todayYear, result)) {
        // A refused file changes nothing and reports nothing but the refusal.
        const ICalendarImport::Outcome outcome = result.outcome;
        result = ICalendarImport();
        result.outcome = outcome;
        result.thisYear = todayYear;
        return result;
    }
    result.changedNotes = days.Changed();
    return result;
}

}  // namespace core
