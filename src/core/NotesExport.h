// The notes written out for other programs: an iCalendar file (RFC 5545) and a text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/DayKey.h"
#include "core/NoteStore.h"

namespace core {

struct DatedNote {
    CalendarDate date;
    std::string text;  // UTF-8, lines ending in CR LF
};

// Each day's note as Lookup finds it (the first entry of a key wins), blank ones left out,
// dated by the hundred years around `todayYear`, in date order.
std::vector<DatedNote> DatedNotes(const NoteStore& store, int todayYear);

// The files of the same notes, read straight from the store. iCalendar: one all-day event
// per note; `stamp` is the moment of the export in UTC, as iCalendar writes it
// ("20261208T053000Z"); UTF-8, CR LF line ends, lines folded at 75 octets.
std::string ICalendarOf(const NoteStore& store, int todayYear, const std::string& stamp);
// Text: a block per note, the date as YYYY-MM-DD on its own line, the note, a blank line.
std::string TextOf(const NoteStore& store, int todayYear);

// A TEXT value with backslashes, semicolons, commas and line breaks escaped.
std::string EscapeText(std::string_view text);
// A content line folded after every 75 octets, never inside a UTF-8 sequence, each line
// ending in CR LF.
std::string FoldLine(std::string_view line);

}  // namespace core
