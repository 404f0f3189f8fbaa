// What one iCalendar event becomes: the days it covers, its yearly occurrences, its line,
// or the reason it is skipped.
#include "core/ICalendarEvent.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "core/CodePage.h"
#include "core/Numerals.h"

namespace core {

namespace {

constexpr std::int64_t SECONDS_PER_DAY = 86400;
constexpr std::int64_t LONGEST_EVENT_DAYS = 366;

// iCalendar text is UTF-8; the bytes of a file written in another encoding become U+FFFD
// here, as the notes file would make them at the next save, so that importing the same file
// after a restart finds its lines.
std::string AsUtf8(std::string text)
{
    std::u16string wide;
    if (IsAscii(text) || Utf8ToUtf16(text, wide))
        return text;
    return Utf16ToUtf8(wide);
}

// A wall-clock time on a local day.
struct WallTime {
    CalendarDate date;
    std::int64_t secondOfDay = 0;

    std::int64_t Seconds() const { return DaysFromDate(date) * SECONDS_PER_DAY + secondOfDay; }
    static WallTime FromSeconds(std::int64_t seconds)
    {
        const std::int64_t days = (seconds >= 0 ? seconds : seconds - (SECONDS_PER_DAY - 1)) / SECONDS_PER_DAY;
        return {DateFromDays(days), seconds - days * SECONDS_PER_DAY};
    }
};

// A UTC time goes to the local day the time service gives it; a floating time and a time
// with a TZID are placed as written: the program carries no time-zone database, so a TZID
// names a zone it cannot convert from, and the day the producer wrote is the likeliest one
// the user expects. A UTC time the service cannot convert (before 1970) stays as written.
WallTime Placed(const ICalendarTime& time, const TimeService& service)
{
    WallTime wall{time.date, time.hour * 3600 + time.minute * 60 + time.second};
    LocalTime local;
    if (time.utc && service.ToLocal(wall.Seconds(), local))
        wall = {{local.year, local.month, local.day}, local.hour * 3600 + local.minute * 60 + local.second};
    return wall;
}

bool IsLeap(int year)
{
    return DaysInMonth(year, 2) == 29;
}

bool Number(std::string_view text, int limit, int& value)
{
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || value > limit)
            return false;
        value = value * 10 + (c - '0');
    }
    return !text.empty() && value > 0;
}

// FREQ=YEARLY with at most INTERVAL, COUNT, UNTIL, WKST, and a BYMONTH and BYMONTHDAY that
// only repeat the start's own month and day; anything else picks other days than the start's.
struct YearlyRule {
    int interval = 1;
    int count = 0;  // none
    bool hasUntil = false;
    ICalendarTime until;

    bool Read(std::string_view rule, const CalendarDate& start)
    {
        bool yearly = false;
        while (!rule.empty()) {
            const std::size_t end = rule.find(';');
            const std::string_view part = rule.substr(0, end);
            rule.remove_prefix(end == std::string_view::npos ? rule.size() : end + 1);
            const std::size_t equals = part.find('=');
            if (equals == std::string_view::npos)
                return false;
            const std::string_view name = part.substr(0, equals), value = part.substr(equals + 1);
            int number = 0;
            bool read = true;
            if (name == "FREQ")
                yearly = value == "YEARLY";
            else if (name == "INTERVAL")
                read = Number(value, 10000, interval);
            else if (name == "COUNT")
                read = Number(value, 100000000, count);
            else if (name == "UNTIL")
                read = hasUntil = ParseICalendarTime(value, until);
            else if (name == "BYMONTH")
                read = Number(value, 12, number) && number == start.month;
            else if (name == "BYMONTHDAY")
                read = Number(value, 31, number) && number == start.day;
            else
                read = name == "WKST";
            if (!read)
                return false;
        }
        return yearly;
    }
};

// The rules applied to one event: whether it is skipped, its occurrences, the days each
// covers, its line; and its count in the result.
class EventRules {
public:
    EventRules(ImportedDays& importedDays, const TimeService& timeService, int todayYear, ICalendarImport& import)
        : days(importedDays), time(timeService), thisYear(todayYear), result(import)
    {
    }

