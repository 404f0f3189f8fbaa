// The notes store's rules and the notes file.
#include "core/NoteStore.h"

#include <gtest/gtest.h>

#include "Bytes.h"
#include "FailingAllocation.h"
#include "FixedTime.h"
#include "core/DayKey.h"
#include "core/Moment.h"

namespace {

const core::Windows1252 cp1252;
constexpr core::Moment march5th2007 = 1173103509;  // Monday 5 March 2007, 14:05:09 UTC

std::vector<core::DayNote> Contents(const core::NoteStore& store)
{
    return store.Notes();
}

bool Read(core::NoteStore& store, const core::Bytes& bytes)
{
    return store.Read(bytes.data(), bytes.size(), cp1252);
}

core::Bytes Record(const std::string& key, const core::Bytes& text)
{
    return Concat({{static_cast<std::uint8_t>(key.size())}, Ascii(key), text});
}

core::Bytes Short(const std::string& text)
{
    return Concat({{static_cast<std::uint8_t>(text.size())}, Ascii(text)});
}

class MemoryFile : public core::DataFile {
public:
    bool ReadAll(core::Bytes& bytes) override
    {
        bytes = contents;
        return readable;
    }
    bool Replace(const core::Bytes& bytes) override
    {
        if (writable)
            contents = bytes;
        return writable;
    }
    core::Bytes contents;
    bool readable = true;
    bool writable = true;
};

}  // namespace

TEST(NotesFile, FirstRunNoteIsTheDocumented28Bytes)
{
    core::NoteStore store;
    store.AddFirstRunNote(FixedTime(march5th2007));
    const core::Bytes expected =
        Concat({{1, 0, 0, 0}, {6}, Ascii("050307"), {16}, Ascii("My first note...")});
    EXPECT_EQ(expected.size(), 28u);
    EXPECT_EQ(store.Write(cp1252), expected);
}

TEST(NotesFile, TextPrefixesFollowTheTextLength)
{
    struct Case {
        std::size_t length;
        core::Bytes prefix;
    } cases[] = {{254, {0xFE}}, {255, {0xFF, 0xFF, 0x00}}, {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}};
    for (const Case& c : cases) {
        core::NoteStore store;
        store.SetNote({"010107", std::string(c.length, 'n')});
        const core::Bytes bytes = store.Write(cp1252);
        const core::Bytes prefix(bytes.begin() + 11, bytes.begin() + 11 + static_cast<std::ptrdiff_t>(c.prefix.size()));
        EXPECT_EQ(prefix, c.prefix) << c.length;
        core::NoteStore back;
        ASSERT_TRUE(Read(back, bytes));
        EXPECT_EQ(back.Lookup("010107").size(), c.length);
    }
}

TEST(NotesFile, RoundTripKeepsOrderAndEveryText)
{
    core::NoteStore store;
    store.SetNote({"010107", "first\r\nline two"});
    store.SetNote({"020107", "caf\u00e9 \u20ac"});
    store.SetNote({"030107", "\u65e5\u672c\u8a9e \U0001F600 \u0436"});
    store.SetNote({"010107", "changed, so now last"});
    core::NoteStore back;
    ASSERT_TRUE(Read(back, store.Write(cp1252)));
    EXPECT_EQ(Contents(back), Contents(store));
    EXPECT_EQ(Contents(back).back().key, "010107");
}

TEST(NotesFile, FileEntriesStandAsRead)
{
    const core::Bytes bytes = Concat({Int32(4), Record("010107", Short("older")), Record("020107", Short(" \r\n")),
                                      Record("010107", Short("newer")), Record("030107", {1, 0xA0})});
    core::NoteStore store;
    ASSERT_TRUE(Read(store, bytes));
    EXPECT_EQ(store.Size(), 4u);
    EXPECT_EQ(store.Lookup("010107"), "older");
    EXPECT_EQ(store.Lookup("020107"), " \r\n");
    EXPECT_EQ(store.Lookup("030107"), "\u00a0");
    // One SetNote for the day removes both of its entries.
    store.SetNote({"010107", "only"});
    EXPECT_EQ(store.Size(), 3u);
    EXPECT_EQ(Contents(store).back(), (core::DayNote{"010107", "only"}));
}

