// Imports an iCalendar file into an empty store, as in a zone one hour east of UTC in 2026,
// then imports it again, and writes what each import did as JSON lines for a script to check:
// {"key": "ddmmyy", "text": ...} per changed day, then {"report": ..., "again": ...}.
//   import_sample IN.ics OUT.jsonl
#include <fstream>
#include <iterator>
#include <string>

#include "FixedTime.h"
#include "SampleNotes.h"
#include "core/ICalendarImport.h"
#include "core/ImportReport.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const FixedTime oneHourEast(0, 3600);
    core::NoteStore store;
    const core::ICalendarImport first = core::ImportICalendar(bytes, store, oneHourEast, 2026);
    std::ofstream out(argv[2], std::ios::binary);
    for (const core::DayNote& note : first.changedNotes) {
        out << "{\"key\": " << Json(note.key) << ", \"text\": " << Json(note.text) << "}\n";
        store.SetNote(note);
    }
    const core::ICalendarImport second = core::ImportICalendar(bytes, store, oneHourEast, 2026);
    out << "{\"report\": " << Json(core::ImportReport(first)) << ", \"again\": " << Json(core::ImportReport(second))
        << ", \"changed_again\": " << second.changedNotes.size() << "}\n";
    return out ? 0 : 1;
}
