// The three-way merge of the notes, one day at a time.
#include "core/NotesMerge.h"

namespace core {

namespace {

const std::string noNote;

// A day's text with every blank text, and no entry at all, as the one empty text.
const std::string& TextOf(const std::string* text)
{
    return text && !IsBlankText(*text) ? *text : noNote;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What follows this program's text when the day changed elsewhere too.
std::string ChangedElsewhere(const std::string& theirs)
{
    return std::string(CHANGED_ELSEWHERE_LINE) + "\r\n" + theirs;
}

}  // namespace

std::string MergeDayText(const std::string& base, const std::string& ours, const std::string& theirs)
{
    const std::string& b = TextOf(&base);
    const std::string& o = TextOf(&ours);
    const std::string& t = TextOf(&theirs);
    if (o == b || o == t)
        return t;
    if (t == b || t.empty())
        return o;
    if (o.empty())
        return t;
    const std::string tail = ChangedElsewhere(t);
    if (EndsWith(o, "\r\n" + tail))
        return o;
    return (EndsWith(o, "\r\n") ? o : o + "\r\n") + tail;
}

std::size_t MergeNotes(const NoteStore& base, NoteStore& ours, const NoteStore& theirs)
{
    std::size_t changed = 0;
    const auto merge = [&](const std::string& key, const std::string* theirsText) {
        const std::string& o = TextOf(ours.Find(key));
        const std::string& t = TextOf(theirsText);
        // Most days are the same everywhere, or unchanged elsewhere: nothing to copy or set.
        if (o == t)
            return;
        const std::string& b = TextOf(base.Find(key));
        if (t == b)
            return;
        std::string merged = MergeDayText(b, o, t);
        if (merged == o)
            return;
        ours.SetNote({key, std::move(merged)});
        ++changed;
    };
    // Only a day that base or theirs has can have changed elsewhere. A day met again in theirs
    // merges to what it already holds.
    const bool firstEntriesOnly = !theirs.HasRepeatedDays();
    theirs.ForEach([&](const DayNote& note) {
        merge(note.key, firstEntriesOnly ? &note.text : theirs.Find(note.key));
    });
    base.ForEach([&](const DayNote& note) {
        if (!theirs.Find(note.key))
            merge(note.key, nullptr);
    });
    return changed;
}

}  // namespace core
