// Exporting the notes to iCalendar and to text.
#include "core/NotesExport.h"

#include <array>

#include "core/Numerals.h"

namespace core {

namespace {

constexpr std::size_t FOLD_OCTETS = 75;

// "yyyy-mm-dd"
std::string IsoDate(const CalendarDate& date)
{
    return Decimal(date.year, 4) + "-" + Decimal(date.month, 2) + "-" + Decimal(date.day, 2);
}

CalendarDate NextDay(const CalendarDate& date)
{
    if (date.day < DaysInMonth(date.year, date.month))
        return {date.year, date.month, date.day + 1};
    return date.month == 12 ? CalendarDate{date.year + 1, 1, 1} : CalendarDate{date.year, date.month + 1, 1};
}

// One pass over the text: find_first_of would search its set of two once for every byte.
std::string_view FirstLine(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    return text.substr(0, end);
}

// A continuation byte of UTF-8 (10xxxxxx) never starts a character.
bool Continues(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Each day of the hundred-year window has a place in a table of 31 days to every month, so
// one walk over the store in its order finds every note that can be dated, and one walk over
// the table visits them sorted. A day's first entry is the one Lookup gives, so a later entry
// of the same day never takes its place.
template <class Visit>
void ForEachDatedNote(const NoteStore& store, int todayYear, Visit visit)
{
    constexpr std::size_t MONTH_PLACES = 31;
    constexpr std::size_t YEAR_PLACES = 12 * MONTH_PLACES;
    const int firstYear = todayYear - 50;
    std::vector<const std::string*> days(100 * YEAR_PLACES, nullptr);
    store.ForEach([&](const DayNote& note) {
        CalendarDate date;
        if (!DateOfDayKey(note.key, todayYear, date))
            return;
        const std::size_t place = static_cast<std::size_t>(date.year - firstYear) * YEAR_PLACES +
                                  static_cast<std::size_t>(date.month - 1) * MONTH_PLACES +
                                  static_cast<std::size_t>(date.day - 1);
        if (!days[place])
            days[place] = &note.text;
    });
    for (std::size_t place = 0; place < days.size(); ++place) {
        if (!days[place] || IsBlankText(*days[place]))
            continue;
        const CalendarDate date{firstYear + static_cast<int>(place / YEAR_PLACES),
                                static_cast<int>(place % YEAR_PLACES / MONTH_PLACES) + 1,
                                static_cast<int>(place % MONTH_PLACES) + 1};
        visit(date, *days[place]);
    }
}

}  // namespace

namespace {

// The five characters a TEXT value escapes.
const std::array<bool, 256> SPECIAL = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\\', ';', ',', '\r', '\n'})
        table[c] = true;
    return table;
}();

// Writes one content line, folded at 75 octets without splitting a UTF-8 sequence, and
// keeps count of the octets on its current physical line.
class FoldedLine {
public:
    explicit FoldedLine(std::string& target) : out(target) {}
    void End() { out += "\r\n"; }

    // Octets that start and end on character boundaries, folded wherever the line is full.
    void Text(std::string_view run)
    {
        while (used + run.size() > room) {
            std::size_t cut = room - used;
            while (cut > 0 && Continues(run[cut]))
                --cut;
            out.append(run.data(), cut);
            Fold();
            run.remove_prefix(cut);
        }
        out.append(run.data(), run.size());
        used += run.size();
    }
    // A two-octet escape, kept on one physical line.
    void Escape(char escaped)
    {
        if (used + 2 > room)
            Fold();
        out += '\\';
        out += escaped;
        used += 2;
    }

private:
    // Each continuation line starts with a space, which counts among its 75 octets.
    void Fold()
    {
        out += "\r\n ";
        used = 1;
    }