TEST(NotesFile, CountsOfZeroOrBelowReadNothingAndTrailingBytesAreIgnored)
{
    for (std::int32_t count : {0, -1, -2147483647 - 1}) {
        core::NoteStore store;
        store.SetNote({"010107", "stale"});
        EXPECT_TRUE(Read(store, Concat({Int32(count), Record("010107", Short("x"))})));
        EXPECT_EQ(store.Size(), 0u) << count;
    }
    core::NoteStore store;
    EXPECT_TRUE(Read(store, Concat({Int32(1), Record("010107", Short("kept")), Ascii("junk after the last record")})));
    EXPECT_EQ(Contents(store), (std::vector<core::DayNote>{{"010107", "kept"}}));
}

TEST(NotesFile, ShortFilesFailAndKeepWhatWasRead)
{
    core::NoteStore store;
    for (const core::Bytes& tiny : {core::Bytes{}, core::Bytes{1}, core::Bytes{1, 0}, core::Bytes{1, 0, 0}})
        EXPECT_FALSE(Read(store, tiny)) << tiny.size();
    EXPECT_FALSE(Read(store, Concat({Int32(3), Record("010107", Short("one")), Record("020107", Short("two"))})));
    EXPECT_EQ(store.Size(), 2u);
}

TEST(NotesFile, EveryTruncationOfAValidFileFails)
{
    core::NoteStore store;
    store.SetNote({"010107", "a"});
    store.SetNote({"020107", std::string(300, 'b')});
    store.SetNote({"030107", "\u65e5\u672c"});
    const core::Bytes bytes = store.Write(cp1252);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        core::NoteStore back;
        EXPECT_FALSE(back.Read(bytes.data(), size, cp1252)) << size;
    }
}

TEST(NotesFile, ZeroBytesAndWideStringsInAFile)
{
    const core::Bytes wide = {0xFF, 0xFE, 0xFF, 0x03, 'c', 0, 'a', 0, 0xE9, 0};
    const core::Bytes bytes = Concat({Int32(3), Record("010107", Concat({{5}, Ascii("ab"), {0}, Ascii("cd")})),
                                      Record("020107", wide), Record("030107", Short("after"))});
    core::NoteStore store;
    ASSERT_TRUE(Read(store, bytes));
    EXPECT_EQ(store.Lookup("010107"), "ab");
    EXPECT_EQ(store.Lookup("020107"), "ca\u00e9");
    EXPECT_EQ(store.Lookup("030107"), "after");
}

TEST(NoteStore, SetNoteMovesReplacesAndRemoves)
{
    core::NoteStore store;
    store.SetNote({"010107", "one"});
    store.SetNote({"020107", "two"});
    store.SetNote({"010107", "one again"});
    EXPECT_EQ(Contents(store), (std::vector<core::DayNote>{{"020107", "two"}, {"010107", "one again"}}));
    store.SetNote({"020107", " \r\n\t"});
    EXPECT_EQ(Contents(store), (std::vector<core::DayNote>{{"010107", "one again"}}));
    store.SetNote({"090107", "\v\f"});
    EXPECT_EQ(store.Size(), 1u);
    EXPECT_EQ(store.Lookup("090107"), "");
    // A non-breaking space is not white space.
    store.SetNote({"090107", "\u00a0"});
    EXPECT_EQ(store.Lookup("090107"), "\u00a0");
}

// Ten years of days, a note set on every fifth, then three of them kept, cleared and
// rewritten: the file holds each day's one note in the order the notes were last set.
TEST(NoteStore, TenYearsOfDaysAreWrittenAndReadInStoreOrder)
{
    core::NoteStore store;
    std::vector<std::string> noted;
    core::LocalTime date;
    int days = 0;
    for (core::Moment day = 1262304000; core::BreakDown(day, 0, date) && date.year < 2020; day += 86400, ++days)
        if (days % 5 == 0) {
            noted.push_back(core::DayKeyFromDate(date.year, date.month, date.day));
            store.SetNote({noted.back(), "Day " + std::to_string(days) + (days % 15 ? "" : "\r\nsecond line")});
        }
    ASSERT_EQ(days, 3652);
    ASSERT_EQ(noted.size(), 731u);
    std::vector<core::DayNote> expected = Contents(store);
    store.SetNote({noted[3], store.Lookup(noted[3])});
    store.SetNote({noted[100], ""});
    store.SetNote({noted[500], "rewritten"});
    const core::DayNote kept = expected[3];
    expected.erase(expected.begin() + 500);
    expected.erase(expected.begin() + 100);
    expected.erase(expected.begin() + 3);
    expected.push_back(kept);
    expected.push_back({noted[500], "rewritten"});

    core::NoteStore read;
    const core::Bytes bytes = store.Write(cp1252);
    ASSERT_TRUE(Read(read, bytes));
    EXPECT_EQ(Contents(read), expected);
}

