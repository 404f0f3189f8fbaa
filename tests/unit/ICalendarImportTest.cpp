// Importing iCalendar: one row per rule of reading and of what an event becomes, and the
// round trip through the export.
#include "core/ICalendarImport.h"

#include <gtest/gtest.h>

#include "FixedTime.h"
#include "SampleNotes.h"
#include "core/ImportReport.h"
#include "core/NotesExport.h"

namespace {

std::string Calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:x@example\r\n" + lines + "END:VEVENT\r\n";
}

std::string AllDay(const char* start, const char* summary)
{
    return Event(std::string("DTSTART;VALUE=DATE:") + start + "\r\nSUMMARY:" + summary + "\r\n");
}

struct Row {
    const char* name;
    std::string file;
    std::vector<core::DayNote> existing;
    std::vector<core::DayNote> changed;
    std::string report;  // or the refusal of a file that is not read
    int today = 2026;
};

const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = {
        {"all-day", Calendar(Event("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nSUMMARY:Eve\r\n")),
         {}, {{"241226", "Eve"}}, "Imported 1 event into 1 day."},
        {"all-day DTEND is exclusive",
         Calendar(Event("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261227\r\nSUMMARY:Holidays\r\n")), {},
         {{"241226", "Holidays"}, {"251226", "Holidays"}, {"261226", "Holidays"}}, "Imported 1 event into 3 days."},
        {"all-day DURATION", Calendar(Event("DTSTART;VALUE=DATE:20261230\r\nDURATION:P3D\r\nSUMMARY:Away\r\n")), {},
         {{"301226", "Away"}, {"311226", "Away"}, {"010127", "Away"}}, "Imported 1 event into 3 days."},
        {"UTC time on its local day (UTC+1)", Calendar(Event("DTSTART:20261210T233000Z\r\nSUMMARY:Late call\r\n")),
         {}, {{"111226", "00:30 Late call"}}, "Imported 1 event into 1 day."},
        {"floating time", Calendar(Event("DTSTART:20261210T093000\r\nSUMMARY:Dentist\r\n")), {},
         {{"101226", "09:30 Dentist"}}, "Imported 1 event into 1 day."},
        {"TZID time as written",
         Calendar(Event("DTSTART;TZID=\"America/New_York\":20261210T220000\r\nDTEND;TZID=America/New_York:"
                        "20261210T230000\r\nSUMMARY:Call\r\n")),
         {}, {{"101226", "22:00 Call"}}, "Imported 1 event into 1 day."},
        {"timed over midnight, then to midnight",
         Calendar(Event("DTSTART:20261210T220000\r\nDTEND:20261211T020000\r\nSUMMARY:Party\r\n") +
                  Event("DTSTART:20261212T200000\r\nDURATION:PT4H\r\nSUMMARY:Film\r\n")),
         {}, {{"101226", "22:00 Party"}, {"111226", "22:00 Party"}, {"121226", "20:00 Film"}},
         "Imported 2 events into 3 days."},
        {"folded, escaped, bare LF, byte-order mark",
         "\xEF\xBB\xBF" "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20261201\nsummary:Caf\xC3\n \xA9\\, bread\\;"
         "\n\tjam \\\\ more\\Nnext\nEND:VEVENT\nEND:VCALENDAR\n",
         {}, {{"011226", "Caf\xC3\xA9, bread;jam \\ more\r\nnext"}}, "Imported 1 event into 1 day."},
        {"bytes that are not UTF-8", Calendar(AllDay("20261206", "Caf\xE9")), {}, {{"061226", "Caf\xEF\xBF\xBD"}},
         "Imported 1 event into 1 day."},
        {"DESCRIPTION beginning with SUMMARY comes whole",
         Calendar(Event("DTSTART;VALUE=DATE:20261202\r\nSUMMARY:Trip\r\nDESCRIPTION:Trip\\nPack bags\r\n") +
                  Event("DTSTART;VALUE=DATE:20261203\r\nSUMMARY:Talk\r\nDESCRIPTION:Slides in room 4\r\n")),
         {}, {{"021226", "Trip\r\nPack bags"}, {"031226", "Talk"}}, "Imported 2 events into 2 days."},
        {"an alarm's properties are not the event's",
         Calendar(Event("DTSTART;VALUE=DATE:20261204\r\nSUMMARY:Rent\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                        "DESCRIPTION:Rent reminder\r\nEND:VALARM\r\n")),
         {}, {{"041226", "Rent"}}, "Imported 1 event into 1 day."},
        {"yearly: this year and the next", Calendar(Event("DTSTART;VALUE=DATE:19900315\r\nRRULE:FREQ=YEARLY\r\n"
                                                          "SUMMARY:Ann's birthday\r\n")),
         {}, {{"150326", "Ann's birthday"}, {"150327", "Ann's birthday"}}, "Imported 1 event into 2 days."},
        {"yearly within UNTIL", Calendar(Event("DTSTART;VALUE=DATE:19900501\r\nRRULE:FREQ=YEARLY;UNTIL=20261231\r\n"
                                               "SUMMARY:Last year\r\n")),
         {}, {{"010526", "Last year"}}, "Imported 1 event into 1 day."},
        {"yearly starting next year", Calendar(Event("DTSTART:20270704T120000\r\nRRULE:FREQ=YEARLY;BYMONTH=7\r\n"
                                                     "SUMMARY:Picnic\r\n")),
         {}, {{"040727", "12:00 Picnic"}, {"040728", "12:00 Picnic"}}, "Imported 1 event into 2 days."},
        {"yearly with COUNT used up",
         Calendar(Event("DTSTART;VALUE=DATE:19900101\r\nRRULE:FREQ=YEARLY;COUNT=5\r\nSUMMARY:Old\r\n")), {}, {},
         "Nothing new was imported. 1 was skipped (a yearly repeat with no day in 2026 or 2027)."},
        {"29 February in two common years",
         Calendar(Event("DTSTART;VALUE=DATE:20000229\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Leap\r\n")), {}, {},
         "Nothing new was imported. 1 yearly event on 29 February has no day in 2026 or 2027."},
        {"29 February counted in leap years only",
         Calendar(Event("DTSTART;VALUE=DATE:20200229\r\nRRULE:FREQ=YEARLY;COUNT=3\r\nSUMMARY:Leap\r\n") +
                  Event("DTSTART;VALUE=DATE:20200229\r\nRRULE:FREQ=YEARLY;COUNT=2\r\nSUMMARY:Done\r\n")),
         {}, {{"290228", "Leap"}},
         "Imported 1 event into 1 day. 2 yearly events on 29 February have no day in 2027.", 2027},
        {"other repeat rules, to-dos and journals",
         Calendar(Event("DTSTART;VALUE=DATE:20261207\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Gym\r\n") +
                  Event("DTSTART;VALUE=DATE:20261208\r\nRDATE;VALUE=DATE:20261209\r\nSUMMARY:Extra\r\n") +
                  Event("DTSTART;VALUE=DATE:19900101\r\nRRULE:FREQ=YEARLY;BYDAY=1MO\r\nSUMMARY:Odd\r\n") +
                  "BEGIN:VTODO\r\nSUMMARY:Task\r\nEND:VTODO\r\nBEGIN:VJOURNAL\r\nSUMMARY:Diary\r\nEND:VJOURNAL\r\n"),
         {}, {},
         "Nothing new was imported. 5 were skipped (a repeat rule Dayvane does not read: 3, a to-do or journal: 2)."},
        {"days that keys cannot hold, too long, unreadable, no summary",
         Calendar(AllDay("19751231", "Too early") + AllDay("20760101", "Too late") +
                  Event("DTSTART;VALUE=DATE:20260101\r\nDTEND;VALUE=DATE:20270103\r\nSUMMARY:Long\r\n") +
                  AllDay("20261332", "Bad") + Event("SUMMARY:No start\r\n") + AllDay("20261205", " ") +
                  Event("DTSTART;VALUE=DATE:20800101\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Far\r\n")),
         {}, {},
         "Nothing new was imported. 7 were skipped (a date Dayvane cannot read: 2, no summary: 1, a day outside "
         "1976 to 2075: 3, longer than a year: 1)."},
        {"never twice: in the note already, twice in the file",
         Calendar(AllDay("20261224", "Eve") + AllDay("20261225", "Day") + AllDay("20261225", "Day")),
         {{"241226", "Buy gifts\r\nEve"}, {"251226", "Buy gifts"}}, {{"251226", "Buy gifts\r\nDay"}},
         "Imported 1 event into 1 day. 2 were already there."},
        {"a blank note gives way, a text's line break is kept",
         Calendar(AllDay("20261226", "Walk") + AllDay("20261227", "Walk")),
         {{"261226", " \r\n"}, {"271226", "Rest\r\n"}}, {{"261226", "Walk"}, {"271226", "Rest\r\nWalk"}},
         "Imported 2 events into 2 days."},
        {"several calendars in one file", Calendar(AllDay("20261228", "One")) + Calendar(AllDay("20261229", "Two")),
         {}, {{"281226", "One"}, {"291226", "Two"}}, "Imported 2 events into 2 days."},
        {"no events", Calendar(""), {}, {}, "The file holds no events."},
        {"not iCalendar", "Dear diary,\r\nBEGIN:VCALENDAR\r\n", {}, {},
         "The file is not iCalendar: it does not begin with BEGIN:VCALENDAR, or its parts do not nest."},
        {"parts that do not nest", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VCALENDAR\r\n", {}, {},
         "The file is not iCalendar: it does not begin with BEGIN:VCALENDAR, or its parts do not nest."},
        {"cut short", "BEGIN:VCALENDAR\r\n" + AllDay("20261224", "Eve"), {}, {},
         "The file ends inside its calendar (END:VCALENDAR is missing): it may have been cut short."},
    };
    return rows;
}

}  // namespace