    void Add(const ICalendarEvent& event)
    {
        Occurrences occurrences;
        const std::optional<ImportSkip> skip = Skip(event, occurrences);
        if (skip) {
            ++result.skipped[static_cast<std::size_t>(*skip)];
            return;
        }
        // A yearly 29 February left with no leap year counts only among those.
        if (occurrences.list.empty())
            return;
        const std::string body = Body(event);
        bool added = false;
        for (const Occurrence& occurrence : occurrences.list)
            for (std::int64_t day = 0; day <= occurrences.extraDays; ++day)
                added = days.Add(DateFromDays(DaysFromDate(occurrence.start.date) + day),
                                 occurrence.timed ? TimePrefix(occurrence.start) + body : body) ||
                        added;
        ++(added ? result.imported : result.alreadyThere);
    }

private:
    struct Occurrence {
        WallTime start;
        bool timed;
    };
    struct Occurrences {
        std::vector<Occurrence> list;
        std::int64_t extraDays = 0;  // days covered after each occurrence's first
    };

    static std::string Body(const ICalendarEvent& event)
    {
        // The export writes a note's first line as SUMMARY and the whole note as DESCRIPTION.
        if (!event.description.empty() && event.description.compare(0, event.summary.size(), event.summary) == 0)
            return event.description;
        return event.summary;
    }

    static std::string TimePrefix(const WallTime& start)
    {
        return Decimal(start.secondOfDay / 3600, 2) + ":" + Decimal(start.secondOfDay / 60 % 60, 2) + " ";
    }

    // Why the event brings nothing, or none with its occurrences filled in.
    std::optional<ImportSkip> Skip(const ICalendarEvent& event, Occurrences& occurrences)
    {
        YearlyRule yearly;
        if (event.otherRepeat || (!event.rule.empty() && !yearly.Read(event.rule, event.start.date)))
            return ImportSkip::RepeatRule;
        if (!event.hasStart || event.badDates)
            return ImportSkip::Undated;
        if (IsBlankText(Body(event)))
            return ImportSkip::NoSummary;
        const WallTime start = Placed(event.start, time);
        occurrences.extraDays = ExtraDays(event, start);
        if (occurrences.extraDays >= LONGEST_EVENT_DAYS)
            return ImportSkip::LongerThanAYear;
        if (event.rule.empty())
            occurrences.list.push_back({start, event.start.hasTime});
        else if (!YearlyOccurrences(event, yearly, occurrences))
            return ImportSkip::NoYearlyDay;
        // A day past the key window would take the key of a day a hundred years away.
        if (!occurrences.list.empty()) {
            const CalendarDate last =
                DateFromDays(DaysFromDate(occurrences.list.back().start.date) + occurrences.extraDays);
            if (occurrences.list.front().start.date.year < thisYear - 50 || last.year > thisYear + 49)
                return ImportSkip::OutsideYears;
        }
        return std::nullopt;
    }

    // The days an event covers after its first: an all-day event's DTEND is the day after
    // its last; a timed event covers the day its end falls in, unless it ends at midnight.
    // An end before the start leaves the start's day.
    std::int64_t ExtraDays(const ICalendarEvent& event, const WallTime& start) const
    {
        if (!event.start.hasTime) {
            std::int64_t covered = 1;
            if (event.hasEnd)
                covered = DaysFromDate(event.end.date) - DaysFromDate(event.start.date);
            else if (event.hasDuration)
                covered = (event.duration + SECONDS_PER_DAY - 1) / SECONDS_PER_DAY;
            return covered < 1 ? 0 : covered - 1;
        }
        WallTime end = start;
        if (event.hasEnd)
            end = Placed(event.end, time);
        else if (event.hasDuration)
            end = WallTime::FromSeconds(start.Seconds() + event.duration);
        if (end.Seconds() <= start.Seconds())
            return 0;
        const std::int64_t last = DaysFromDate(end.date) - (end.secondOfDay == 0 ? 1 : 0);
        return last - DaysFromDate(start.date);
    }

