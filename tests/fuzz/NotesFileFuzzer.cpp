// libFuzzer target for the notes file reader: any bytes are read safely, the notes read
// survive a write and a second read unchanged, and the store's index agrees with its order.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/NoteStore.h"

namespace {

const core::Windows1252 codePage;

using Notes = std::vector<core::DayNote>;

Notes Contents(const core::NoteStore& store)
{
    return store.Notes();
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "notes file: %s\n", what);
    std::abort();
}

// Lookup finds the first entry of each key, however many entries the key has.
void CheckLookup(const core::NoteStore& store)
{
    const Notes notes = store.Notes();
    std::unordered_map<std::string, const std::string*> first;
    for (const core::DayNote& note : notes)
        first.emplace(note.key, &note.text);
    for (const auto& [key, text] : first)
        if (store.Lookup(key) != *text)
            Fail("Lookup does not give the first entry of its key");
}

// Setting a day's note removes every entry of that day and leaves the others in order;
// this runs through the index, which the read built.
void CheckSetNote(core::NoteStore& store, const Notes& before)
{
    const std::string key = before.front().key;
    Notes others;
    for (const core::DayNote& note : before)
        if (note.key != key)
            others.push_back(note);

    store.SetNote({key, " \r\n"});
    if (Contents(store) != others)
        Fail("a blank note did not remove exactly its day's entries");
    if (!store.Lookup(key).empty())
        Fail("Lookup finds a day whose entries were removed");

    store.SetNote({key, "set"});
    others.push_back({key, "set"});
    if (Contents(store) != others)
        Fail("a set note was not appended after the others");
    if (store.Lookup(key) != "set")
        Fail("Lookup does not find the note just set");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    core::NoteStore first;
    // A failed read keeps the entries before the bad one, and those are saved like any
    // others, so they too must survive the round trip.
    first.Read(data, size, codePage);
    CheckLookup(first);
    const Notes notes = Contents(first);

    // Reading maps some bytes lossily on purpose (a zero ends a string, a lone surrogate
    // becomes U+FFFD), so the bytes need not come back; the notes must.
    const core::Bytes written = first.Write(codePage);
    core::NoteStore second;
    if (!second.Read(written.data(), written.size(), codePage))
        Fail("the written file of the notes read does not read");
    if (Contents(second) != notes)
        Fail("the notes differ after a write and a second read");
    if (second.Write(codePage) != written)
        Fail("writing the notes read back gives other bytes");

    if (!notes.empty())
        CheckSetNote(second, notes);
    return 0;
}
