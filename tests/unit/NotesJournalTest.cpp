// The recovery journal's records, and what a reader makes of a journal cut or damaged anywhere.
#include "core/NotesJournal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Bytes.h"
#include "core/NotesMerge.h"

namespace {

using core::JournalKind;

const std::vector<core::JournalEntry> changes = {
    {JournalKind::Base, {"050307", "My first note..."}},
    {JournalKind::Change, {"060307", "Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac\r\nline two \xf0\x9f\x98\x80"}},
    {JournalKind::Change, {"050307", ""}},  // a cleared day
    {JournalKind::Change, {"", "a day outside the keys' range"}},
    {JournalKind::Change, {"070307", std::string(70000, 'x')}},
};

core::Bytes Journal(const std::vector<core::JournalEntry>& entries)
{
    core::Bytes bytes = core::JournalHeader();
    for (const core::JournalEntry& entry : entries) {
        const core::Bytes record = core::JournalRecord(entry.note, entry.kind);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

core::JournalContents Read(const core::Bytes& bytes, std::size_t size)
{
    return core::ReadJournal(bytes.data(), size);
}

}  // namespace

TEST(NotesJournal, ARecordIsItsLengthItsCrcAndTheKeyAndText)
{
    // The CRC's own check value.
    EXPECT_EQ(core::Crc32(Ascii("123456789").data(), 9), 0xCBF43926u);
    const core::Bytes body = Concat({{1, 6}, Ascii("050307"), Ascii("hi")});
    const core::Bytes length = Int32(10);
    const std::uint32_t crc = core::Crc32(body.data(), body.size(), core::Crc32(length.data(), 4));
    EXPECT_EQ(core::JournalRecord({"050307", "hi"}, JournalKind::Base),
              Concat({length, Int32(static_cast<std::int32_t>(crc)), body}));
    EXPECT_EQ(core::JournalHeader(), Ascii("DAYVANE-JOURNAL1"));
}

// A kill can stop a write at any byte: every prefix reads as the records it holds whole.
TEST(NotesJournal, EveryCutReadsAsTheWholeRecordsBeforeIt)
{
    const core::Bytes bytes = Journal(changes);
    std::vector<std::size_t> ends = {core::JOURNAL_MAGIC_SIZE};
    for (const core::JournalEntry& entry : changes)
        ends.push_back(ends.back() + core::JournalRecord(entry.note, entry.kind).size());
    ASSERT_EQ(ends.back(), bytes.size());
    for (std::size_t size = 0; size <= bytes.size(); size += size < 200 || size > bytes.size() - 200 ? 1 : 97) {
        const core::JournalContents read = Read(bytes, size);
        SCOPED_TRACE(size);
        if (size < core::JOURNAL_MAGIC_SIZE) {
            EXPECT_EQ(read.state, core::JournalContents::State::Empty);
            continue;
        }
        const std::size_t whole = static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), size) - ends.begin()) - 1;
        EXPECT_EQ(read.state, core::JournalContents::State::Records);
        EXPECT_EQ(read.records,
                  std::vector<core::JournalEntry>(changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(whole)));
        EXPECT_EQ(read.validBytes, ends[whole]);
    }
}

