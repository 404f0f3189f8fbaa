// The three-way merge of the notes: one table of days, each with its base, ours, theirs and
// result, merged as stores so that the order of the days shows too.
#include "core/NotesMerge.h"

#include <gtest/gtest.h>

namespace {

const std::string sep = std::string("\r\n") + core::CHANGED_ELSEWHERE_LINE + "\r\n";
const std::string uml = "Gr\xc3\xbc\xc3\x9f" "e";       // Grüße
const std::string kanji = "\xe6\x97\xa5\xe6\x9c\xac";  // 日本

struct Day {
    const char* key;
    const char* why;
    std::string base, ours, theirs, merged;
};

// Ours and base list the days in this order; theirs lists them in reverse.
const Day days[] = {
    {"010107", "unchanged everywhere", "same", "same", "same", "same"},
    {"020107", "changed elsewhere only", "old", "old", uml, uml},
    {"030107", "changed here only", "old", kanji, "old", kanji},
    {"040107", "changed alike on both sides", "old", "new\r\ntext", "new\r\ntext", "new\r\ntext"},
    {"050107", "changed differently on both sides", "old", uml, kanji, uml + sep + kanji},
    {"060107", "both sides ended with a line break", "", "ours\r\n", "theirs\r\n", "ours" + sep + "theirs\r\n"},
    {"070107", "added elsewhere", "", "", "new " + kanji, "new " + kanji},
    {"080107", "added on both sides differently", "", "a", "b", "a" + sep + "b"},
    {"090107", "deleted elsewhere, unchanged here", "old", "old", "", ""},
    {"100107", "deleted here, unchanged elsewhere", "old", "", "old", ""},
    {"110107", "deleted elsewhere, changed here", "old", "mine", "", "mine"},
    {"120107", "deleted here, changed elsewhere", "old", "", "theirs", "theirs"},
    {"130107", "blank counts as no note", "", " \r\n\t", "", ""},
    {"140107", "blank elsewhere deletes", "old", "old", "  ", ""},
    {"150107", "merged before", "old", "a" + sep + "b", "b", "a" + sep + "b"},
};

core::NoteStore StoreOf(std::string Day::*side, bool reversed = false)
{
    core::NoteStore store;
    const std::size_t count = std::size(days);
    for (std::size_t i = 0; i < count; ++i) {
        const Day& day = days[reversed ? count - 1 - i : i];
        store.SetNote({day.key, day.*side});
    }
    return store;
}

// Theirs as read from a file that repeats a day at its end, as only a file can: the first
// entry is the day's text.
core::NoteStore ReadWithRepeatedDay(const core::NoteStore& store)
{
    const core::Windows1252 cp1252;
    const std::vector<core::DayNote> notes = store.Notes();
    core::Bytes bytes;
    core::ArchiveWriter out(bytes);
    out.Int32(static_cast<std::int32_t>(notes.size() + 1));
    for (const core::DayNote& note : notes) {
        out.Text(note.key, cp1252);
        out.Text(note.text, cp1252);
    }
    out.Text(days[1].key, cp1252);
    out.Text("a later entry of the same day", cp1252);
    core::NoteStore read;
    EXPECT_TRUE(read.Read(bytes.data(), bytes.size(), cp1252));
    return read;
}

}  // namespace

TEST(NotesMerge, EachDayMergesByItsRowAndOnlyChangedDaysMoveToTheEnd)
{
    const core::NoteStore base = StoreOf(&Day::base);
    const core::NoteStore theirs = ReadWithRepeatedDay(StoreOf(&Day::theirs, true));
    core::NoteStore ours = StoreOf(&Day::ours);
    std::vector<core::DayNote> expected;
    std::vector<core::DayNote> moved;
    for (const Day& day : days) {
        SCOPED_TRACE(day.why);
        EXPECT_EQ(core::MergeDayText(day.base, day.ours, day.theirs), day.merged);
        // A day whose text the merge changes is set again, in theirs' order; the rest stay.
        const bool changes = day.merged != day.ours && !(core::IsBlankText(day.merged) && core::IsBlankText(day.ours));
        if (!changes && !core::IsBlankText(day.ours))
            expected.push_back({day.key, day.ours});
        else if (changes && !core::IsBlankText(day.merged))
            moved.insert(moved.begin(), {day.key, day.merged});
    }
    expected.insert(expected.end(), moved.begin(), moved.end());

    core::MergeNotes(base, ours, theirs);
    EXPECT_EQ(ours.Notes(), expected);
    // Merging the same file again, against the same base or against itself, changes nothing.
    EXPECT_EQ(core::MergeNotes(base, ours, theirs), 0u);
    EXPECT_EQ(core::MergeNotes(theirs, ours, theirs), 0u);
    EXPECT_EQ(ours.Notes(), expected);
    for (const Day& day : days)
        EXPECT_EQ(ours.Find(day.key) == nullptr, core::IsBlankText(day.merged)) << day.key;
}