TEST(ICalendarImport, EachRuleOfReadingAndPlacing)
{
    const FixedTime oneHourEast(0, 3600);
    for (const Row& row : Rows()) {
        core::NoteStore store;
        for (const core::DayNote& note : row.existing)
            store.SetNote(note);
        const core::ICalendarImport import = core::ImportICalendar(row.file, store, oneHourEast, row.today);
        EXPECT_EQ(import.changedNotes, row.changed) << row.name;
        const bool read = import.outcome == core::ICalendarImport::Outcome::Read;
        EXPECT_EQ(read ? core::ImportReport(import) : core::ImportRefusal(import.outcome), row.report) << row.name;
    }
}

TEST(ICalendarImport, TheExportImportsIntoAnEmptyStoreAsTheSameNotesAndThenChangesNothing)
{
    core::NoteStore store = HardCaseNotes();
    store.SetNote({"150680", "\r\nA first line left empty, " + std::string(80, 'x') + " \xf0\x9f\x98\x80"});
    store.SetNote({"101226", "09:30 looks like a time"});
    const std::string exported = core::ICalendarOf(store, 2026, "20261208T053000Z");

    const FixedTime utc(0);
    core::NoteStore imported;
    const core::ICalendarImport first = core::ImportICalendar(exported, imported, utc, 2026);
    for (const core::DayNote& note : first.changedNotes)
        imported.SetNote(note);
    EXPECT_EQ(core::DatedNotes(imported, 2026).size(), core::DatedNotes(store, 2026).size());
    for (const core::DatedNote& note : core::DatedNotes(store, 2026))
        EXPECT_EQ(imported.Lookup(core::DayKeyFromDate(note.date.year, note.date.month, note.date.day)), note.text);
    EXPECT_EQ(core::ImportReport(first), "Imported 5 events into 5 days.");

    const core::ICalendarImport second = core::ImportICalendar(exported, imported, utc, 2026);
    EXPECT_TRUE(second.changedNotes.empty());
    EXPECT_EQ(core::ImportReport(second), "Nothing new was imported. 5 were already there.");
}
