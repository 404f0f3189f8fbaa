// libFuzzer target for the iCalendar import: any bytes are read safely, a refused file
// changes nothing, days keep their text, and importing the same bytes again adds nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/DayKey.h"
#include "core/ICalendarImport.h"
#include "core/ImportReport.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "icalendar: %s\n", what);
    std::abort();
}

// UTC+1 without daylight saving: UTC times move across midnight.
class OneHourEast : public core::TimeService {
public:
    core::Moment Now() const override { return 0; }
    bool ToLocal(core::Moment moment, core::LocalTime& local) const override
    {
        return core::BreakDown(moment, 3600, local);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const OneHourEast time;
    core::NoteStore store;
    store.SetNote({"241226", "in the store"});
    const core::ICalendarImport first = core::ImportICalendar(bytes, store, time, 2026);
    if (first.outcome != core::ICalendarImport::Outcome::Read) {
        if (!first.changedNotes.empty() || first.imported != 0 || first.Skipped() != 0)
            Fail("a refused file changed something");
        return 0;
    }
    if (core::ImportReport(first).empty())
        Fail("no report");
    if ((first.imported == 0) != first.changedNotes.empty())
        Fail("events imported without a day changed, or the other way round");
    for (const core::DayNote& note : first.changedNotes) {
        core::CalendarDate date;
        if (!core::DateOfDayKey(note.key, 2026, date) || core::IsBlankText(note.text))
            Fail("a changed day without a real key or a text");
        if (note.key == "241226" && note.text.compare(0, 12, "in the store") != 0)
            Fail("a day's note lost its text");
        store.SetNote(note);
    }
    const core::ICalendarImport second = core::ImportICalendar(bytes, store, time, 2026);
    if (!second.changedNotes.empty() || second.imported != 0 || second.alreadyThere != first.imported + first.alreadyThere)
        Fail("a second import of the same bytes changed something");
    return 0;
}
