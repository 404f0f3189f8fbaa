// The folder watch and the merge of a notes file changed elsewhere.
#include "notes/OutsideChanges.h"

#include <utility>

#include "resources/ResourceIds.h"

const fw::MessageTable<OutsideChanges> OutsideChanges::messageTable = {
    fw::OnTimer<OutsideChanges::MERGE_TIMER_ID, &OutsideChanges::OnMergeTimer>(),
    fw::OnMessage<NOTES_FOLDER_CHANGED_MESSAGE, &OutsideChanges::OnFolderChanged>(),
};

void OutsideChanges::Watch()
{
    const std::wstring& path = notesFile.Path();
    folderWatch.Start(path.substr(0, path.find_last_of(L'\\') + 1), Owner(), NOTES_FOLDER_CHANGED_MESSAGE);
}

fw::Result OutsideChanges::OnFolderChanged(WPARAM, LPARAM)
{
    // Without a timer the writes are not waited for: a file still being written is taken up
    // at its next change.
    if (!SetTimer(Owner(), MERGE_TIMER_ID, MERGE_SETTLE_MS, nullptr))
        OnMergeTimer();
    return fw::Done();
}

// The bold days follow the merge. A box being edited keeps its text, which meets the merged one
// at the next commit; a box as it was given shows the day's new text.
fw::Result OutsideChanges::OnMergeTimer()
{
    KillTimer(Owner(), MERGE_TIMER_ID);
    // The journal's own writes change the folder too, and leave the notes file as it was.
    if (!notesFile.ChangedSinceSeen())
        return fw::Done();
    const bool edited = noteBox.Edited();
    if (notesFile.MergeChanges(notes) != NotesFile::Merge::Merged)
        return fw::Done();
    calendarView.ShowNoteDays(notes);
    calendarView.Repaint();
    const std::string& shown = noteBox.ShownDay();
    const std::string now = notes.Lookup(shown);
    if (!edited && now != noteBox.Text())
        noteBox.Show(now);
    // The journal's days have a new base; the shown day's text is what its commit would store.
    notesFile.Journal().Rebase([&](const std::string& key) {
        return std::pair{notesFile.BaseText(key), key == shown ? noteBox.CommitText() : notes.Lookup(key)};
    });
    noteBox.ForgetJournaled();
    return fw::Done();
}
