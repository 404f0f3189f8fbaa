// Notes changed elsewhere while the program runs: the data folder is watched, and a moment
// after its writes have settled, a notes file that another program changed is merged into the
// notes, the calendar and the box.
#pragma once

#include <windows.h>

#include <string>

#include "core/NoteStore.h"
#include "framework/FolderWatch.h"
#include "framework/MessageMap.h"
#include "notes/CalendarView.h"
#include "notes/NoteBox.h"
#include "notes/NotesFile.h"

class OutsideChanges : public fw::MessageTarget<OutsideChanges> {
public:
    static constexpr UINT_PTR MERGE_TIMER_ID = 3;
    static constexpr UINT MERGE_SETTLE_MS = 200;

    OutsideChanges(NotesFile& file, core::NoteStore& store, NoteBox& box, CalendarView& calendar)
        : notesFile(file), notes(store), noteBox(box), calendarView(calendar)
    {
    }

    // Watches the folder of the notes file for changes, which reach the box's dialog. Without
    // a watch, changes made elsewhere are still merged when the notes are saved.
    void Watch();

private:
    friend fw::MessageTarget<OutsideChanges>;
    static const fw::MessageTable<OutsideChanges> messageTable;
    fw::Result OnFolderChanged(WPARAM, LPARAM);
    fw::Result OnMergeTimer();
    HWND Owner() const { return GetParent(noteBox.Handle()); }

    NotesFile& notesFile;
    core::NoteStore& notes;
    NoteBox& noteBox;
    CalendarView& calendarView;
    fw::FolderWatch folderWatch;
};
