// The notes panel: the month calendar and the notes box, the notes store behind them, the
// shown day and the notes file.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/NoteStore.h"
#include "core/NotesExport.h"
#include "framework/Files.h"
#include "framework/Handles.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "notes/NotePreview.h"
#include "notes/RecoveryJournal.h"

// How many earlier notes files a save keeps beside the notes file.
constexpr int NOTES_BACKUP_COUNT = 3;

class NotesPanel {
public:
    static constexpr int NOTES_EXTRA_HEIGHT = 13;

    // Binds the month calendar and the notes box of the dialog.
    void Bind(fw::DataExchange& exchange);

    // False when the notes file at `path` could not be read; a file that is there all the
    // same is copied aside before the first save replaces it.
    bool LoadNotes(const std::wstring& path);
    void AddFirstRunNote();
    // False, with the reason added to `failures`, when the file could not be written. A save
    // that changes the file keeps the replaced one as the newest of NOTES_BACKUP_COUNT
    // backups beside it; a save that succeeds removes the recovery journal.
    bool SaveNotes(const std::wstring& path, std::vector<fw::FileFailure>& failures);
    // Applies the changes that a run which ended without closing left in the journal of the
    // notes file at `path`, in the order they were made, and saves the notes at once. True
    // when there were any. A save that fails keeps them in the journal for the next start.
    bool RecoverNotes(const std::wstring& path);
    // This run's changes are given up: the journal goes.
    void DiscardJournal();

    // Typing in the notes box reaches the journal after a pause, or JOURNAL_LATEST_MS after
    // the first keystroke not yet recorded, whichever comes first.
    static constexpr UINT_PTR JOURNAL_TIMER_ID = 2;
    static constexpr ULONGLONG JOURNAL_PAUSE_MS = 500;
    static constexpr ULONGLONG JOURNAL_LATEST_MS = 1500;
    fw::Result OnNotesChanged();
    void OnJournalTimer();

    // The notes box's text goes to the shown day.
    void CommitShownNote();
    void RefreshNoteDays();
    std::string SelectedDayKey() const;
    fw::Result OnCalendarSelChange(const NMHDR& header);
    // Puts the selected day's note into the notes box.
    void ShowSelectedNote();
    void ShowNote(const std::string& text);
    void SetShownDay(const std::string& dayKey)
    {
        shownDayKey = dayKey;
        journaledShownDay = false;
    }

    void SetNotesFont(HFONT font);
    // Switches the calendar's theme off, so that it takes the colours it is given.
    void KeepCalendarColors();
    void SetCalendarColors(COLORREF light, COLORREF mid, COLORREF dark);
    void LengthenNotesBox();
    // Gives the calendar its fixed font and the room it then asks for: the notes box moves
    // down and widens by as much. Returns how much larger the panel became.
    SIZE SetCalendarFont();

    // Finds a note in the find dialog over `owner` and, when one is picked, selects its day
    // as a pick in the calendar would.
    void FindNote(HWND owner);
    // Asks where to export every note, as iCalendar or as text, and writes the file there
    // in one step; a failure is shown in a message box over `owner`.
    void ExportNotes(HWND owner);

private:
    bool WriteNotesFile(const std::wstring& path, std::vector<fw::FileFailure>& failures);
    bool KeepUnreadNotesFile(const std::wstring& path, std::vector<fw::FileFailure>& failures);
    std::string ExportBytes(bool calendarFile);
    // Commits the notes box and gives today's year, which dates the notes.
    int CommitForReading();
    void ScheduleJournal(ULONGLONG dueTick);
    void RecordChanges();
    bool ChangesShownNote(const std::string& text) const;

    fw::CMonthCalCtrl calendarCtrl;
    fw::CEdit notesEdit;
    fw::CFont calendarFont;
    core::NoteStore dayNotes;
    std::string shownDayKey;
    // The notes file was there at start but could not be read.
    bool notesFileUnread = false;
    NotePreview preview{dayNotes, shownDayKey};
    RecoveryJournal journal;
    // The text of the shown day the journal last recorded, while the store has not got it.
    std::string journaledText;
    bool journaledShownDay = false;
    // Notes committed to other days that the journal has not got yet.
    std::vector<core::DayNote> unrecorded;
    // Changes recovered at start that are not in the notes file yet.
    std::vector<core::DayNote> unsavedRecovery;
    // The box is being given a note, not typed into.
    bool showingNote = false;
    // When the first keystroke not yet in the journal was typed, while one waits.
    ULONGLONG firstUnrecordedTick = 0;
};
