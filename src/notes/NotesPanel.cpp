// The notes panel: the shown day's note and its journal, notes changed elsewhere, bold days,
// and the calendar's colours, font and size.
#include "notes/NotesPanel.h"

#include <algorithm>
#include <cstdio>

#include "core/DayKey.h"
#include "core/NotesExport.h"
#include "core/NotesMerge.h"
#include "framework/CommonDialogs.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "notes/FindDialog.h"
#include "resources/ResourceIds.h"

const fw::MessageEntry<NotesPanel> NotesPanel::messageTable[] = {
    fw::OnNotify<IDC_CALENDAR, MCN_SELCHANGE, &NotesPanel::OnCalendarSelChange>(),
    fw::OnControlCommand<IDC_NOTES, EN_CHANGE, &NotesPanel::OnNotesChanged>(),
    fw::OnTimer<NotesPanel::JOURNAL_TIMER_ID, &NotesPanel::OnJournalTimer>(),
    fw::OnTimer<NotesPanel::MERGE_TIMER_ID, &NotesPanel::OnMergeTimer>(),
    fw::OnMessage<NOTES_FOLDER_CHANGED_MESSAGE, &NotesPanel::OnFolderChanged>(),
    fw::OnCommands<ID_NOTES_FIND, ID_NOTES_EXPORT, &NotesPanel::OnNotesCommand>(),
};

bool NotesPanel::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return fw::RunMessageTable(*this, messageTable, message, wParam, lParam, result);
}

void NotesPanel::Bind(fw::DataExchange& exchange)
{
    exchange.Control(IDC_CALENDAR, calendarCtrl);
    exchange.Control(IDC_NOTES, notesEdit);
    if (!preview.Handle())
        preview.Watch(calendarCtrl.Handle());
}

