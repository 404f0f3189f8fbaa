// The recovery journal's records: writing them and reading back the whole ones.
#include "core/NotesJournal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "core/NotesMerge.h"

namespace core {

namespace {

constexpr std::size_t FRAME_SIZE = 8;  // the body's length, then the check value

std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void PutUint32(Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t GetUint32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

const std::uint8_t* Magic()
{
    return reinterpret_cast<const std::uint8_t*>(JOURNAL_MAGIC);
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc)
{
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

Bytes JournalHeader()
{
    return Bytes(Magic(), Magic() + JOURNAL_MAGIC_SIZE);
}

// A key is six digits, so a longer one is cut rather than mistaken for text.
Bytes JournalRecord(const DayNote& note, JournalKind kind)
{
    const std::uint8_t head[2] = {static_cast<std::uint8_t>(kind),
                                  static_cast<std::uint8_t>(std::min<std::size_t>(note.key.size(), 255))};
    const auto* key = reinterpret_cast<const std::uint8_t*>(note.key.data());
    const auto* text = reinterpret_cast<const std::uint8_t*>(note.text.data());
    const std::uint32_t bodySize = static_cast<std::uint32_t>(2 + head[1] + note.text.size());
    Bytes record;
    record.reserve(FRAME_SIZE + bodySize);
    PutUint32(record, bodySize);
    std::uint32_t crc = Crc32(record.data(), 4);
    crc = Crc32(head, 2, crc);
    crc = Crc32(key, head[1], crc);
    PutUint32(record, Crc32(text, note.text.size(), crc));
    record.insert(record.end(), head, head + 2);
    record.insert(record.end(), key, key + head[1]);
    record.insert(record.end(), text, text + note.text.size());
    return record;
}

JournalContents ReadJournal(const std::uint8_t* data, std::size_t size)
{
    JournalContents contents;
    if (size < JOURNAL_MAGIC_SIZE) {
        // A kill while the header was being written leaves a part of it: nothing was recorded.
        if (size > 0 && std::memcmp(data, Magic(), size) != 0)
            contents.state = JournalContents::State::Unreadable;
        return contents;
    }
    if (std::memcmp(data, Magic(), JOURNAL_MAGIC_SIZE) != 0) {
        contents.state = JournalContents::State::Unreadable;
        return contents;
    }
    contents.state = JournalContents::State::Records;
    std::size_t at = JOURNAL_MAGIC_SIZE;
    while (size - at >= FRAME_SIZE) {
        const std::uint32_t bodySize = GetUint32(data + at);
        const std::uint32_t check = GetUint32(data + at + 4);
        const std::uint8_t* body = data + at + FRAME_SIZE;
        if (bodySize == 0 || bodySize > size - at - FRAME_SIZE)
            break;
        if (Crc32(body, bodySize, Crc32(data + at, 4)) != check)
            break;
        if (bodySize < 2 || body[0] > static_cast<std::uint8_t>(JournalKind::Base))
            break;
        const auto kind = static_cast<JournalKind>(body[0]);
        const std::size_t keySize = body[1];
        if (keySize > bodySize - 2)
            break;
        const char* text = reinterpret_cast<const char*>(body + 2);
        contents.records.push_back(
            {kind, {std::string(text, keySize), std::string(text + keySize, bodySize - 2 - keySize)}});
        at += FRAME_SIZE + bodySize;
    }
    contents.validBytes = at;
    return contents;
}

std::size_t ApplyJournal(const std::vector<JournalEntry>& records, NoteStore& store)
{
    struct Day {
        const std::string* base = nullptr;    // the latest base record before the last change
        const std::string* latestBase = nullptr;
        const std::string* change = nullptr;  // the last change
        std::size_t order = 0;                // where the last change stands
    };
    std::unordered_map<std::string, Day> days;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const JournalEntry& entry = records[i];
        Day& day = days[entry.note.key];
        if (entry.kind == JournalKind::Base) {
            day.latestBase = &entry.note.text;
            continue;
        }
        day.base = day.latestBase;
        day.change = &entry.note.text;
        day.order = i;
    }
    std::vector<std::pair<std::size_t, const std::string*>> changed;
    for (const auto& [key, day] : days)
        if (day.change)
            changed.push_back({day.order, &key});
    std::sort(changed.begin(), changed.end());
    std::size_t applied = 0;
    for (const auto& [order, key] : changed) {
        const Day& day = days[*key];
        const std::string* now = store.Find(*key);
        std::string text = day.base ? MergeDayText(*day.base, *day.change, now ? *now : std::string()) : *day.change;
        store.SetNote({*key, std::move(text)});
        ++applied;
    }
    return applied;
}

}  // namespace core
