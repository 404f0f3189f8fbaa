// The notes' recovery journal, "<notes file>.journal": every change to the notes since the
// notes file was last written, on the disk within moments of being made, so that a crash, a
// kill or a power cut loses nothing. A close that writes the notes file, and a close that
// gives up this run's changes, remove it; a run that ends otherwise leaves it for the next
// start to recover.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "core/NotesJournal.h"
#include "framework/AppendFile.h"

class RecoveryJournal {
public:
    // The journal beside the notes file `notesPath`.
    void SetNotesFile(const std::wstring& notesPath);

    // The records a run that ended without closing left behind, up to the first torn or
    // damaged one; this run's journal goes on from them. A file another program holds is
    // read again for a moment. A file that is no journal, or cannot be read, is kept aside
    // under "<journal>.damaged-<stamp>" and gives nothing; when it cannot even be moved, this
    // run records nothing rather than write over it.
    std::vector<core::JournalEntry> ReadLeftover();
    // After ReadLeftover: where the journal that could not be read was kept; empty when it
    // was read, missing, or could not be moved (then Blocked()).
    const std::wstring& KeptAside() const { return keptAside; }
    bool Blocked() const { return blocked; }
    const std::wstring& Path() const { return path; }

    // Appends a day's whole note (a blank text clears the day) and flushes it to the disk.
    // The first change of a day is preceded by `base`, the day's text in the notes file, so
    // that a later start can merge it with a file changed elsewhere meanwhile. The run's first
    // record creates the file.
    DWORD Record(const core::DayNote& change, const std::string& base);
    // The notes file changed elsewhere and was merged: each day this journal has changed
    // gets its new base and its text now, which `textOf` gives.
    template <class TextOf>
    void Rebase(const TextOf& textOf)
    {
        for (Day& day : days) {
            const auto [base, ours] = textOf(day.change.key);
            day.base = base;
            day.change.text = ours;
            if (file.IsOpen()) {
                Append(core::JournalRecord({day.change.key, base}, core::JournalKind::Base));
                Append(core::JournalRecord(day.change));
            }
        }
        CatchUp();
    }
    // Rewrites the file to hold only each changed day's base and latest text: when the run
    // first records, after a recovery whose save failed, after a write that failed (another
    // program held the file, say), and whenever the file has grown to twice that.
    DWORD Compact();
    // A write failed: the disk lacks changes this journal remembers until `CatchUp` succeeds.
    bool Behind() const { return !blocked && !path.empty() && !days.empty() && !file.IsOpen(); }
    DWORD CatchUp() { return Behind() ? Compact() : ERROR_SUCCESS; }
    // Closes and deletes the file: the notes file holds every change, or the user gave them up.
    void Discard();

private:
    struct Day {
        std::string base;
        core::DayNote change;
    };

    DWORD Append(const core::Bytes& record);
    void Remember(const core::DayNote& change, const std::string& base);

    std::wstring path;
    fw::AppendFile file;
    // Nothing may be written: a journal that could not be read or moved aside is in the way.
    bool blocked = false;
    std::wstring keptAside;
    // Each changed day's base and latest text, in the order of the days' last changes.
    std::vector<Day> days;
    std::unordered_map<std::string, std::size_t> dayIndex;
    // The file is compacted when it grows past this.
    std::uint64_t compactAt = 0;
};
