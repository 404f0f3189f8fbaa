// libFuzzer target for the recovery journal reader: any bytes are read safely, and the
// records read are exactly what the bytes they were read from say, written again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/NotesJournal.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "journal: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const core::JournalContents read = core::ReadJournal(data, size);
    if (read.validBytes > size)
        Fail("more bytes taken than there are");
    if (read.state != core::JournalContents::State::Records) {
        if (!read.records.empty() || read.validBytes != 0)
            Fail("records read from bytes that are no journal");
        return 0;
    }
    // The whole records read, written again, are the bytes they came from.
    core::Bytes written = core::JournalHeader();
    for (const core::JournalEntry& entry : read.records) {
        const core::Bytes record = core::JournalRecord(entry.note, entry.kind);
        written.insert(written.end(), record.begin(), record.end());
    }
    if (written.size() != read.validBytes || std::memcmp(written.data(), data, written.size()) != 0)
        Fail("the records read do not write back to the bytes they were read from");
    // Whatever followed them is no whole record, so reading the valid bytes alone gives the same.
    const core::JournalContents again = core::ReadJournal(data, read.validBytes);
    if (again.records != read.records)
        Fail("the valid prefix reads differently");
    // Applying them merges with whatever a store holds, under the sanitizers' eyes.
    core::NoteStore store;
    store.SetNote({"010107", "in the file"});
    core::ApplyJournal(read.records, store);
    return 0;
}
