// Native benchmarks of the notes: loading and saving the notes file beside a plain read and
// write of the same bytes that reach the disk the way the program's do, the store operations
// behind the calendar's month and notes box, and the iCalendar import (ImportBench).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/NoteStore.h"
#include "core/NotesExport.h"
#include "core/NotesMerge.h"
#include "ImportBench.h"

namespace {

namespace fs = std::filesystem;

const core::Windows1252 codePage;

// The files of one run, removed at its end.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "dayvane-notes-bench.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("notes bench: mkdtemp");
            std::exit(1);
        }
        path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    fs::path path;
};

std::unique_ptr<TempFolder> tempFolder;

// The most notes a store can hold, one for each day key (a hundred years of days), as export
// and find meet them.
constexpr std::size_t EVERY_KEY = 31 * 12 * 100;


const char* const asciiWords[] = {
    "meeting", "with",  "the", "dentist", "at",    "10:30", "call",  "Anna",    "about",  "the",
    "garden",  "buy",   "milk", "bread",  "and",   "eggs",  "train", "leaves",  "from",   "platform",
    "4",       "bring", "the", "report",  "(draft)", "pay", "rent",  "birthday", "party", "remember",
};
// Windows-1252 holds these, so such notes are stored plain but decoded through the code page.
const char* const ansiWords[] = {
    "caf\u00e9", "f\u00fcr", "\u20ac12,50", "\u201cquoted\u201d", "na\u00efve", "\u2013", "Stra\u00dfe", "\u00bd",
};
// Windows-1252 lacks these, so such notes take the wide form.
const char* const wideWords[] = {"\u041c\u043e\u0441\u043a\u0432\u0430", "\u65e5\u672c\u8a9e", "\U0001F600", "\u0436"};