bool NotesPanel::LoadNotes(const std::wstring& readPath, const std::wstring& path)
{
    const bool read = notesFile.Load(readPath, path, dayNotes);
    // Without a watch, changes made elsewhere are still merged when the notes are saved.
    folderWatch.Start(path.substr(0, path.find_last_of(L'\\') + 1), Owner(), NOTES_FOLDER_CHANGED_MESSAGE);
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

bool NotesPanel::RecoverNotes()
{
    return notesFile.Recover(dayNotes);
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
    const std::string box = notesEdit.Text();
    const std::string text = CommitText(box);
    if (ChangesShownNote(text)) {
        unrecorded.push_back({shownDayKey, text});
        ScheduleJournal(GetTickCount64());
    }
    dayNotes.SetNote({shownDayKey, text});
    // A text merged with one from elsewhere is shown as stored, so the box goes on from it.
    if (text != box)
        ShowNote(text);
    shownBaseText = text;
    journaledShownDay = false;
    journaledText.clear();
    RefreshNoteDays();
}

// While the box was edited, the shown day may have changed elsewhere and been merged into the
// store: the box's text and that one then merge as any two changes of a day do.
std::string NotesPanel::CommitText(const std::string& text) const
{
    const std::string* stored = dayNotes.Find(shownDayKey);
    const std::string& now = stored ? *stored : std::string();
    if (now == shownBaseText || (core::IsBlankText(now) && core::IsBlankText(shownBaseText)))
        return text;
    return core::MergeDayText(shownBaseText, text, now);
}

fw::Result NotesPanel::OnFolderChanged(WPARAM, LPARAM)
{
    // Without a timer the writes are not waited for: a file still being written is taken up
    // at its next change.
    if (!SetTimer(Owner(), MERGE_TIMER_ID, MERGE_SETTLE_MS, nullptr))
        OnMergeTimer();
    return fw::Done();
}

// The bold days follow the merge. A box being edited keeps its text, which meets the merged one
// at the next commit; a box as it was given shows the day's new text.
fw::Result NotesPanel::OnMergeTimer()
{
    KillTimer(Owner(), MERGE_TIMER_ID);
    // The journal's own writes change the folder too, and leave the notes file as it was.
    if (!notesFile.ChangedSinceSeen())
        return fw::Done();
    const std::string box = notesEdit.Text();
    const bool edited = box != shownBaseText;
    if (notesFile.MergeChanges(dayNotes) != NotesFile::Merge::Merged)
        return fw::Done();
    RefreshNoteDays();
    // New day states alone do not repaint the calendar, as a pick's new selection does.
    InvalidateRect(calendarCtrl.Handle(), nullptr, FALSE);
    const std::string now = dayNotes.Lookup(shownDayKey);
    if (!edited && now != box)
        ShowNote(now);
    // The journal's days have a new base; the shown day's text is what its commit would store.
    notesFile.Journal().Rebase([&](const std::string& key) {
        return std::pair{notesFile.BaseText(key), key == shownDayKey ? CommitText(notesEdit.Text()) : dayNotes.Lookup(key)};
    });
    journaledShownDay = false;
    return fw::Done();
}

fw::Result NotesPanel::OnNotesChanged()
{
    if (showingNote)
        return fw::Done();
    const ULONGLONG now = GetTickCount64();
    if (firstUnrecordedTick == 0)
        firstUnrecordedTick = now;
    // Each keystroke moves the timer, up to the latest moment the first one allows; a note
    // left on another day is not kept waiting by typing.
    ScheduleJournal(unrecorded.empty() ? std::min(now + JOURNAL_PAUSE_MS, firstUnrecordedTick + JOURNAL_LATEST_MS) : now);
    return fw::Done();
}

void NotesPanel::ScheduleJournal(ULONGLONG dueTick)
{
    const ULONGLONG now = GetTickCount64();
    const UINT delay = static_cast<UINT>(std::max<ULONGLONG>(dueTick > now ? dueTick - now : 0, USER_TIMER_MINIMUM));
    // Without a timer the changes are recorded at once.
    if (!SetTimer(Owner(), JOURNAL_TIMER_ID, delay, nullptr))
        OnJournalTimer();
}

fw::Result NotesPanel::OnJournalTimer()
{
    KillTimer(Owner(), JOURNAL_TIMER_ID);
    RecordChanges();
    return fw::Done();
}

// The notes left on other days first, in the order they were left, then the box's text. The
// journal remembers what it could not write, and writes it whole at the next try.
void NotesPanel::RecordChanges()
{
    RecoveryJournal& journal = notesFile.Journal();
    journal.CatchUp();
    for (const core::DayNote& note : unrecorded)
        journal.Record(note, notesFile.BaseText(note.key));
    unrecorded.clear();
    firstUnrecordedTick = 0;
    const std::string text = CommitText(notesEdit.Text());
    if (ChangesShownNote(text)) {
        journal.Record({shownDayKey, text}, notesFile.BaseText(shownDayKey));
        journaledText = text;
        journaledShownDay = true;
    }
    if (!journal.Behind()) {
        journalRetryMs = JOURNAL_RETRY_MS;
        return;
    }
    SetTimer(Owner(), JOURNAL_TIMER_ID, journalRetryMs, nullptr);
    journalRetryMs = std::min(2 * journalRetryMs, JOURNAL_RETRY_LONGEST_MS);
}

// Whether `text` differs from what the shown day has in the journal or, failing that, in the
// store. Blank texts are all the same: none of them is a note.
bool NotesPanel::ChangesShownNote(const std::string& text) const
{
    const std::string* before = journaledShownDay ? &journaledText : dayNotes.Find(shownDayKey);
    return before ? *before != text && !(core::IsBlankText(*before) && core::IsBlankText(text))
                  : !core::IsBlankText(text);
}

// The key of the day selected in the month calendar, made from the date itself so that
// every date the control offers has a key of its own.
std::string NotesPanel::SelectedDayKey() const
{
    SYSTEMTIME selected{};
    if (!calendarCtrl.Send(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected)))
        return core::MakeDayKey(fw::TimeSource(), 0);
    return core::DayKeyFromDate(selected.wYear, selected.wMonth, selected.wDay);
}

// The bold days of the selected day's month. The control counts the partly shown months
// around the whole one; the whole one, the selected month, is always entry 1, and the
// neighbours' entries stay empty so that their days are never bold.
void NotesPanel::RefreshNoteDays()
{
    SYSTEMTIME range[2]{};
    const LRESULT months = calendarCtrl.Send(MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range));
    if (months <= 0)
        return;
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(months), 0);
    const std::string key = SelectedDayKey();
    if (months >= 2)
        states[1] = core::NoteDaysOfMonth(dayNotes, key.substr(key.size() - 4));
    calendarCtrl.Send(MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
}

// The control has already moved its selection: the box's text goes to the day it showed,
// then the box shows the newly selected day.
fw::Result NotesPanel::OnCalendarSelChange(const NMHDR&)
{
    CommitShownNote();
    const std::string selected = SelectedDayKey();
    ShowNote(dayNotes.Lookup(selected));
    shownDayKey = selected;
    return fw::Done();
}

void NotesPanel::ShowSelectedNote()
{
    ShowNote(dayNotes.Lookup(SelectedDayKey()));
}

void NotesPanel::ShowNote(const std::string& text)
{
    showingNote = true;
    notesEdit.ShowText(text);
    showingNote = false;
    shownBaseText = text;
}

