// Notes changed elsewhere while the program ran (a sync tool, a copied file, another
// computer) merged with the program's own, day by day, against the notes both started from.
#pragma once

#include <string>

#include "core/NoteStore.h"

namespace core {

// The line that stands between this program's text of a day and the one changed elsewhere
// when both changed it.
constexpr const char* CHANGED_ELSEWHERE_LINE = "----- changed elsewhere -----";

// One day's text after a three-way merge; a blank text is no note. The side that left the
// day as it was takes the other's text; both changing it alike gives that text; both changing
// it differently gives ours, the changed-elsewhere line and theirs, unless one of them
// deleted the day, which then gives the other's text, so that no text is lost. A text that
// already ends with the line and theirs is one merged before, and stays as it is.
std::string MergeDayText(const std::string& base, const std::string& ours, const std::string& theirs);

// Merges `theirs` into `ours` against `base`. The days whose text the merge changes are set
// with SetNote in the order `theirs` has them, then the days `theirs` no longer has in the
// order `base` had them; every other entry of `ours` stays where it was. Returns how many
// days changed.
std::size_t MergeNotes(const NoteStore& base, NoteStore& ours, const NoteStore& theirs);

}  // namespace core
