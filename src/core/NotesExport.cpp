// Exporting the notes to iCalendar and to text.
#include "core/NotesExport.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <unordered_set>

namespace core {

namespace {

constexpr std::size_t FOLD_OCTETS = 75;

std::string Digits(const CalendarDate& date, const char* format)
{
    char text[16];
    std::snprintf(text, sizeof text, format, date.year, date.month, date.day);
    return text;
}

CalendarDate NextDay(const CalendarDate& date)
{
    if (date.day < DaysInMonth(date.year, date.month))
        return {date.year, date.month, date.day + 1};
    return date.month == 12 ? CalendarDate{date.year + 1, 1, 1} : CalendarDate{date.year, date.month + 1, 1};
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

// A continuation byte of UTF-8 (10xxxxxx) never starts a character.
bool Continues(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

std::vector<DatedNote> DatedNotes(const NoteStore& store, int todayYear)
{
    std::vector<DatedNote> dated;
    std::unordered_set<std::string> seen;
    for (const DayNote& note : store.Notes()) {
        if (!seen.insert(note.key).second || IsBlankText(note.text))
            continue;
        CalendarDate date;
        if (DateOfDayKey(note.key, todayYear, date))
            dated.push_back({date, note.text});
    }
    std::stable_sort(dated.begin(), dated.end(), [](const DatedNote& a, const DatedNote& b) {
        return std::tie(a.date.year, a.date.month, a.date.day) < std::tie(b.date.year, b.date.month, b.date.day);
    });
    return dated;
}

std::string EscapeText(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ';' || c == ',') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\r') {
            escaped += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string FoldLine(const std::string& line)
{
    std::string folded;
    std::size_t start = 0;
    // The first line holds 75 octets; each continuation line starts with a space, so 74 more.
    std::size_t room = FOLD_OCTETS;
    while (line.size() - start > room) {
        std::size_t end = start + room;
        while (end > start && Continues(line[end]))
            --end;
        folded.append(line, start, end - start);
        folded += "\r\n ";
        start = end;
        room = FOLD_OCTETS - 1;
    }
    folded.append(line, start, std::string::npos);
    folded += "\r\n";
    return folded;
}

std::string ICalendarOf(const std::vector<DatedNote>& notes, const std::string& stamp)
{
    std::string file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Dayvane//Dayvane 1.15//EN\r\nCALSCALE:GREGORIAN\r\n";
    for (const DatedNote& note : notes) {
        const std::string day = Digits(note.date, "%04d%02d%02d");
        file += "BEGIN:VEVENT\r\n";
        // The same day always gets the same UID, so a later export updates an earlier import.
        file += FoldLine("UID:" + day + "@dayvane.example");
        file += "DTSTAMP:" + stamp + "\r\n";
        file += "DTSTART;VALUE=DATE:" + day + "\r\n";
        file += "DTEND;VALUE=DATE:" + Digits(NextDay(note.date), "%04d%02d%02d") + "\r\n";
        file += FoldLine("SUMMARY:" + EscapeText(FirstLine(note.text)));
        file += FoldLine("DESCRIPTION:" + EscapeText(note.text));
        file += "END:VEVENT\r\n";
    }
    file += "END:VCALENDAR\r\n";
    return file;
}

std::string TextOf(const std::vector<DatedNote>& notes)
{
    std::string file;
    for (const DatedNote& note : notes)
        file += Digits(note.date, "%04d-%02d-%02d") + "\r\n" + note.text + "\r\n\r\n";
    return file;
}

}  // namespace core