template <std::size_t N>
const char* Pick(std::mt19937_64& random, const char* const (&words)[N])
{
    return words[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

std::string TwoDigits(int value)
{
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

// A valid date of 2000 to 2099 as a day key, "ddmmyy".
std::string RandomKey(std::mt19937_64& random)
{
    static const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = std::uniform_int_distribution<int>(0, 99)(random);
    const int month = std::uniform_int_distribution<int>(1, 12)(random);
    const int days = monthDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    const int day = std::uniform_int_distribution<int>(1, days)(random);
    return TwoDigits(day) + TwoDigits(month) + TwoDigits(year);
}

// 20 to about 400 bytes of words and line breaks: mostly ASCII, some Windows-1252, a few
// characters that only the wide form keeps.
std::string RandomText(std::mt19937_64& random)
{
    const std::size_t length = std::uniform_int_distribution<std::size_t>(20, 385)(random);
    const int kind = std::uniform_int_distribution<int>(0, 99)(random);
    std::string text;
    while (text.size() < length) {
        if (!text.empty())
            text += std::uniform_int_distribution<int>(0, 19)(random) == 0 ? "\r\n" : " ";
        const int roll = std::uniform_int_distribution<int>(0, 9)(random);
        if (kind >= 97 && roll == 0)
            text += Pick(random, wideWords);
        else if (kind >= 85 && roll <= 1)
            text += Pick(random, ansiWords);
        else
            text += Pick(random, asciiWords);
    }
    return text;
}

bool ReadFile(const fs::path& path, core::Bytes& bytes)
{
    return ReadWholeFile(path, bytes);
}

// What the program's saves and exports do: a temporary file beside the file, written, flushed
// to the disk and moved over the file in one step.
bool WriteFile(const fs::path& path, std::string_view bytes)
{
    const fs::path temporary = path.string() + ".tmp";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t wrote = ::write(file, bytes.data() + done, bytes.size() - done);
        ok = wrote > 0;
        done += ok ? static_cast<std::size_t>(wrote) : 0;
    }
    ok = ::fsync(file) == 0 && ok;
    ok = ::close(file) == 0 && ok;
    return ok && ::rename(temporary.c_str(), path.c_str()) == 0;
}

bool WriteFile(const fs::path& path, const core::Bytes& bytes)
{
    return WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Takes a flushed file out of the page cache, so that the next read of it comes from the disk,
// as the program's first read after the computer started does.
bool Evict(const fs::path& path)
{
    const int file = ::open(path.c_str(), O_RDONLY);
    if (file < 0)
        return false;
    const bool ok = ::fdatasync(file) == 0 && ::posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED) == 0;
    return ::close(file) == 0 && ok;
}

// A notes file of `count` notes, with duplicate days as a long-used file has them.
struct NotesFile {
    std::size_t count = 0;
    core::Bytes bytes;
    fs::path path;
};

const core::NoteStore& GetFullStore();

// The store of every day key is the file of a hundred years' daily notes; other sizes are
// random days.
const NotesFile& GetNotesFile(std::size_t count)
{
    static std::map<std::size_t, NotesFile> files;
    NotesFile& file = files[count];
    if (file.count == count)
        return file;
    if (count == EVERY_KEY) {
        file.bytes = GetFullStore().Write(codePage);
    } else {
        std::mt19937_64 random(count);
        core::ArchiveWriter out(file.bytes);
        out.Int32(static_cast<std::int32_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            out.Text(RandomKey(random), codePage);
            out.Text(RandomText(random), codePage);
        }
    }
    file.path = tempFolder->path / ("notes-" + std::to_string(count) + ".dat");
    // Flushed, so that the reads can take it out of the page cache and no write-back meets them.
    if (!WriteFile(file.path, file.bytes)) {
        std::perror("notes bench: writing a notes file");
        std::exit(1);
    }
    file.count = count;
    return file;
}

// The store read from the notes file of `count` notes, shared by the benchmarks of that size.
core::NoteStore& GetStore(std::size_t count)
{
    static std::map<std::size_t, std::unique_ptr<core::NoteStore>> stores;
    std::unique_ptr<core::NoteStore>& store = stores[count];
    if (!store) {
        const NotesFile& file = GetNotesFile(count);
        store = std::make_unique<core::NoteStore>();
        if (!store->Read(file.bytes.data(), file.bytes.size(), codePage) || store->Size() != count ||
            store->Write(codePage) != file.bytes) {
            std::fprintf(stderr, "notes bench: the generated notes file does not read back\n");
            std::exit(1);
        }
    }
    return *store;
}


// Buffers and stores are freed with the clock stopped: the program frees them at exit, not
// as part of a load or a save.

void PlainRead(benchmark::State& state, std::size_t count)
{
    const NotesFile& file = GetNotesFile(count);
    core::Bytes bytes;
    for (auto _ : state) {
        state.PauseTiming();
        const bool evicted = Evict(file.path);
        state.ResumeTiming();
        if (!evicted || !ReadFile(file.path, bytes)) {
            state.SkipWithError("cannot read the notes file");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
        state.PauseTiming();
        core::Bytes().swap(bytes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void Load(benchmark::State& state, std::size_t count)
{
    const NotesFile& file = GetNotesFile(count);
    core::Bytes bytes;
    std::unique_ptr<core::NoteStore> store;
    for (auto _ : state) {
        state.PauseTiming();
        const bool evicted = Evict(file.path);
        state.ResumeTiming();
        store = std::make_unique<core::NoteStore>();
        if (!evicted || !ReadFile(file.path, bytes) || !store->Read(bytes.data(), bytes.size(), codePage) ||
            store->Size() != count) {
            state.SkipWithError("cannot load the notes file");
            break;
        }
        state.PauseTiming();
        store.reset();
        core::Bytes().swap(bytes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void PlainWrite(benchmark::State& state, std::size_t count)
{
    const NotesFile& file = GetNotesFile(count);
    const fs::path written = tempFolder->path / "written.dat";
    for (auto _ : state) {
        if (!WriteFile(written, file.bytes)) {
            state.SkipWithError("cannot write the notes file");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void Save(benchmark::State& state, std::size_t count)
{
    const NotesFile& file = GetNotesFile(count);
    const core::NoteStore& store = GetStore(count);
    const fs::path written = tempFolder->path / "written.dat";
    core::Bytes bytes;
    for (auto _ : state) {
        bytes = store.Write(codePage);
        if (!WriteFile(written, bytes)) {
            state.SkipWithError("cannot write the notes file");
            break;
        }
        state.PauseTiming();
        core::Bytes().swap(bytes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

const core::NoteStore& GetFullStore()
{
    static core::NoteStore store;
    if (store.Size() == 0) {
        std::mt19937_64 random(EVERY_KEY);
        for (int year = 0; year < 100; ++year)
            for (int month = 1; month <= 12; ++month)
                for (int day = 1; day <= 31; ++day)
                    store.SetNote({TwoDigits(day) + TwoDigits(month) + TwoDigits(year), RandomText(random)});
    }
    return store;
}

// The full store with `count` days from `first` on (every 7th key) given a new text, as written
// by `who`, read from its bytes as the program reads the file.
core::NoteStore ChangedFullStore(std::size_t first, std::size_t count, const char* who)
{
    core::NoteStore store;
    const core::Bytes bytes = GetFullStore().Write(codePage);
    store.Read(bytes.data(), bytes.size(), codePage);
    const std::vector<core::DayNote> notes = store.Notes();
    for (std::size_t i = 0; i < count; ++i)
        store.SetNote({notes[(first + 7 * i) % notes.size()].key, std::string("changed by ") + who});
    return store;
}

constexpr std::size_t MERGED_DAYS = 100;

// Theirs changed 100 days, ours 100 others and 10 of theirs: the merge a save or the watch of
// the data folder runs on the largest store.
void Merge(benchmark::State& state, std::size_t)
{
    const core::NoteStore& base = GetFullStore();
    const core::NoteStore theirs = ChangedFullStore(0, MERGED_DAYS, "a sync");
    for (auto _ : state) {
        state.PauseTiming();
        core::NoteStore ours = ChangedFullStore(7 * (MERGED_DAYS - 10), MERGED_DAYS, "the notes box");
        state.ResumeTiming();
        benchmark::DoNotOptimize(core::MergeNotes(base, ours, theirs));
        state.PauseTiming();
        ours = core::NoteStore();
        state.ResumeTiming();
    }
}

// What precedes every merge: reading the file that changed elsewhere.
void ReadForMerge(benchmark::State& state, std::size_t)
{
    const core::Bytes bytes = ChangedFullStore(0, MERGED_DAYS, "a sync").Write(codePage);
    for (auto _ : state) {
        core::NoteStore store;
        benchmark::DoNotOptimize(store.Read(bytes.data(), bytes.size(), codePage));
        state.PauseTiming();
        store = core::NoteStore();
        state.ResumeTiming();
    }
}

const std::string& ExportedCalendar()
{
    static const std::string file = core::ICalendarOf(GetFullStore(), 2026, "20261208T053000Z");
    return file;
}

void Export(benchmark::State& state, std::size_t)
{
    const core::NoteStore& store = GetFullStore();
    const fs::path written = tempFolder->path / "export.ics";
    for (auto _ : state) {
        const std::string file = core::ICalendarOf(store, 2026, "20261208T053000Z");
        if (!WriteFile(written, std::string_view(file))) {
            state.SkipWithError("cannot write the export");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ExportedCalendar().size()));
}

void ExportPlainWrite(benchmark::State& state, std::size_t)
{
    const core::Bytes bytes(ExportedCalendar().begin(), ExportedCalendar().end());
    const fs::path written = tempFolder->path / "export.ics";
    for (auto _ : state) {
        if (!WriteFile(written, bytes)) {
            state.SkipWithError("cannot write the export");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// These change the shared store only for the few days they set, each of which keeps one entry.

std::vector<std::string> RandomKeys(std::size_t count, std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::vector<std::string> keys(count);
    for (std::string& key : keys)
        key = RandomKey(random);
    return keys;
}

void Lookup(benchmark::State& state, std::size_t count)
{
    const core::NoteStore& store = GetStore(count);
    const std::vector<std::string> keys = RandomKeys(1024, 1);
    std::size_t next = 0;
    for (auto _ : state) {
        std::string text = store.Lookup(keys[next++ % keys.size()]);
        benchmark::DoNotOptimize(text.data());
    }
}

void SetNote(benchmark::State& state, std::size_t count)
{
    core::NoteStore& store = GetStore(count);
    const std::vector<std::string> keys = RandomKeys(1024, 2);
    std::size_t next = 0;
    for (auto _ : state)
        store.SetNote({keys[next++ % keys.size()], "changed in the notes box"});
}

// What the window does when the shown month changes: the bold days of the month (31 lookups,
// each tested for a blank text) and the note of the day left behind.
void MonthScanAndSetNote(benchmark::State& state, std::size_t count)
{
    core::NoteStore& store = GetStore(count);
    std::vector<std::string> months;
    for (const std::string& key : RandomKeys(64, 3))
        months.push_back(key.substr(2));
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& month = months[next++ % months.size()];
        std::uint32_t boldDays = 0;
        for (int day = 1; day <= 31; ++day)
            if (!core::IsBlankText(store.Lookup(TwoDigits(day) + month)))
                boldDays |= 1u << day;
        benchmark::DoNotOptimize(boldDays);
        store.SetNote({"15" + month, "changed in the notes box"});
    }
}


std::string FileName(std::size_t count, const char* what)
{
    return "notes_file/" + std::to_string(count) + "/" + what;
}

std::string StoreName(std::size_t count, const char* what)
{
    return "note_store/" + std::to_string(count) + "/" + what;
}

// A hundred years of daily notes, and a file far larger than any user's.
const std::size_t fileCounts[] = {EVERY_KEY, 1000000};
const std::size_t storeCounts[] = {100000, 1000000};
constexpr double fileRatioTarget = 3.0;
// A load and a save of a hundred years of notes, each, and an export of them: wall time.
constexpr double realStoreTargetSeconds = 50e-3;
constexpr int REPETITIONS = 5;
constexpr double monthScanTargetSeconds = 1e-3;
constexpr std::size_t monthScanTargetCount = 100000;
constexpr double mergeTargetSeconds = 20e-3;

// The usual table, then the figures that matter: load and save against the plain read and
// write of the same bytes, and the month scan against its time budget. With a rows file, the
// load and save figures also go there as rows of the benchmark report (see bench/fragment.sh).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(std::string rowsFile)
        : ConsoleReporter(OO_Tabular), rowsPath(std::move(rowsFile))
    {
    }

    bool Failed() const { return !failed.empty() || rowsFailed; }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.error_occurred)
                failed.insert(run.run_name.function_name);
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const double perIteration = run.real_accumulated_time / static_cast<double>(run.iterations);
            auto [entry, added] = fastest.emplace(run.run_name.function_name, perIteration);
            if (!added)
                entry->second = std::min(entry->second, perIteration);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        char line[160];
        out << "\nNotes file against plain file I/O of the same bytes (target: within "
            << fileRatioTarget << "x)\n";
        std::snprintf(line, sizeof line, "%10s %12s %12s %8s   %12s %12s %8s\n", "notes", "plain read",
                      "load", "ratio", "plain write", "save", "ratio");
        out << line;
        for (std::size_t count : fileCounts) {
            const double read = Time(FileName(count, "plain_read")), load = Time(FileName(count, "load"));
            const double write = Time(FileName(count, "plain_write")), save = Time(FileName(count, "save"));
            if (read <= 0 || load <= 0 || write <= 0 || save <= 0)
                continue;
            std::snprintf(line, sizeof line, "%10zu %9.3f ms %9.3f ms %7.2fx   %9.3f ms %9.3f ms %7.2fx", count,
                          read * 1e3, load * 1e3, load / read, write * 1e3, save * 1e3, save / write);
            out << line << (load / read <= fileRatioTarget ? "" : "  load missed")
                << (save / write <= fileRatioTarget ? "" : "  save missed") << "\n";
        }
        const double scan = Time(StoreName(monthScanTargetCount, "month_scan_and_set_note"));
        if (scan > 0) {
            std::snprintf(line, sizeof line,
                          "\nMonth scan and one SetNote at %zu notes: %.2f us (target: under %.0f us)%s\n",
                          monthScanTargetCount, scan * 1e6, monthScanTargetSeconds * 1e6,
                          scan < monthScanTargetSeconds ? "" : "  missed");
            out << line;
        }
        const double import = Time(ImportName("import"));
        if (import > 0) {
            std::snprintf(line, sizeof line, "\nImport of %zu iCalendar events: %.1f ms (target: under %g s)%s\n",
                          IMPORTED_EVENTS, import * 1e3, importTargetSeconds,
                          import < importTargetSeconds ? "" : "  missed");
            out << line;
        }
        if (!rowsPath.empty())
            WriteRows();
    }

private:
    // One row per figure: what it is, the time, the baseline's, their ratio, the targets, met.
    void WriteRows()
    {
        std::ofstream rows(rowsPath, std::ios::app);
        for (std::size_t count : fileCounts) {
            const bool realStore = count == EVERY_KEY;
            const std::string notes = ", " + Grouped(count) + " notes" + (realStore ? " (a hundred years of days)" : "");
            WriteRow(rows, "notes file load" + notes + ", against a plain read of the same bytes",
                     {FileName(count, "load")}, {FileName(count, "plain_read")}, realStore);
            WriteRow(rows, "notes file save" + notes + ", against a flushed plain write of the same bytes",
                     {FileName(count, "save")}, {FileName(count, "plain_write")}, realStore);
        }
        WriteRow(rows, "notes file load + save, " + Grouped(EVERY_KEY) + " notes, against the plain read + write",
                 {FileName(EVERY_KEY, "load"), FileName(EVERY_KEY, "save")},
                 {FileName(EVERY_KEY, "plain_read"), FileName(EVERY_KEY, "plain_write")}, true);
        WriteRow(rows, "export to iCalendar, " + Grouped(EVERY_KEY) + " notes, against a flushed plain write of the same bytes",
                 {FileName(EVERY_KEY, "export")}, {FileName(EVERY_KEY, "export_plain_write")}, true);
        WriteMergeRow(rows);
        WriteImportRow(rows);
        rows.close();
        if (!rows) {
            std::fprintf(stderr, "notes bench: cannot write %s\n", rowsPath.c_str());
            rowsFailed = true;
        }
    }

    // The figure is the sum of `names`' times, its baseline the sum of `baselines`'; it is to
    // be within fileRatioTarget of the baseline and, for `wallTarget`, under
    // realStoreTargetSeconds as well.
    void WriteRow(std::ostream& rows, const std::string& figure, const std::vector<std::string>& names,
                  const std::vector<std::string>& baselines, bool wallTarget)
    {
        double time = 0, baseline = 0;
        bool anyFailed = false, missing = false;
        for (const auto* group : {&names, &baselines})
            for (const std::string& name : *group) {
                anyFailed = anyFailed || failed.count(name) != 0;
                missing = missing || Time(name) <= 0;
                (group == &names ? time : baseline) += Time(name);
            }
        char ratio[32] = "n/a", target[64];
        std::snprintf(target, sizeof target, "\u2264 %gx", fileRatioTarget);
        if (wallTarget)
            std::snprintf(target, sizeof target, "\u2264 %gx, < %g ms", fileRatioTarget, realStoreTargetSeconds * 1e3);
        std::string measured, met = "n/a";
        if (anyFailed) {
            measured = "failed";
            met = "no";
        } else if (missing) {
            measured = "not measured";
        } else {
            measured = Milliseconds(time);
            std::snprintf(ratio, sizeof ratio, "%.2fx", time / baseline);
            met = time / baseline <= fileRatioTarget && (!wallTarget || time < realStoreTargetSeconds) ? "yes" : "no";
        }
        rows << "row\t" << figure << '\t' << measured << '\t' << (baseline > 0 ? Milliseconds(baseline) : "")
             << '\t' << ratio << '\t' << target << '\t' << met << '\n';
    }

    void WriteMergeRow(std::ostream& rows)
    {
        const std::string name = FileName(EVERY_KEY, "merge"), baselineName = FileName(EVERY_KEY, "read_for_merge");
        const double time = Time(name), baseline = Time(baselineName);
        char ratio[32] = "n/a", target[32];
        std::snprintf(target, sizeof target, "< %g ms", mergeTargetSeconds * 1e3);
        if (time > 0 && baseline > 0)
            std::snprintf(ratio, sizeof ratio, "%.2fx", time / baseline);
        const bool measured = time > 0 && !failed.count(name);
        rows << "row\tmerge of two " << Grouped(EVERY_KEY) << "-note stores with " << MERGED_DAYS
             << " differing days, against the read of the changed file\t"
             << (measured ? Milliseconds(time) : "not measured") << '\t'
             << (baseline > 0 ? Milliseconds(baseline) : "") << '\t' << ratio << '\t' << target << '\t'
             << (measured ? (time < mergeTargetSeconds ? "yes" : "no") : "no") << '\n';
    }

    void WriteImportRow(std::ostream& rows)
    {
        const std::string name = ImportName("import"), baselineName = ImportName("plain_read");
        const double time = Time(name), baseline = Time(baselineName);
        char ratio[32] = "n/a", target[32];
        std::snprintf(target, sizeof target, "< %g s", importTargetSeconds);
        if (time > 0 && baseline > 0)
            std::snprintf(ratio, sizeof ratio, "%.2fx", time / baseline);
        const bool measured = time > 0 && !failed.count(name);
        rows << "row\timport of " << Grouped(IMPORTED_EVENTS)
             << " iCalendar events into an empty store, against a plain read of the same file's bytes\t"
             << (measured ? Milliseconds(time) : "not measured") << '\t'
             << (baseline > 0 ? Milliseconds(baseline) : "") << '\t' << ratio << '\t' << target << '\t'
             << (measured ? (time < importTargetSeconds ? "yes" : "no") : "no") << '\n';
    }

    static std::string Milliseconds(double seconds)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
        return text;
    }

    static std::string Grouped(std::size_t value)
    {
        std::string digits = std::to_string(value);
        for (std::size_t at = digits.size(); at > 3; at -= 3)
            digits.insert(at - 3, ",");
        return digits;
    }

    double Time(const std::string& name) const
    {
        const auto found = fastest.find(name);
        return found == fastest.end() ? 0 : found->second;
    }

    // Seconds per iteration by benchmark, the fastest of its repetitions.
    std::map<std::string, double> fastest;
    std::set<std::string> failed;
    const std::string rowsPath;
    bool rowsFailed = false;
};

void Register()
{
    for (std::size_t count : fileCounts) {
        const auto add = [count](const char* what, void (*function)(benchmark::State&, std::size_t)) {
            auto* registered =
                benchmark::RegisterBenchmark(FileName(count, what).c_str(), function, count);
            // The fastest of the repetitions: the disk's flushes meet other work on the
            // machine now and then, which a mean would take in.
            registered->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(REPETITIONS);
            // A load of a million notes takes about a second: the default half second would
            // time it once.
            if (count >= 1000000)
                registered->MinTime(2.0);
        };
        add("plain_read", PlainRead);
        add("load", Load);
        add("plain_write", PlainWrite);
        add("save", Save);
    }
    // Exporting every note to iCalendar, beside a plain write of the bytes it makes.
    for (const auto& [what, function] : {std::pair{"export_plain_write", ExportPlainWrite}, std::pair{"export", Export}})
        benchmark::RegisterBenchmark(FileName(EVERY_KEY, what).c_str(), function, EVERY_KEY)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(REPETITIONS);
    for (const auto& [what, function] : {std::pair{"read_for_merge", ReadForMerge}, std::pair{"merge", Merge}})
        benchmark::RegisterBenchmark(FileName(EVERY_KEY, what).c_str(), function, EVERY_KEY)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    for (std::size_t count : storeCounts) {
        benchmark::RegisterBenchmark(StoreName(count, "lookup").c_str(), Lookup, count)
            ->UseRealTime()
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(StoreName(count, "set_note").c_str(), SetNote, count)
            ->UseRealTime()
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark(StoreName(count, "month_scan_and_set_note").c_str(), MonthScanAndSetNote, count)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

// Figures from a build with the sanitizers say little about the program; say so in the table.
const char* Sanitizers()
{
#if defined(__SANITIZE_ADDRESS__)
    return "address (figures are not representative)";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return "address (figures are not representative)";
#else
    return "none";
#endif
#else
    return "none";
#endif
}

// Takes the program's own option, --report_rows=FILE, out of the arguments before Google
// Benchmark reads them, and gives its value.
std::string TakeRowsOption(int& argc, char** argv)
{
    constexpr std::string_view option = "--report_rows=";
    std::string path;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).substr(0, option.size()) == option)
            path = argv[i] + option.size();
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return path;
}

}  // namespace

// A benchmark that fails (a file that cannot be read or written) makes the run fail.
//   notes_bench [--report_rows=FILE] [Google Benchmark options]
int main(int argc, char** argv)
{
    const std::string rowsPath = TakeRowsOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tempFolder = std::make_unique<TempFolder>();
    benchmark::AddCustomContext("sanitizers", Sanitizers());
    benchmark::AddCustomContext("files", tempFolder->path.string());
    Register();
    RegisterImportBenchmarks(tempFolder->path);
    SummaryReporter reporter(rowsPath);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    tempFolder.reset();
    return reporter.Failed() ? 1 : 0;
}
