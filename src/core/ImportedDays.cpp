// Days growing by imported lines, each line at most once per day.
#include "core/ImportedDays.h"

#include <algorithm>
#include <tuple>

namespace core {

ImportedDays::Day& ImportedDays::Get(const CalendarDate& date)
{
    const std::string key = DayKeyFromDate(date.year, date.month, date.day);
    const auto [found, added] = days.try_emplace(key);
    Day& day = found->second;
    if (added) {
        day.date = date;
        const std::string* text = notes.Find(key);
        // A blank text is no note: the imported lines take its place.
        if (text && !IsBlankText(*text)) {
            day.text = *text;
            AddLines(day, day.text);
        }
    }
    return day;
}

// The lines of `text` split at CR LF, a lone LF or a lone CR.
void ImportedDays::AddLines(Day& day, const std::string& text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        day.lines.insert(text.substr(start, end - start));
        if (end == text.size())
            break;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// A block of several lines is there when the text holds it between line breaks, or at
// either end; a block that starts or ends with a line break brings that side's break.
bool ImportedDays::Holds(const Day& day, const std::string& line)
{
    if (line.find_first_of("\r\n") == std::string::npos)
        return day.lines.count(line) > 0;
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    const std::string& text = day.text;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        const std::size_t end = at + line.size();
        if ((at == 0 || isBreak(text[at - 1]) || isBreak(line.front())) &&
            (end == text.size() || isBreak(text[end]) || isBreak(line.back())))
            return true;
    }
    return false;
}

bool ImportedDays::Add(const CalendarDate& date, const std::string& line)
{
    Day& day = Get(date);
    if (Holds(day, line))
        return false;
    if (!day.text.empty() && day.text.back() != '\n')
        day.text += "\r\n";
    day.text += line;
    AddLines(day, line);
    day.changed = true;
    return true;
}

std::vector<DayNote> ImportedDays::Changed() const
{
    std::vector<const Day*> changed;
    for (const auto& [key, day] : days)
        if (day.changed)
            changed.push_back(&day);
    std::sort(changed.begin(), changed.end(), [](const Day* a, const Day* b) {
        return std::tie(a->date.year, a->date.month, a->date.day) < std::tie(b->date.year, b->date.month, b->date.day);
    });
    std::vector<DayNote> texts;
    texts.reserve(changed.size());
    for (const Day* day : changed)
        texts.push_back({DayKeyFromDate(day->date.year, day->date.month, day->date.day), day->text});
    return texts;
}

}  // namespace core