    std::string& out;
    std::size_t used = 0;
    const std::size_t room = FOLD_OCTETS;
};

// Plain output for an escaped text that is not folded.
struct Unfolded {
    std::string& out;
    void Text(std::string_view run) { out.append(run.data(), run.size()); }
    void Escape(char escaped)
    {
        out += '\\';
        out += escaped;
    }
};

// The text with its special characters escaped; CR LF, a lone CR and a lone LF each end a line.
template <class Line>
void AppendEscaped(Line& line, std::string_view text)
{
    const char* start = text.data();
    const char* const end = start + text.size();
    for (const char* at = start; at != end; ++at) {
        const char c = *at;
        if (!SPECIAL[static_cast<unsigned char>(c)])
            continue;
        line.Text(std::string_view(start, static_cast<std::size_t>(at - start)));
        if (c == '\r' || c == '\n') {
            line.Escape('n');
            if (c == '\r' && at + 1 != end && at[1] == '\n')
                ++at;
        } else {
            line.Escape(c);
        }
        start = at + 1;
    }
    line.Text(std::string_view(start, static_cast<std::size_t>(end - start)));
}

// "YYYYMMDD", made without the C library's formatting: the export writes two per note.
void AppendDate(std::string& out, const CalendarDate& date)
{
    char digits[8];
    int year = date.year;
    for (int i = 3; i >= 0; --i, year /= 10)
        digits[i] = static_cast<char>('0' + year % 10);
    digits[4] = static_cast<char>('0' + date.month / 10);
    digits[5] = static_cast<char>('0' + date.month % 10);
    digits[6] = static_cast<char>('0' + date.day / 10);
    digits[7] = static_cast<char>('0' + date.day % 10);
    out.append(digits, 8);
}

}  // namespace

std::string EscapeText(std::string_view text)
{
    std::string escaped;
    Unfolded line{escaped};
    AppendEscaped(line, text);
    return escaped;
}

std::string FoldLine(std::string_view line)
{
    std::string folded;
    FoldedLine folding(folded);
    folding.Text(line);
    folding.End();
    return folded;
}

std::vector<DatedNote> DatedNotes(const NoteStore& store, int todayYear)
{
    std::vector<DatedNote> dated;
    dated.reserve(store.Size());
    ForEachDatedNote(store, todayYear, [&](const CalendarDate& date, const std::string& text) {
        dated.push_back({date, text});
    });
    return dated;
}

std::string ICalendarOf(const NoteStore& store, int todayYear, const std::string& stamp)
{
    std::string file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Dayvane//Dayvane " DAYVANE_VERSION "//EN\r\nCALSCALE:GREGORIAN\r\n";
    file.reserve(file.size() + 2 * store.TextBytes() + 240 * store.Size());
    ForEachDatedNote(store, todayYear, [&](const CalendarDate& date, const std::string& text) {
        file += "BEGIN:VEVENT\r\nUID:";
        // The same day always gets the same UID, so a later export updates an earlier import.
        AppendDate(file, date);
        file += "@dayvane.example\r\nDTSTAMP:";
        file += stamp;
        file += "\r\nDTSTART;VALUE=DATE:";
        AppendDate(file, date);
        file += "\r\nDTEND;VALUE=DATE:";
        AppendDate(file, NextDay(date));
        file += "\r\n";
        FoldedLine summary(file);
        summary.Text("SUMMARY:");
        AppendEscaped(summary, FirstLine(text));
        summary.End();
        FoldedLine description(file);
        description.Text("DESCRIPTION:");
        AppendEscaped(description, text);
        description.End();
        file += "END:VEVENT\r\n";
    });
    file += "END:VCALENDAR\r\n";
    return file;
}

std::string TextOf(const NoteStore& store, int todayYear)
{
    std::string file;
    file.reserve(store.TextBytes() + 20 * store.Size());
    ForEachDatedNote(store, todayYear, [&](const CalendarDate& date, const std::string& text) {
        file += IsoDate(date) + "\r\n" + text + "\r\n\r\n";
    });
    return file;
}

}  // namespace core
