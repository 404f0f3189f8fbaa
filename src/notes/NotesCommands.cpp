// Find, Export and Import over every note.
#include "notes/NotesCommands.h"

#include "core/ICalendarImport.h"
#include "core/ImportReport.h"
#include "core/NotesExport.h"
#include "core/Numerals.h"
#include "framework/CommonDialogs.h"
#include "framework/Files.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "notes/FindDialog.h"
#include "notes/NotesPanel.h"
#include "resources/ResourceIds.h"

namespace {

// A common file dialog over `owner` that fills the MAX_PATH buffer `path`, the first of
// `filter`'s types chosen, the folder must exist and the current folder stays as it is.
OPENFILENAMEW FileChoice(HWND owner, wchar_t* path, const wchar_t* filter, DWORD flags)
{
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpstrFilter = filter;
    choice.nFilterIndex = 1;
    choice.lpstrFile = path;
    choice.nMaxFile = MAX_PATH;
    choice.Flags = flags | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    return choice;
}

}  // namespace

const fw::MessageTable<NotesCommands> NotesCommands::messageTable = {
    fw::OnCommands<ID_NOTES_FIND, ID_NOTES_EXPORT, &NotesCommands::OnNotesCommand>(),
    fw::OnCommands<ID_NOTES_IMPORT, ID_NOTES_IMPORT, &NotesCommands::OnNotesCommand>(),
    fw::OnCommands<ID_NOTES_TODAY, ID_NOTES_TODAY, &NotesCommands::OnNotesCommand>(),
};

fw::Result NotesCommands::OnNotesCommand(UINT id)
{
    if (id == ID_NOTES_FIND)
        FindNote(notesPanel.Owner());
    else if (id == ID_NOTES_TODAY)
        PickToday();
    else if (id == ID_NOTES_IMPORT)
        ImportNotes(notesPanel.Owner());
    else
        ExportNotes(notesPanel.Owner());
    return fw::Done();
}

int NotesCommands::CommitForReading()
{
    notesPanel.CommitShownNote();
    core::LocalTime today;
    fw::TimeSource().ToLocal(fw::TimeSource().Now(), today);
    return today.year;
}

void NotesCommands::PickToday()
{
    core::LocalTime today;
    if (fw::TimeSource().ToLocal(fw::TimeSource().Now(), today))
        notesPanel.PickDay({today.year, today.month, today.day});
}

void NotesCommands::FindNote(HWND owner)
{
    const int todayYear = CommitForReading();
    const NoteSearch search(core::DatedNotes(notesPanel.Notes(), todayYear));
    FindDialog dialog(owner, search);
    if (dialog.DoModal() == IDOK)
        notesPanel.PickDay(dialog.PickedDay());
}

std::string NotesCommands::ExportBytes(bool calendarFile)
{
    const int todayYear = CommitForReading();
    if (!calendarFile)
        return core::TextOf(notesPanel.Notes(), todayYear);
    core::LocalTime utc;
    core::BreakDown(fw::TimeSource().Now(), 0, utc);
    const std::string stamp = core::Decimal(utc.year, 4) + core::Decimal(utc.month, 2) + core::Decimal(utc.day, 2) +
                              "T" + core::Decimal(utc.hour, 2) + core::Decimal(utc.minute, 2) +
                              core::Decimal(utc.second, 2) + "Z";
    return core::ICalendarOf(notesPanel.Notes(), todayYear, stamp);
}

void NotesCommands::ExportNotes(HWND owner)
{
    wchar_t path[MAX_PATH] = L"Dayvane notes.ics";
    OPENFILENAMEW choice =
        FileChoice(owner, path, L"iCalendar (*.ics)\0*.ics\0Text (*.txt)\0*.txt\0", OFN_OVERWRITEPROMPT);
    choice.lpstrDefExt = L"ics";
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
    Tell(owner, "Dayvane could not export the notes to this file:\n\n" + fw::Narrow(path) + "\n" + fw::SystemMessage(error),
         MB_ICONWARNING);
}

void NotesCommands::Tell(HWND owner, const std::string& message, UINT icon)
{
    MessageBoxW(owner, fw::Widen(message).c_str(), L"Dayvane", MB_OK | icon);
}

void NotesCommands::ImportNotes(HWND owner)
{
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW choice =
        FileChoice(owner, path, L"iCalendar (*.ics)\0*.ics\0All files (*.*)\0*.*\0", OFN_FILEMUSTEXIST);
    choice.lpstrInitialDir = importFolder.empty() ? nullptr : importFolder.c_str();
    if (!fw::RunOpenDialog(choice))
        return;
    importFolder.assign(path, choice.nFileOffset);
    const std::string refused = "Dayvane could not import this file:\n\n" + fw::Narrow(path) + "\n";
    std::vector<std::uint8_t> bytes;
    const DWORD error = fw::ReadWholeFile(path, bytes);
    if (error != ERROR_SUCCESS) {
        Tell(owner, refused + fw::SystemMessage(error), MB_ICONWARNING);
        return;
    }
    const int todayYear = CommitForReading();
    const core::ICalendarImport import = core::ImportICalendar(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), notesPanel.Notes(),
        fw::TimeSource(), todayYear);
    if (import.outcome != core::ICalendarImport::Outcome::Read) {
        Tell(owner, refused + core::ImportRefusal(import.outcome) + "\n\nNothing was changed.", MB_ICONWARNING);
        return;
    }
    notesPanel.TakeNotes(import.changedNotes);
    Tell(owner, core::ImportReport(import), MB_ICONINFORMATION);
}