void NotesPanel::SetNotesFont(HFONT font)
{
    notesEdit.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// With visual styles on (the manifest asks for common controls 6) a themed month calendar
// ignores MCM_SETCOLOR; without a theme it takes the scheme's colours. uxtheme.dll is asked
// for at run time, as a system without it has no themes to switch off.
void NotesPanel::KeepCalendarColors()
{
    fw::SetWindowTheme(calendarCtrl.Handle(), L"", L"");
}

void NotesPanel::SetCalendarColors(COLORREF light, COLORREF mid, COLORREF dark)
{
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_BACKGROUND, light);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_MONTHBK, light);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TEXT, dark);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TITLEBK, mid);
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TITLETEXT, light);
    // The neighbouring months' days vanish into the background.
    calendarCtrl.Send(MCM_SETCOLOR, MCSC_TRAILINGTEXT, light);
}

void NotesPanel::LengthenNotesBox()
{
    RECT box = notesEdit.RectInParent();
    box.bottom += NOTES_EXTRA_HEIGHT;
    notesEdit.Move(box);
}

// Some month calendars (Wine's among them) need more room with their font than the template
// gives them. Where the calendar fits, nothing changes.
SIZE NotesPanel::SetCalendarFont(HFONT font)
{
    calendarCtrl.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    RECT needed{};
    if (!calendarCtrl.Send(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return {0, 0};
    RECT calendar = calendarCtrl.RectInParent();
    const SIZE growth{std::max(0L, (needed.right - needed.left) - (calendar.right - calendar.left)),
                      std::max(0L, (needed.bottom - needed.top) - (calendar.bottom - calendar.top))};
    if (growth.cx == 0 && growth.cy == 0)
        return growth;
    calendar.right += growth.cx;
    calendar.bottom += growth.cy;
    calendarCtrl.Move(calendar);
    RECT notes = notesEdit.RectInParent();
    OffsetRect(&notes, 0, growth.cy);
    notes.right += growth.cx;
    notesEdit.Move(notes);
    return growth;
}

// The notes box goes to the store first, so that what is being typed is found and exported.
int NotesPanel::CommitForReading()
{
    CommitShownNote();
    core::LocalTime today;
    fw::TimeSource().ToLocal(fw::TimeSource().Now(), today);
    return today.year;
}

fw::Result NotesPanel::OnNotesCommand(UINT id)
{
    if (id == ID_NOTES_FIND)
        FindNote(Owner());
    else
        ExportNotes(Owner());
    return fw::Done();
}

void NotesPanel::FindNote(HWND owner)
{
    const int todayYear = CommitForReading();
    const NoteSearch search(core::DatedNotes(dayNotes, todayYear));
    FindDialog dialog(owner, search);
    if (dialog.DoModal() != IDOK)
        return;
    const core::CalendarDate& day = dialog.PickedDay();
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(day.year);
    date.wMonth = static_cast<WORD>(day.month);
    date.wDay = static_cast<WORD>(day.day);
    // Setting the selection sends no notification: the steps of a pick follow by hand.
    if (calendarCtrl.Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)))
        OnCalendarSelChange(NMHDR{});
}

std::string NotesPanel::ExportBytes(bool calendarFile)
{
    const int todayYear = CommitForReading();
    if (!calendarFile)
        return core::TextOf(dayNotes, todayYear);
    core::LocalTime utc;
    core::BreakDown(fw::TimeSource().Now(), 0, utc);
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02dT%02d%02d%02dZ", utc.year, utc.month, utc.day, utc.hour, utc.minute,
                  utc.second);
    return core::ICalendarOf(dayNotes, todayYear, stamp);
}

void NotesPanel::ExportNotes(HWND owner)
{
    wchar_t path[MAX_PATH] = L"Dayvane notes.ics";
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpstrFilter = L"iCalendar (*.ics)\0*.ics\0Text (*.txt)\0*.txt\0";
    choice.nFilterIndex = 1;
    choice.lpstrFile = path;
    choice.nMaxFile = MAX_PATH;
    choice.lpstrDefExt = L"ics";
    choice.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!fw::RunSaveDialog(choice))
        return;
    // A name ending in ".txt" or ".ics" says the form; any other name takes the chosen type's.
    const std::wstring name(path);
    const std::wstring extension = name.size() > 4 ? name.substr(name.size() - 4) : L"";
    const bool text = _wcsicmp(extension.c_str(), L".txt") == 0 ||
                      (_wcsicmp(extension.c_str(), L".ics") != 0 && choice.nFilterIndex == 2);
    const std::string bytes = ExportBytes(!text);
    const DWORD error = fw::ReplaceFileAtomically(path, std::string_view(bytes));
    if (error == ERROR_SUCCESS)
        return;
    const std::string message = "Dayvane could not export the notes to this file:\n\n" + fw::Narrow(path) + "\n" +
                                fw::SystemMessage(error);
    MessageBoxW(owner, fw::Widen(message).c_str(), L"Dayvane", MB_OK | MB_ICONWARNING);
}
