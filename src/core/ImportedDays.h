// The days an import adds lines to: each day's text as it grows, and the lines it holds, so
// that no line is added to a day twice.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/DayKey.h"
#include "core/NoteStore.h"

namespace core {

class ImportedDays {
public:
    // The days start from their notes in `store`.
    explicit ImportedDays(const NoteStore& store) : notes(store) {}

    // Adds `line` (one line, or several joined by CR LF) after the day's text unless the
    // day already holds it as whole lines; true when it was added.
    bool Add(const CalendarDate& date, const std::string& line);
    // The texts of the days that changed, in date order.
    std::vector<DayNote> Changed() const;

private:
    struct Day {
        CalendarDate date;
        std::string text;
        std::unordered_set<std::string> lines;
        bool changed = false;
    };

    Day& Get(const CalendarDate& date);
    static bool Holds(const Day& day, const std::string& line);
    static void AddLines(Day& day, const std::string& text);

    const NoteStore& notes;
    std::unordered_map<std::string, Day> days;
};

}  // namespace core
