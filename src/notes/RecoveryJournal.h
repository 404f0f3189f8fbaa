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

#include "core/NoteStore.h"
#include "framework/AppendFile.h"

class RecoveryJournal {
public:
    // The journal beside the notes file `notesPath`.
    void SetNotesFile(const std::wstring& notesPath);
    const std::wstring& Path() const { return path; }

    // The changes a run that ended without closing left behind, in the order they were made,
    // up to the first torn or damaged record. A file that is no journal, or cannot be read,
    // is kept aside under "<journal>.damaged-<stamp>" and gives no changes; when it cannot
    // even be moved, this run records nothing rather than write over it.
    std::vector<core::DayNote> ReadLeftover();

    // Appends a day's whole note (a blank text clears the day) and flushes it to the disk.
    // The first record of a run creates the file.
    DWORD Record(const core::DayNote& note);
    // Rewrites the file to hold only the latest change of each day recorded so far: after a
    // recovery whose save failed, and whenever the file has grown to twice that.
    DWORD Compact();
    // Closes and deletes the file: the notes file holds every change, or the user gave them up.
    void Discard();

private:
    void Remember(const core::DayNote& note);

    std::wstring path;
    fw::AppendFile file;
    // Nothing may be written: a journal that could not be read or moved aside is in the way.
    bool blocked = false;
    // The latest change of each day, in the order of the days' last changes.
    std::vector<core::DayNote> changes;
    std::unordered_map<std::string, std::size_t> changeOfDay;
    // The file is compacted when it grows past this.
    std::uint64_t compactAt = 0;
};
