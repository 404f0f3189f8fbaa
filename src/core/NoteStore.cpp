// The notes store and the notes file.
#include "core/NoteStore.h"

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
    const auto found = index.find(key);
    return found == index.end() ? std::string() : found->second.front()->text;
}

void NoteStore::SetNote(const DayNote& note)
{
    const auto found = index.find(note.key);
    if (found != index.end()) {
        for (const Entries::iterator& entry : found->second)
            entries.erase(entry);
        index.erase(found);
    }
    if (!IsBlankText(note.text))
        Append(note);
}

void NoteStore::AddFirstRunNote(const TimeService& time)
{
    Clear();
    Append({MakeDayKey(time, time.Now()), "My first note..."});
}

void NoteStore::Append(DayNote note)
{
    std::string key = note.key;
    entries.push_back(std::move(note));
    index[std::move(key)].push_back(std::prev(entries.end()));
}

void NoteStore::Clear()
{
    entries.clear();
    index.clear();
}

bool NoteStore::Read(const std::uint8_t* data, std::size_t size, const CodePage& codePage)
{
    Clear();
    ArchiveReader in(data, size);
    std::int32_t count;
    if (!in.Int32(count))
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        DayNote note;
        if (!in.Text(note.key, codePage) || !in.Text(note.text, codePage))
            return false;
        Append(std::move(note));
    }
    return true;
}

Bytes NoteStore::Write(const CodePage& codePage) const
{
    Bytes bytes;
    std::size_t estimate = 4;
    for (const DayNote& note : entries)
        estimate += note.key.size() + note.text.size() + 8;
    bytes.reserve(estimate);
    ArchiveWriter out(bytes);
    out.Int32(static_cast<std::int32_t>(entries.size()));
    for (const DayNote& note : entries) {
        out.Text(note.key, codePage);
        out.Text(note.text, codePage);
    }
    return bytes;
}

bool NoteStore::Load(DataFile& file, const CodePage& codePage)
{
    Clear();
    Bytes bytes;
    return file.ReadAll(bytes) && Read(bytes.data(), bytes.size(), codePage);
}

bool NoteStore::Save(DataFile& file, const CodePage& codePage) const
{
    return file.Replace(Write(codePage));
}

}  // namespace core
