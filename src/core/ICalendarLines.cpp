// Unfolding and splitting iCalendar content lines, and reading their values.
#include "core/ICalendarLines.h"

namespace core {

namespace {

bool IsFoldSpace(char c)
{
    return c == ' ' || c == '\t';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// `count` decimal digits at `at`; false when any is no digit.
bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

ICalendarLines::ICalendarLines(std::string_view bytes) : rest(bytes)
{
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
}

std::string_view ICalendarLines::PhysicalLine()
{
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool ICalendarLines::Next(ContentLine& line)
{
    joined.clear();
    while (joined.empty()) {
        if (rest.empty())
            return false;
        const std::string_view first = PhysicalLine();
        joined.assign(first.data(), first.size());
    }
    while (!rest.empty() && IsFoldSpace(rest.front())) {
        const std::string_view continued = PhysicalLine();
        joined.append(continued.data() + 1, continued.size() - 1);
    }
    // The name ends at the first ';' or ':'; the value at the first ':' outside quotes.
    std::size_t nameEnd = 0;
    while (nameEnd < joined.size() && joined[nameEnd] != ';' && joined[nameEnd] != ':') {
        joined[nameEnd] = Upper(joined[nameEnd]);
        ++nameEnd;
    }
    std::size_t colon = nameEnd;
    bool quoted = false;
    while (colon < joined.size() && (quoted || joined[colon] != ':')) {
        if (joined[colon] == '"')
            quoted = !quoted;
        ++colon;
    }
    const std::string_view all(joined);
    line.name = all.substr(0, nameEnd);
    line.params = all.substr(nameEnd, colon - nameEnd);
    line.value = colon < all.size() ? all.substr(colon + 1) : std::string_view();
    return true;
}

std::string_view ParamValue(std::string_view params, std::string_view name)
{
    std::size_t at = 0;
    while (at < params.size()) {
        // Each parameter starts after a ';' outside quotes.
        std::size_t end = at + 1;
        bool quoted = false;
        while (end < params.size() && (quoted || params[end] != ';')) {
            if (params[end] == '"')
                quoted = !quoted;
            ++end;
        }
        const std::string_view param = params.substr(at + 1, end - at - 1);
        const std::size_t equals = param.find('=');
        if (equals == name.size()) {
            bool same = true;
            for (std::size_t i = 0; i < equals && same; ++i)
                same = Upper(param[i]) == name[i];
            if (same) {
                std::string_view value = param.substr(equals + 1);
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                    value = value.substr(1, value.size() - 2);
                return value;
            }
        }
        at = end;
    }
    return {};
}

std::string UnescapeText(std::string_view value)
{
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char escaped = value[++i];
        if (escaped == 'n' || escaped == 'N')
            text += "\r\n";
        else
            text += escaped;  // \\ \; \, and, from lenient producers, \: and the like
    }
    return text;
}

bool ParseICalendarTime(std::string_view value, ICalendarTime& time)
{
    ICalendarTime read;
    if (!Digits(value, 0, 4, read.date.year) || !Digits(value, 4, 2, read.date.month) ||
        !Digits(value, 6, 2, read.date.day))
        return false;
    if (value.size() > 8) {
        read.hasTime = true;
        read.utc = value.size() == 16 && value[15] == 'Z';
        if (value[8] != 'T' || value.size() != (read.utc ? 16u : 15u) || !Digits(value, 9, 2, read.hour) ||
            !Digits(value, 11, 2, read.minute) || !Digits(value, 13, 2, read.second))
            return false;
    }
    // A leap second (60) is allowed by RFC 5545; it counts as the last second of its minute.
    if (read.date.year < 1 || read.date.month < 1 || read.date.month > 12 || read.date.day < 1 ||
        read.date.day > DaysInMonth(read.date.year, read.date.month) || read.hour > 23 || read.minute > 59 ||
        read.second > 60)
        return false;
    if (read.second == 60)
        read.second = 59;
    time = read;
    return true;
}

bool ParseDuration(std::string_view value, std::int64_t& seconds)
{
    bool negative = false;
    if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    if (value.empty() || value.front() != 'P')
        return false;
    std::int64_t total = 0;
    bool inTime = false, any = false;
    std::int64_t number = -1;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c >= '0' && c <= '9') {
            // Durations past a few thousand years mean nothing to a calendar of days.
            if (number > 1000000000)
                return false;
            number = (number < 0 ? 0 : number * 10) + (c - '0');
            continue;
        }
        if (c == 'T' && number < 0 && !inTime) {
            inTime = true;
            continue;
        }
        static const struct {
            char unit;
            bool time;
            std::int64_t seconds;
        } units[] = {{'W', false, 604800}, {'D', false, 86400}, {'H', true, 3600}, {'M', true, 60}, {'S', true, 1}};
        bool known = false;
        for (const auto& unit : units)
            if (c == unit.unit && inTime == unit.time && number >= 0) {
                total += number * unit.seconds;
                known = any = true;
            }
        if (!known)
            return false;
        number = -1;
    }
    if (!any || number >= 0)
        return false;
    seconds = negative ? -total : total;
    return true;
}

// Howard Hinnant's algorithms for the proleptic Gregorian calendar.
std::int64_t DaysFromDate(const CalendarDate& date)
{
    const std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate DateFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

}  // namespace core
