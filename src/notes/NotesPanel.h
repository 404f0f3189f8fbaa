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
#include "framework/FolderWatch.h"
#include "framework/Handles.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "notes/NotePreview.h"
#include "notes/NotesFile.h"

class NotesPanel {
public:
    static constexpr int NOTES_EXTRA_HEIGHT = 13;

    // The panel's messages: a day picked in the calendar, typing in the notes box, its
    // timers, a change of the data folder, and the Find and Export commands.
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Binds the month calendar and the notes box of the dialog.
    void Bind(fw::DataExchange& exchange);

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

    // Typing in the notes box reaches the journal after a pause, or JOURNAL_LATEST_MS after
    // the first keystroke not yet recorded, whichever comes first.
    static constexpr UINT_PTR JOURNAL_TIMER_ID = 2;
    static constexpr ULONGLONG JOURNAL_PAUSE_MS = 500;
    static constexpr ULONGLONG JOURNAL_LATEST_MS = 1500;
    // A write that failed (another program held the journal) is tried again after this long,
    // then after twice as long each time, up to JOURNAL_RETRY_LONGEST_MS.
    static constexpr UINT JOURNAL_RETRY_MS = 250;
    static constexpr UINT JOURNAL_RETRY_LONGEST_MS = 8000;
    fw::Result OnNotesChanged();
    fw::Result OnJournalTimer();

    // The data folder changed: a moment later, when the writes have settled, a notes file
    // changed elsewhere is merged into the notes.
    static constexpr UINT_PTR MERGE_TIMER_ID = 3;
    static constexpr UINT MERGE_SETTLE_MS = 200;
    fw::Result OnFolderChanged(WPARAM, LPARAM);
    fw::Result OnMergeTimer();

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
    // Gives the calendar its fixed `font`, which must outlive it, and the room it then asks
    // for: the notes box moves down and widens by as much. Returns how much larger the panel
    // became.
    SIZE SetCalendarFont(HFONT font);

    // Finds a note in the find dialog over `owner` and, when one is picked, selects its day
    // as a pick in the calendar would.
    void FindNote(HWND owner);
    // Asks where to export every note, as iCalendar or as text, and writes the file there
    // in one step; a failure is shown in a message box over `owner`.
    void ExportNotes(HWND owner);

private:
    static const fw::MessageEntry<NotesPanel> messageTable[];
    fw::Result OnNotesCommand(UINT id);
    HWND Owner() const { return GetParent(notesEdit.Handle()); }

    std::string ExportBytes(bool calendarFile);
    // What a commit stores for the shown day: the box's `text`, merged with a text the day got
    // elsewhere while the box was being edited.
    std::string CommitText(const std::string& text) const;
    // Commits the notes box and gives today's year, which dates the notes.
    int CommitForReading();
    void ScheduleJournal(ULONGLONG dueTick);
    void RecordChanges();
    bool ChangesShownNote(const std::string& text) const;

    fw::CMonthCalCtrl calendarCtrl;
    fw::CEdit notesEdit;
    core::NoteStore dayNotes;
    std::string shownDayKey;
    // The shown day's text when the box was given it, or last committed it.
    std::string shownBaseText;
    NotePreview preview{dayNotes, shownDayKey};
    NotesFile notesFile;
    fw::FolderWatch folderWatch;
    // The text of the shown day the journal last recorded, while the store has not got it.
    std::string journaledText;
    bool journaledShownDay = false;
    // Notes committed to other days that the journal has not got yet.
    std::vector<core::DayNote> unrecorded;
    // The box is being given a note, not typed into.
    bool showingNote = false;
    // When the first keystroke not yet in the journal was typed, while one waits.
    ULONGLONG firstUnrecordedTick = 0;
    UINT journalRetryMs = JOURNAL_RETRY_MS;
};