TEST(NoteStore, BlankText)
{
    EXPECT_TRUE(core::IsBlankText(""));
    EXPECT_TRUE(core::IsBlankText(" \t\n\v\f\r"));
    EXPECT_FALSE(core::IsBlankText("\xa0"));
    EXPECT_FALSE(core::IsBlankText(std::string(1, '\0')));
    EXPECT_FALSE(core::IsBlankText(" x "));
}

TEST(NoteStore, LoadAndSaveGoThroughTheDataFile)
{
    MemoryFile file;
    core::NoteStore store;
    store.SetNote({"010107", "kept"});
    ASSERT_TRUE(store.Save(file, cp1252));
    core::NoteStore back;
    ASSERT_TRUE(back.Load(file, cp1252));
    EXPECT_EQ(back.Lookup("010107"), "kept");

    file.readable = false;
    EXPECT_FALSE(back.Load(file, cp1252));
    EXPECT_EQ(back.Size(), 0u);
    file.writable = false;
    EXPECT_FALSE(store.Save(file, cp1252));
}

// Every allocation of a load and of a save fails once in turn: each such load or save
// reports failure instead of throwing, and the store stays usable.
TEST(NoteStore, RunningOutOfMemoryFailsTheLoadOrTheSave)
{
    core::Bytes wide;
    core::ArchiveWriter(wide).Text("caf\xc3\xa9 \xe6\x97\xa5", cp1252);
    MemoryFile file;
    file.contents = Concat({{3, 0, 0, 0}, Record("010107", Short("first")), Record("020107", wide),
                            Record("010107", Short("again"))});
    core::NoteStore reference;
    ASSERT_TRUE(reference.Load(file, cp1252));
    const core::Bytes written = reference.Write(cp1252);

    bool loaded = false;
    for (std::size_t n = 1; !loaded; ++n) {
        core::NoteStore store;
        failing_allocation::FailNth(n);
        loaded = store.Load(file, cp1252);
        const bool failed = failing_allocation::Failed();
        failing_allocation::FailNth(0);
        ASSERT_NE(loaded, failed) << n;
        EXPECT_EQ(Contents(store), loaded ? Contents(reference) : std::vector<core::DayNote>{}) << n;
        store.SetNote({"030107", "still usable"});
        core::NoteStore back;
        ASSERT_TRUE(Read(back, store.Write(cp1252))) << n;
        EXPECT_EQ(Contents(back), Contents(store)) << n;
    }

    bool saved = false;
    for (std::size_t n = 1; !saved; ++n) {
        MemoryFile target;
        failing_allocation::FailNth(n);
        saved = reference.Save(target, cp1252);
        const bool failed = failing_allocation::Failed();
        failing_allocation::FailNth(0);
        ASSERT_NE(saved, failed) << n;
        EXPECT_EQ(target.contents, saved ? written : core::Bytes{}) << n;
    }
}

TEST(NoteStore, AllNotesBlankedLeavesAnEmptyFile)
{
    core::NoteStore store;
    store.AddFirstRunNote(FixedTime(march5th2007));
    store.SetNote({"050307", ""});
    EXPECT_EQ(store.Write(cp1252), Int32(0));
}

TEST(NoteStore, NoteDaysOfAMonth)
{
    core::NoteStore store;
    EXPECT_EQ(core::NoteDaysOfMonth(store, "0107"), 0u);
    for (const char* key : {"010107", "150107", "310107", "010207", "150106", "291206"})
        store.SetNote({key, "note"});
    EXPECT_EQ(core::NoteDaysOfMonth(store, "0107"), (1u << 0) | (1u << 14) | (1u << 30));
    EXPECT_EQ(core::NoteDaysOfMonth(store, "0207"), 1u);
    // A day the month lacks still sets its bit; the control ignores it.
    store.SetNote({"300207", "no such day"});
    EXPECT_EQ(core::NoteDaysOfMonth(store, "0207"), 1u | (1u << 29));
    // Blank texts from a file are not bold.
    const core::Bytes bytes = Concat({Int32(1), Record("050307", Short(" \r\n"))});
    ASSERT_TRUE(Read(store, bytes));
    EXPECT_EQ(core::NoteDaysOfMonth(store, "0307"), 0u);
}