// A changed byte anywhere in a record ends the reading there; the records before it stand.
TEST(NotesJournal, ADamagedRecordAndEverythingAfterItAreIgnored)
{
    const std::vector<core::JournalEntry> short3(changes.begin(), changes.begin() + 3);
    const core::Bytes bytes = Journal(short3);
    const std::size_t second = core::JOURNAL_MAGIC_SIZE + core::JournalRecord(short3[0].note, short3[0].kind).size();
    const std::size_t third = second + core::JournalRecord(short3[1].note).size();
    for (std::size_t at = second; at < third; ++at) {
        core::Bytes damaged = bytes;
        damaged[at] ^= 0x20;
        const core::JournalContents read = Read(damaged, damaged.size());
        EXPECT_EQ(read.records, std::vector<core::JournalEntry>{short3[0]}) << "byte " << at;
        EXPECT_EQ(read.validBytes, second);
    }
    // A length beyond the bytes left is not believed, nor is an empty body, nor a kind there is
    // none of (its check value right).
    core::Bytes unknownKind = core::JournalRecord({"010107", "x"});
    unknownKind[8] = 2;
    const std::uint32_t crc = core::Crc32(unknownKind.data() + 8, unknownKind.size() - 8, core::Crc32(unknownKind.data(), 4));
    const core::Bytes crcBytes = Int32(static_cast<std::int32_t>(crc));
    std::copy(crcBytes.begin(), crcBytes.end(), unknownKind.begin() + 4);
    core::Bytes strange = Journal({short3[0]});
    strange.insert(strange.end(), unknownKind.begin(), unknownKind.end());
    EXPECT_EQ(Read(strange, strange.size()).records.size(), 1u);
    for (const std::int32_t length : {0x7FFFFFFF, 0}) {
        core::Bytes lying = Journal({short3[0]});
        const core::Bytes frame = Concat({Int32(length), Int32(0)});
        lying.insert(lying.end(), frame.begin(), frame.end());
        EXPECT_EQ(Read(lying, lying.size()).records.size(), 1u);
    }
}

TEST(NotesJournal, AFileThatIsNoJournalIsUnreadable)
{
    EXPECT_EQ(Read(Ascii("DAYVANE-JOURNAL2"), 16).state, core::JournalContents::State::Unreadable);
    EXPECT_EQ(Read(Ascii("DAYVANE-JOURNAX"), 15).state, core::JournalContents::State::Unreadable);
    EXPECT_EQ(Read(Ascii("DAYVANE-JOU"), 11).state, core::JournalContents::State::Empty);
}

// A later start applies each changed day's last text, in the order of the last changes; a day
// whose base record says the file has changed it since merges with the file.
TEST(NotesJournal, ApplyingMergesEachDaysLastChangeWithTheFileAsItIsNow)
{
    core::NoteStore file;
    file.SetNote({"010107", "unchanged"});
    file.SetNote({"020107", "changed elsewhere"});
    file.SetNote({"030107", "as read"});
    const std::vector<core::JournalEntry> journal = {
        {JournalKind::Base, {"020107", "as read"}},
        {JournalKind::Change, {"020107", "typed"}},
        {JournalKind::Base, {"030107", "as read"}},
        {JournalKind::Change, {"030107", "first try"}},
        {JournalKind::Change, {"040107", "new day"}},
        {JournalKind::Change, {"030107", "second try"}},
        {JournalKind::Change, {"050107", "without a base"}},
        {JournalKind::Change, {"020107", "typed more"}},
    };
    EXPECT_EQ(core::ApplyJournal(journal, file), 4u);
    const std::vector<core::DayNote> expected = {
        {"010107", "unchanged"},
        {"040107", "new day"},
        {"030107", "second try"},
        {"050107", "without a base"},
        {"020107", std::string("typed more\r\n") + core::CHANGED_ELSEWHERE_LINE + "\r\nchanged elsewhere"},
    };
    EXPECT_EQ(file.Notes(), expected);
}

// A merge during the run writes a new base before the day's next change: that base, not the
// day's first, is what the last change was made from.
TEST(NotesJournal, TheLastChangeMergesAgainstTheLatestBaseBeforeIt)
{
    struct Row {
        std::vector<std::string> baseThenChange;  // base, change, base, change ...
        std::string file;
        std::string applied;
    };
    const std::vector<Row> rows = {
        {{"A", "AB", "AB", "A"}, "AB", "A"},
        {{"A", "AB", "C", "ABC"}, "C", "ABC"},
    };
    for (const Row& row : rows) {
        std::vector<core::JournalEntry> journal;
        for (std::size_t i = 0; i < row.baseThenChange.size(); ++i)
            journal.push_back({i % 2 ? JournalKind::Change : JournalKind::Base, {"010107", row.baseThenChange[i]}});
        core::NoteStore file;
        file.SetNote({"010107", row.file});
        EXPECT_EQ(core::ApplyJournal(journal, file), 1u);
        EXPECT_EQ(file.Lookup("010107"), row.applied) << row.baseThenChange[2];
    }
}