    // A yearly event's occurrences in the two years from this one, or from its first year when
    // that is later. A 29 February start has no day in other years: RFC 5545 leaves those out
    // and does not count them. False when no occurrence is left but for that reason.
    bool YearlyOccurrences(const ICalendarEvent& event, const YearlyRule& yearly, Occurrences& occurrences)
    {
        const CalendarDate first = event.start.date;
        const bool leapDay = first.month == 2 && first.day == 29;
        const int from = std::max(thisYear, first.year);
        bool lostLeapDay = false;
        for (int year = from; year <= from + 1; ++year) {
            if ((year - first.year) % yearly.interval != 0)
                continue;
            if (leapDay && !IsLeap(year)) {
                lostLeapDay = true;
                NoteYearWithoutLeapDay(year);
                continue;
            }
            ICalendarTime written = event.start;
            written.date.year = year;
            if (yearly.hasUntil && After(written, yearly.until))
                continue;
            if (yearly.count > 0 && OccurrencesBefore(first, year, yearly.interval, yearly.count) >= yearly.count)
                continue;
            occurrences.list.push_back({Placed(written, time), event.start.hasTime});
        }
        if (lostLeapDay)
            ++result.leapDayEvents;
        return !occurrences.list.empty() || lostLeapDay;
    }

    // How many occurrences come before `year`, counting no further than `limit`.
    static int OccurrencesBefore(const CalendarDate& first, int year, int interval, int limit)
    {
        if (first.month != 2 || first.day != 29)
            return (year - first.year) / interval;
        int before = 0;
        for (int y = first.year; y < year && before < limit; y += interval)
            before += IsLeap(y) ? 1 : 0;
        return before;
    }

    static bool After(const ICalendarTime& time, const ICalendarTime& until)
    {
        const auto key = [](const ICalendarTime& t) {
            return std::make_tuple(t.date.year, t.date.month, t.date.day, t.hasTime ? t.hour : 0,
                                   t.hasTime ? t.minute : 0, t.hasTime ? t.second : 0);
        };
        // An UNTIL that is a date takes in that whole day.
        if (!until.hasTime)
            return std::tie(time.date.year, time.date.month, time.date.day) >
                   std::tie(until.date.year, until.date.month, until.date.day);
        return key(time) > key(until);
    }

    void NoteYearWithoutLeapDay(int year)
    {
        for (const int noted : result.yearsWithoutLeapDay)
            if (noted == year)
                return;
        result.yearsWithoutLeapDay.push_back(year);
        std::sort(result.yearsWithoutLeapDay.begin(), result.yearsWithoutLeapDay.end());
    }

    ImportedDays& days;
    const TimeService& time;
    const int thisYear;
    ICalendarImport& result;
};

}  // namespace

void ICalendarEvent::Take(const ContentLine& line)
{
    if (line.name == "DTSTART") {
        hasStart = ParseICalendarTime(line.value, start);
        badDates = badDates || !hasStart;
    } else if (line.name == "DTEND") {
        hasEnd = ParseICalendarTime(line.value, end);
        badDates = badDates || !hasEnd;
    } else if (line.name == "DURATION") {
        hasDuration = ParseDuration(line.value, duration);
        badDates = badDates || !hasDuration;
    } else if (line.name == "SUMMARY") {
        summary = AsUtf8(UnescapeText(line.value));
    } else if (line.name == "DESCRIPTION") {
        description = AsUtf8(UnescapeText(line.value));
    } else if (line.name == "RRULE") {
        otherRepeat = otherRepeat || !rule.empty();
        rule.assign(line.value.data(), line.value.size());
    } else if (line.name == "RDATE" || line.name == "EXDATE" || line.name == "EXRULE" ||
               line.name == "RECURRENCE-ID") {
        // Extra dates, left-out dates and changed occurrences belong to repeats that are
        // read whole or not at all.
        otherRepeat = true;
    }
}

void ICalendarEvent::AddTo(ImportedDays& days, const TimeService& time, int thisYear, ICalendarImport& import) const
{
    EventRules(days, time, thisYear, import).Add(*this);
}

}  // namespace core
