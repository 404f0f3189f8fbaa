// The notes panel: the month calendar and the notes box, the notes store behind them, the
// notes file, and the wiring between them: a picked day, typing paced into the journal, and
// the commands and changes from elsewhere that reach the notes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/DayKey.h"
#include "core/JournalPacing.h"
#include "core/NoteStore.h"
#include "framework/Files.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "notes/CalendarView.h"
#include "notes/NoteBox.h"
#include "notes/NotePreview.h"
#include "notes/NotesCommands.h"
#include "notes/NotesFile.h"
#include "notes/OutsideChanges.h"

class NotesPanel : public fw::MessageTarget<NotesPanel> {
public:
    static constexpr UINT_PTR JOURNAL_TIMER_ID = 2;

    // Binds the month calendar and the notes box of the dialog.
    void Bind(fw::DataExchange& exchange);
    CalendarView& Calendar() { return calendarView; }
    NoteBox& Box() { return noteBox; }
    const core::NoteStore& Notes() const { return dayNotes; }
    HWND Owner() const { return GetParent(noteBox.Handle()); }

    // Reads the notes at `readPath`; the notes file of this run is `path`, which is then
    // watched for changes made elsewhere. False when the file could not be read; a file that
    // is there all the same is copied aside before the first save replaces it.
    bool LoadNotes(const std::wstring& readPath, const std::wstring& path);
    void AddFirstRunNote();
    // False, with the reason added to `failures`, when the file could not be written.
    bool SaveNotes(std::vector<fw::FileFailure>& failures);
    // Applies what a run that ended without closing left in the journal; true when it did.
    bool RecoverNotes();
    // This run's changes are given up: the journal goes.
    void DiscardJournal();
    // What the user is to hear of the journal, once each: one that could not be read at start,
    // or one this run has not been able to write for a while; empty when there is nothing new.
    // The panel posts NOTES_NOTICE_MESSAGE to its owner when a notice comes up while it runs.
    std::string TakeJournalNotice();

    // The notes box's text goes to the shown day.
    void CommitShownNote();
    void RefreshNoteDays();
    // Puts the selected day's note into the notes box.
    void ShowSelectedNote();
    // Notes that came from elsewhere as whole day texts (an import) take the path of notes
    // committed to a day: the journal gets them, the bold days and the notes box show them.
    void TakeNotes(const std::vector<core::DayNote>& notes);
    // Selects `day` in the calendar and takes the steps of a pick.
    void PickDay(const core::CalendarDate& day);
    // Gives the calendar its fixed `font` and the room it then asks for (`exactly`: no more);
    // the notes box moves down and widens by as much. Returns how much larger the panel became.
    SIZE FitCalendar(HFONT font, bool exactly);

private:
    friend fw::MessageTarget<NotesPanel>;
    static const fw::MessageTable<NotesPanel> messageTable;
    fw::Result OnCalendarSelChange(const NMHDR& header);
    fw::Result OnNotesChanged();
    fw::Result OnJournalTimer();
    fw::Result OnCtlColorEdit(HDC dc, HWND control);
    // Sets the journal's timer for when the pacing has it due; false when the system gave no
    // timer.
    bool ScheduleJournal();
    // The notes left on other days first, in the order they were left, then the box's text.
    void RecordChanges();

    core::NoteStore dayNotes;
    NotesFile notesFile;
    CalendarView calendarView;
    NoteBox noteBox{dayNotes};
    NotePreview preview{dayNotes, noteBox.ShownDay()};
    OutsideChanges outsideChanges{notesFile, dayNotes, noteBox, calendarView};
    NotesCommands commands{*this};
    core::JournalPacing pacing;
    // Notes committed to other days that the journal has not got yet.
    std::vector<core::DayNote> unrecorded;
    std::string journalNotice;
};
