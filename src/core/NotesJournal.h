// The recovery journal: the notes changed since the notes file was last written, appended one
// record at a time, each with its own check value, so that a kill at any byte leaves a
// readable prefix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Archive.h"
#include "core/NoteStore.h"

namespace core {

// A journal file starts with these bytes; a file that starts otherwise is not a journal.
constexpr char JOURNAL_MAGIC[] = "DAYVANE-JOURNAL1";
constexpr std::size_t JOURNAL_MAGIC_SIZE = sizeof JOURNAL_MAGIC - 1;

// What a record says of its day: the text this run gave it, or the text the notes file had
// when this run first changed it (or last merged it from elsewhere), which a later start
// needs to merge the change with a file changed elsewhere meanwhile.
enum class JournalKind : std::uint8_t { Change = 0, Base = 1 };

struct JournalEntry {
    JournalKind kind;
    DayNote note;

    bool operator==(const JournalEntry& other) const { return kind == other.kind && note == other.note; }
};

// The bytes a new journal starts with.
Bytes JournalHeader();
// One record: a day's whole note, UTF-8. Its frame is the body's length and a CRC-32 of the
// length and the body, both little-endian 32-bit; the body is the kind, the key's length in
// one byte, the key and the text.
Bytes JournalRecord(const DayNote& note, JournalKind kind = JournalKind::Change);

// What a journal's bytes hold.
struct JournalContents {
    enum class State {
        Empty,       // no bytes, or only part of the header: nothing was recorded
        Records,     // a journal: `records` may still be empty
        Unreadable,  // not a journal at all
    };
    State state = State::Empty;
    // The records in the order they were made, up to the first torn or damaged one.
    std::vector<JournalEntry> records;
    // The bytes those records and the header take; anything after them is ignored.
    std::size_t validBytes = 0;
};

// Reads every whole record after the header. A record that is cut short, whose length
// cannot be met by the bytes left, or whose check value does not match ends the reading:
// it and everything after it are ignored.
JournalContents ReadJournal(const std::uint8_t* data, std::size_t size);

// Applies a journal's changes to `store`, the notes file as it is now: each changed day's
// last text, in the order of the days' last changes, merged with the file's text against the
// day's latest base record before that change (a day without one takes the change as it is).
// Returns how many days changed.
std::size_t ApplyJournal(const std::vector<JournalEntry>& records, NoteStore& store);

// The CRC-32 of ISO-HDLC (zip, PNG), continued from `crc`.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace core
