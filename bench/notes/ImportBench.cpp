// Importing a large iCalendar file: every kind of event a holiday, birthday or work calendar
// holds, read from disk, placed and added to the store as the command does.
#include "ImportBench.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "core/ICalendarImport.h"

namespace {

std::filesystem::path calendarPath;

class UtcTime : public core::TimeService {
public:
    core::Moment Now() const override { return 0; }
    bool ToLocal(core::Moment moment, core::LocalTime& local) const override
    {
        return core::BreakDown(moment, 0, local);
    }
};

// One event of five kinds in turn, on days 1 to 27 of months spread over 2016 to 2035, with titles long enough
// to fold now and then and an escape or two.
std::string Calendar()
{
    std::mt19937_64 random(IMPORTED_EVENTS);
    std::uniform_int_distribution<int> year(2016, 2035), month(1, 12), day(1, 27), hour(0, 23), length(8, 90);
    std::string file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    char line[160];
    for (std::size_t i = 0; i < IMPORTED_EVENTS; ++i) {
        std::snprintf(line, sizeof line, "BEGIN:VEVENT\r\nUID:%zu@bench.example\r\nDTSTAMP:20261208T053000Z\r\n", i);
        file += line;
        const int y = year(random), m = month(random), d = day(random);
        switch (i % 5) {
        case 0:
            std::snprintf(line, sizeof line, "DTSTART;VALUE=DATE:%04d%02d%02d\r\nDTEND;VALUE=DATE:%04d%02d%02d\r\n", y,
                          m, d, y, m, d + 1);
            break;
        case 1:
            std::snprintf(line, sizeof line, "DTSTART:%04d%02d%02dT%02d3000Z\r\nDURATION:PT1H\r\n", y, m, d,
                          hour(random));
            break;
        case 2:
            std::snprintf(line, sizeof line, "DTSTART;TZID=Europe/Paris:%04d%02d%02dT%02d0000\r\n", y, m, d,
                          hour(random));
            break;
        case 3:
            std::snprintf(line, sizeof line, "DTSTART;VALUE=DATE:19%02d%02d%02d\r\nRRULE:FREQ=YEARLY\r\n", y % 100, m, d);
            break;
        default:
            std::snprintf(line, sizeof line, "DTSTART;VALUE=DATE:%04d%02d%02d\r\nDURATION:P3D\r\n", y, m, d);
        }
        file += line;
        std::string summary = "SUMMARY:Event " + std::to_string(i) + "\\, with a title";
        summary.append(static_cast<std::size_t>(length(random)), 'x');
        for (std::size_t at = 75; at < summary.size(); at += 75)
            summary.insert(at, "\r\n ");
        file += summary + "\r\nEND:VEVENT\r\n";
    }
    return file + "END:VCALENDAR\r\n";
}

bool ReadAll(std::string& bytes)
{
    return ReadWholeFile(calendarPath, bytes);
}

void PlainRead(benchmark::State& state)
{
    std::string bytes;
    for (auto _ : state) {
        if (!ReadAll(bytes)) {
            state.SkipWithError("cannot read the calendar");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
}

void Import(benchmark::State& state)
{
    const UtcTime time;
    std::string bytes;
    for (auto _ : state) {
        core::NoteStore store;
        if (!ReadAll(bytes)) {
            state.SkipWithError("cannot read the calendar");
            break;
        }
        const core::ICalendarImport import = core::ImportICalendar(bytes, store, time, 2026);
        for (const core::DayNote& note : import.changedNotes)
            store.SetNote(note);
        if (import.imported + import.alreadyThere != IMPORTED_EVENTS) {
            state.SkipWithError("the calendar did not import whole");
            break;
        }
        state.PauseTiming();
        store = core::NoteStore();
        state.ResumeTiming();
    }
}

}  // namespace

std::string ImportName(const char* what)
{
    return "import/" + std::to_string(IMPORTED_EVENTS) + "/" + what;
}

void RegisterImportBenchmarks(const std::filesystem::path& folder)
{
    calendarPath = folder / "import.ics";
    std::ofstream(calendarPath, std::ios::binary) << Calendar();
    benchmark::RegisterBenchmark(ImportName("plain_read").c_str(), PlainRead)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(ImportName("import").c_str(), Import)->UseRealTime()->Unit(benchmark::kMillisecond);
}
