// The notes store and the notes file.
#include "core/NoteStore.h"

#include <algorithm>
#include <new>

#include "core/DayKey.h"

namespace core {

bool IsBlankText(const std::string& text)
{
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r')
            return false;
    return true;
}

std::string NoteStore::Lookup(const std::string& key) const
{
    const std::string* text = Find(key);
    return text ? *text : std::string();
}

const std::string* NoteStore::Find(const std::string& key) const
{
    const auto found = index.find(key);
    return found == index.end() ? nullptr : &slots[found->second.first].note.text;
}

void NoteStore::SetNote(const DayNote& note)
{
    const auto found = index.find(note.key);
    if (found != index.end()) {
        Remove(found->second.first);
        for (std::size_t position : found->second.more)
            Remove(position);
        repeatedDays -= found->second.more.empty() ? 0 : 1;
        index.erase(found);
    }
    if (!IsBlankText(note.text))
        Append(note);
    CompactIfSparse();
}

void NoteStore::AddFirstRunNote(const TimeService& time)
{
    Clear();
    Append({MakeDayKey(time, time.Now()), "My first note..."});
}

void NoteStore::Append(DayNote note)
{
    textBytes += note.key.size() + note.text.size();
    slots.push_back({std::move(note), true});
    Index(slots.size() - 1);
}

void NoteStore::Index(std::size_t position)
{
    const auto [slot, isNew] = index.try_emplace(slots[position].note.key, KeyEntries{position, {}});
    if (isNew)
        return;
    repeatedDays += slot->second.more.empty() ? 1 : 0;
    slot->second.more.push_back(position);
}

void NoteStore::Remove(std::size_t position)
{
    Slot& slot = slots[position];
    textBytes -= slot.note.key.size() + slot.note.text.size();
    slot = Slot{{}, false};
    ++holes;
}

// Closes the holes once they outnumber the entries, which keeps SetNote at a constant cost
// on average while the slots never take more than twice the room the entries need.
void NoteStore::CompactIfSparse()
{
    if (holes < 64 || holes < Size())
        return;
    std::vector<Slot> live;
    live.reserve(Size());
    for (Slot& slot : slots)
        if (slot.live)
            live.push_back(std::move(slot));
    slots.clear();
    index.clear();
    holes = 0;
    textBytes = 0;
    repeatedDays = 0;
    for (Slot& slot : live)
        Append(std::move(slot.note));
}

std::vector<DayNote> NoteStore::Notes() const
{
    std::vector<DayNote> notes;
    notes.reserve(Size());
    for (const Slot& slot : slots)
        if (slot.live)
            notes.push_back(slot.note);
    return notes;
}

void NoteStore::Clear()
{
    slots.clear();
    index.clear();
    holes = 0;
    textBytes = 0;
    repeatedDays = 0;
}

bool NoteStore::Read(const std::uint8_t* data, std::size_t size, const CodePage& codePage)
{
    Clear();
    ArchiveReader in(data, size);
    std::int32_t count;
    if (!in.Int32(count))
        return false;
    // A record takes at least two bytes, so a damaged count cannot make this reserve much.
    if (count > 0)
        slots.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), in.Remaining() / 2));
    bool complete = true;
    for (std::int32_t i = 0; i < count && complete; ++i) {
        DayNote note;
        complete = in.Text(note.key, codePage) && in.Text(note.text, codePage);
        if (complete) {
            textBytes += note.key.size() + note.text.size();
            slots.push_back({std::move(note), true});
        }
    }
    // Indexed after reading: the index's nodes then lie together in memory instead of
    // between the texts, which keeps a large file's load from waiting on the cache. It is
    // sized for the entries, but never for more than the 31 * 12 * 100 day keys there are:
    // a long-used file repeats its days, and buckets for every entry of it would spread the
    // few keys over more memory than the cache holds.
    index.reserve(std::min<std::size_t>(slots.size(), 31 * 12 * 100));
    for (std::size_t position = 0; position < slots.size(); ++position)
        Index(position);
    return complete;
}

Bytes NoteStore::Write(const CodePage& codePage) const
{
    Bytes bytes;
    // Room for every key and text with its longest length prefix, so that a large store is
    // written without a copy of all it wrote so far; only a wide text may still grow it.
    bytes.reserve(4 + textBytes + 8 * Size());
    ArchiveWriter out(bytes);
    out.Int32(static_cast<std::int32_t>(Size()));
    for (const Slot& slot : slots) {
        if (!slot.live)
            continue;
        out.Text(slot.note.key, codePage);
        out.Text(slot.note.text, codePage);
    }
    return bytes;
}

// Running out of memory is a failed read or write like any other, so the caller's handling of
// a damaged file or a failed save takes over instead of an exception.
bool NoteStore::Load(DataFile& file, const CodePage& codePage)
{
    try {
        Clear();
        Bytes bytes;
        return file.ReadAll(bytes) && Read(bytes.data(), bytes.size(), codePage);
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
}

bool NoteStore::Save(DataFile& file, const CodePage& codePage) const
{
    try {
        return file.Replace(Write(codePage));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::uint32_t NoteDaysOfMonth(const NoteStore& store, const std::string& monthAndYear)
{
    std::uint32_t days = 0;
    std::string key = "00" + monthAndYear;
    for (int day = 1; day <= 31; ++day) {
        key[0] = static_cast<char>('0' + day / 10);
        key[1] = static_cast<char>('0' + day % 10);
        if (!IsBlankText(store.Lookup(key)))
            days |= std::uint32_t{1} << (day - 1);
    }
    return days;
}

}  // namespace core
