// Writes the notes of a store with every hard case as an iCalendar file, and the same notes
// as JSON lines {"date": "YYYY-MM-DD", "text": ...}, for a real iCalendar parser to compare.
//   export_sample OUT.ics OUT.jsonl
#include <cstdio>
#include <fstream>
#include <string>

#include "SampleNotes.h"
#include "core/NotesExport.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    core::NoteStore store = HardCaseNotes();
    store.SetNote({"150680", "Emoji \xf0\x9f\x98\x80\xf0\x9f\x8e\x89 " + std::string(80, 'x') + " \xf0\x9f\x98\x80"});
    store.SetNote({"020107", "   "});
    const std::vector<core::DatedNote> notes = core::DatedNotes(store, 2026);

    std::ofstream(argv[1], std::ios::binary) << core::ICalendarOf(store, 2026, "20261208T053000Z");
    std::ofstream expected(argv[2], std::ios::binary);
    for (const core::DatedNote& note : notes) {
        char date[48];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", note.date.year, note.date.month, note.date.day);
        expected << "{\"date\": \"" << date << "\", \"text\": " << Json(note.text) << "}\n";
    }
    return expected ? 0 : 1;
}
