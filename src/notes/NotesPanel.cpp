// The notes panel's wiring: a picked day, typing paced into the journal, loading and saving.
#include "notes/NotesPanel.h"

#include <algorithm>
#include <utility>

#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"

const fw::MessageTable<NotesPanel> NotesPanel::messageTable = {
    fw::OnNotify<IDC_CALENDAR, MCN_SELCHANGE, &NotesPanel::OnCalendarSelChange>(),
    fw::OnControlCommand<IDC_NOTES, EN_CHANGE, &NotesPanel::OnNotesChanged>(),
    fw::OnTimer<NotesPanel::JOURNAL_TIMER_ID, &NotesPanel::OnJournalTimer>(),
    fw::On<WM_CTLCOLOREDIT, &NotesPanel::OnCtlColorEdit>(),
    fw::Chain<&NotesPanel::outsideChanges>(),
    fw::Chain<&NotesPanel::commands>(),
};

void NotesPanel::Bind(fw::DataExchange& exchange)
{
    calendarView.Bind(exchange);
    noteBox.Bind(exchange);
    if (!preview.Handle())
        preview.Watch(calendarView.Handle());
}

// The notes box asks its parent, the window, for its colours.
fw::Result NotesPanel::OnCtlColorEdit(HDC dc, HWND control)
{
    if (control != noteBox.Handle())
        return fw::Default;
    const HBRUSH brush = noteBox.PaintColors(dc);
    return brush ? fw::Done(reinterpret_cast<LRESULT>(brush)) : fw::Default;
}

bool NotesPanel::LoadNotes(const std::wstring& readPath, const std::wstring& path)
{
    const bool read = notesFile.Load(readPath, path, dayNotes);
    outsideChanges.Watch();
    return read;
}

void NotesPanel::AddFirstRunNote()
{
    dayNotes.AddFirstRunNote(fw::TimeSource());
}

bool NotesPanel::SaveNotes(std::vector<fw::FileFailure>& failures)
{
    if (notesFile.Save(dayNotes, failures)) {
        unrecorded.clear();
        return true;
    }
    // The notes stay only in memory: whatever the journal has not got yet goes there now.
    RecordChanges();
    return false;
}

namespace {

std::string FileName(const std::wstring& path)
{
    return fw::Narrow(path.substr(path.find_last_of(L'\\') + 1));
}

}  // namespace

bool NotesPanel::RecoverNotes()
{
    const bool recovered = notesFile.Recover(dayNotes);
    const RecoveryJournal& journal = notesFile.Journal();
    if (!journal.KeptAside().empty())
        journalNotice = "Dayvane could not read the notes typed before it last stopped (" + FileName(journal.Path()) +
                        "). The file is kept beside your notes as " + FileName(journal.KeptAside()) + ".";
    else if (journal.Blocked())
        journalNotice = "Dayvane could neither read nor move " + FileName(journal.Path()) +
                        ", so this run's notes are saved only when you close Dayvane.";
    return recovered;
}

std::string NotesPanel::TakeJournalNotice()
{
    return std::exchange(journalNotice, std::string());
}

void NotesPanel::DiscardJournal()
{
    unrecorded.clear();
    notesFile.DiscardJournal();
}

// A changed note goes to the journal just after the pick, once the new day shows, so that the
// pick costs no more than it did.
void NotesPanel::CommitShownNote()
{
    const std::string text = noteBox.CommitText();
    if (noteBox.Changes(text)) {
        unrecorded.push_back({noteBox.ShownDay(), text});
        pacing.Committed(GetTickCount64());
        if (!ScheduleJournal())
            RecordChanges();
    }
    dayNotes.SetNote({noteBox.ShownDay(), text});
    noteBox.Committed(text);
    RefreshNoteDays();
}

void NotesPanel::TakeNotes(const std::vector<core::DayNote>& notes)
{
    if (notes.empty())
        return;
    for (const core::DayNote& note : notes) {
        unrecorded.push_back(note);
        dayNotes.SetNote(note);
    }
    pacing.Committed(GetTickCount64());
    if (!ScheduleJournal())
        RecordChanges();
    RefreshNoteDays();
    // The box was committed before: it shows the shown day's text as the store now holds it.
    noteBox.ShowDay(noteBox.ShownDay());
}

void NotesPanel::RefreshNoteDays()
{
    calendarView.ShowNoteDays(dayNotes);
}

void NotesPanel::ShowSelectedNote()
{
    noteBox.Show(dayNotes.Lookup(calendarView.SelectedDayKey()));
}

// Setting the selection sends no notification: the steps of a pick follow by hand.
void NotesPanel::PickDay(const core::CalendarDate& day)
{
    if (calendarView.Select(day))
        OnCalendarSelChange(NMHDR{});
}

SIZE NotesPanel::FitCalendar(HFONT font, bool exactly)
{
    const SIZE growth = calendarView.SetFont(font, exactly);
    if (growth.cx != 0 || growth.cy != 0)
        noteBox.FollowCalendar(growth);
    return growth;
}

// The control has already moved its selection: the box's text goes to the day it showed,
// then the box shows the newly selected day.
fw::Result NotesPanel::OnCalendarSelChange(const NMHDR&)
{
    CommitShownNote();
    noteBox.ShowDay(calendarView.SelectedDayKey());
    return fw::Done();
}

fw::Result NotesPanel::OnNotesChanged()
{
    if (!noteBox.Typing())
        return fw::Done();
    pacing.Typed(GetTickCount64());
    // Without a timer the changes are recorded at once.
    if (!ScheduleJournal())
        RecordChanges();
    return fw::Done();
}

bool NotesPanel::ScheduleJournal()
{
    const auto due = pacing.Due();
    if (!due) {
        KillTimer(Owner(), JOURNAL_TIMER_ID);
        return true;
    }
    const ULONGLONG now = GetTickCount64();
    const UINT delay = static_cast<UINT>(std::max<ULONGLONG>(*due > now ? *due - now : 0, USER_TIMER_MINIMUM));
    return SetTimer(Owner(), JOURNAL_TIMER_ID, delay, nullptr) != 0;
}

fw::Result NotesPanel::OnJournalTimer()
{
    KillTimer(Owner(), JOURNAL_TIMER_ID);
    RecordChanges();
    return fw::Done();
}

// The journal remembers what it could not write, and writes it whole at the next try, which
// the pacing puts off further after each failure.
void NotesPanel::RecordChanges()
{
    RecoveryJournal& journal = notesFile.Journal();
    journal.CatchUp();
    for (const core::DayNote& note : unrecorded)
        journal.Record(note, notesFile.BaseText(note.key));
    unrecorded.clear();
    const std::string text = noteBox.CommitText();
    if (noteBox.Changes(text)) {
        journal.Record({noteBox.ShownDay(), text}, notesFile.BaseText(noteBox.ShownDay()));
        noteBox.Journaled(text);
    }
    if (pacing.Written(GetTickCount64(), !journal.Behind())) {
        journalNotice = "Dayvane cannot write " + FileName(journal.Path()) +
                        ". Your notes are saved when you close Dayvane, but would be lost if it stopped unexpectedly.";
        PostMessageW(Owner(), NOTES_NOTICE_MESSAGE, 0, 0);
    }
    ScheduleJournal();
}
