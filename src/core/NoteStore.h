// The notes: one free-text note per day, kept in the order in which they were last set, and
// the notes file "qor_nots.dat" that holds them in that order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Archive.h"
#include "core/Moment.h"

namespace core {

struct DayNote {
    std::string key;   // the day key, "ddmmyy"
    std::string text;  // UTF-8, line breaks as CR LF

    bool operator==(const DayNote& other) const { return key == other.key && text == other.text; }
};

// True when `text` is empty or made only of space, tab, LF, VT, FF and CR. Other bytes,
// 0x80 and above included, are not white space.
bool IsBlankText(const std::string& text);

// A file of the platform's that a store is read from and written to.
class DataFile {
public:
    virtual ~DataFile() = default;
    // The whole file; false when it cannot be opened or read.
    virtual bool ReadAll(Bytes& bytes) = 0;
    // Replaces the file with `bytes` in one step; false leaves the old file as it was.
    virtual bool Replace(const Bytes& bytes) = 0;
};

// The ordered notes. Entries read from a file stand as they were read, duplicates and
// blank texts included; SetNote leaves at most one entry per key, never a blank one.
// An index by key beside the order makes Lookup and SetNote independent of the store's size
// without changing which entry they find.
class NoteStore {
public:
    NoteStore() = default;
    NoteStore(const NoteStore&) = delete;
    NoteStore& operator=(const NoteStore&) = delete;
    NoteStore(NoteStore&&) = default;
    NoteStore& operator=(NoteStore&&) = default;

    // The text of the first entry with `key`, or an empty text.
    std::string Lookup(const std::string& key) const;
    // The same entry's text without a copy; null when the key has none. Valid until the store
    // next changes.
    const std::string* Find(const std::string& key) const;
    // Removes every entry of the note's day, then appends the note unless its text is blank.
    void SetNote(const DayNote& note);
    // Empties the store and puts the first-run note for today into it.
    void AddFirstRunNote(const TimeService& time);

    // Empties the store and fills it from the notes file's bytes. False when the bytes end
    // before the last counted record or a string is malformed; the entries read before
    // that stay. Bytes after the last record are ignored; a count of zero or below reads
    // nothing.
    bool Read(const std::uint8_t* data, std::size_t size, const CodePage& codePage);
    Bytes Write(const CodePage& codePage) const;

    // Read from and Write to the platform's file. Running out of memory fails either one
    // instead of throwing; a load that fails so leaves the store empty, since the entries
    // read by then may not all be indexed yet.
    bool Load(DataFile& file, const CodePage& codePage);
    bool Save(DataFile& file, const CodePage& codePage) const;

    // The entries in store order.
    std::vector<DayNote> Notes() const;
    // Calls `visit` with each entry in store order, without copying them.
    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (const Slot& slot : slots)
            if (slot.live)
                visit(slot.note);
    }
    std::size_t Size() const { return slots.size() - holes; }
    // Whether some day has more than one entry, as only a file can give it: otherwise every
    // entry is the one Lookup finds for its day.
    bool HasRepeatedDays() const { return repeatedDays > 0; }
    // The bytes of every live key and text, to size what is written from them.
    std::size_t TextBytes() const { return textBytes; }
    void Clear();

private:
    // Entries stay where they were appended; a removed one leaves a hole that the next
    // compaction closes, so removing is cheap and the order never changes.
    struct Slot {
        DayNote note;
        bool live = true;
    };
    // The positions of one key's entries in store order. Only a file can give a key more
    // than one, so `more` stays empty, and unallocated, for almost every key.
    struct KeyEntries {
        std::size_t first;
        std::vector<std::size_t> more;
    };

    void Append(DayNote note);
    void Index(std::size_t position);
    void Remove(std::size_t position);
    void CompactIfSparse();

    std::vector<Slot> slots;
    std::size_t holes = 0;
    std::unordered_map<std::string, KeyEntries> index;
    std::size_t textBytes = 0;  // of every live key and text, to size a file before writing it
    std::size_t repeatedDays = 0;  // days with more than one entry
};

// The days of one month that have a note, as the month calendar's day state wants them:
// bit d - 1 for day d. `monthAndYear` is the last four digits of a day key ("mmyy"); days
// 29 to 31 are asked for in every month.
std::uint32_t NoteDaysOfMonth(const NoteStore& store, const std::string& monthAndYear);

}  // namespace core
