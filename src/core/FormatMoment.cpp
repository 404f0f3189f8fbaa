// The strftime conversions of ISO C in the "C" locale.
#include "core/FormatMoment.h"

#include <cstdlib>

#include "core/Numerals.h"

namespace core {

namespace {

constexpr std::size_t BUFFER_SIZE = 128;

const char* const dayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                "Thursday", "Friday", "Saturday"};
const char* const monthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

int IsoWeeksInYear(int year)
{
    const auto jan1Shift = [](int y) { return (y + y / 4 - y / 100 + y / 400) % 7; };
    return 52 + (jan1Shift(year) == 4 || jan1Shift(year - 1) == 3 ? 1 : 0);
}

// The ISO 8601 week number and the year it belongs to.
void IsoWeek(const LocalTime& t, int& week, int& year)
{
    const int isoWeekday = t.weekday == 0 ? 7 : t.weekday;
    year = t.year;
    week = (t.yearDay + 1 - isoWeekday + 10) / 7;
    if (week < 1) {
        --year;
        week = IsoWeeksInYear(year);
    } else if (week > IsoWeeksInYear(year)) {
        ++year;
        week = 1;
    }
}

int Hour12(const LocalTime& t)
{
    return t.hour % 12 == 0 ? 12 : t.hour % 12;
}

// Appends conversion `c` and reports whether it is one; an unknown one appends nothing.
bool Convert(const LocalTime& t, char c, std::string& out)
{
    const int weekday = ((t.weekday % 7) + 7) % 7;
    const int month = ((t.month - 1) % 12 + 12) % 12;
    int isoWeek = 0, isoYear = 0;
    switch (c) {
    case 'a': out += std::string(dayNames[weekday], 3); break;
    case 'A': out += dayNames[weekday]; break;
    case 'b':
    case 'h': out += std::string(monthNames[month], 3); break;
    case 'B': out += monthNames[month]; break;
    case 'c':
        out += FormatLocalTime(t, "%a %b %e %H:%M:%S %Y");
        break;
    case 'C': out += Decimal(t.year / 100, 2); break;
    case 'd': out += Decimal(t.day, 2); break;
    case 'D':
    case 'x': out += FormatLocalTime(t, "%m/%d/%y"); break;
    case 'e': out += Decimal(t.day, 2, ' '); break;
    case 'F': out += FormatLocalTime(t, "%Y-%m-%d"); break;
    case 'g':
        IsoWeek(t, isoWeek, isoYear);
        out += Decimal(isoYear % 100, 2);
        break;
    case 'G':
        IsoWeek(t, isoWeek, isoYear);
        out += Decimal(isoYear, 1);
        break;
    case 'H': out += Decimal(t.hour, 2); break;
    case 'I': out += Decimal(Hour12(t), 2); break;
    case 'j': out += Decimal(t.yearDay + 1, 3); break;
    case 'm': out += Decimal(t.month, 2); break;
    case 'M': out += Decimal(t.minute, 2); break;
    case 'n': out += '\n'; break;
    case 'p': out += t.hour < 12 ? "AM" : "PM"; break;
    case 'r': out += FormatLocalTime(t, "%I:%M:%S %p"); break;
    case 'R': out += FormatLocalTime(t, "%H:%M"); break;
    case 'S': out += Decimal(t.second, 2); break;
    case 't': out += '\t'; break;
    case 'T':
    case 'X': out += FormatLocalTime(t, "%H:%M:%S"); break;
    case 'u': out += Decimal(weekday == 0 ? 7 : weekday, 1); break;
    case 'U': out += Decimal((t.yearDay + 7 - weekday) / 7, 2); break;
    case 'V':
        IsoWeek(t, isoWeek, isoYear);
        out += Decimal(isoWeek, 2);
        break;
    case 'w': out += Decimal(weekday, 1); break;
    case 'W': out += Decimal((t.yearDay + 7 - (weekday + 6) % 7) / 7, 2); break;
    case 'y': out += Decimal(t.year % 100, 2); break;
    case 'Y': out += Decimal(t.year, 1); break;
    case 'z': {
        const int minutes = std::abs(t.utcOffsetSeconds) / 60;
        out += t.utcOffsetSeconds < 0 ? '-' : '+';
        out += Decimal(minutes / 60 * 100 + minutes % 60, 4);
        break;
    }
    case 'Z': out += t.zoneName; break;
    case '%': out += '%'; break;
    default: return false;
    }
    return true;
}

bool TakesE(char c)
{
    return c == 'c' || c == 'C' || c == 'x' || c == 'X' || c == 'y' || c == 'Y';
}

bool TakesO(char c)
{
    for (char allowed : std::string("deHImMSuUVwWy"))
        if (c == allowed)
            return true;
    return false;
}

}  // namespace

std::string FormatLocalTime(const LocalTime& local, const std::string& format)
{
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        std::size_t at = i + 1;
        const char modifier = format[at];
        if ((modifier == 'E' || modifier == 'O') && at + 1 < format.size() &&
            (modifier == 'E' ? TakesE(format[at + 1]) : TakesO(format[at + 1])))
            ++at;
        if (Convert(local, format[at], out)) {
            i = at;
            continue;
        }
        out += '%';
    }
    return out;
}

std::string FormatMoment(const TimeService& time, Moment moment, const std::string& format)
{
    LocalTime local;
    if (!time.ToLocal(moment, local))
        return {};
    std::string text = FormatLocalTime(local, format);
    return text.size() < BUFFER_SIZE ? text : std::string();
}

}  // namespace core
