// The commands of the Notes menu: Find, Export and Import, which read or add to every note,
// and Today.
#pragma once

#include <windows.h>

#include <string>

#include "framework/MessageMap.h"

class NotesPanel;

class NotesCommands : public fw::MessageTarget<NotesCommands> {
public:
    // The commands read and pick the notes of `panel`.
    explicit NotesCommands(NotesPanel& panel) : notesPanel(panel) {}

    // Finds a note in the find dialog over `owner` and, when one is picked, selects its day
    // as a pick in the calendar would.
    void FindNote(HWND owner);
    // Asks where to export every note, as iCalendar or as text, and writes the file there
    // in one step; a failure is shown in a message box over `owner`.
    void ExportNotes(HWND owner);
    // Asks for an iCalendar file and adds its events to the notes as if typed; what was added,
    // and what was not, is reported in a message box over `owner`.
    void ImportNotes(HWND owner);
    // Selects today in the calendar as a pick would.
    void PickToday();

private:
    friend fw::MessageTarget<NotesCommands>;
    static const fw::MessageTable<NotesCommands> messageTable;
    fw::Result OnNotesCommand(UINT id);
    // Commits the notes box, so that what is being typed is found and exported, and gives
    // today's year, which dates the notes.
    int CommitForReading();
    std::string ExportBytes(bool calendarFile);

    void Tell(HWND owner, const std::string& message, UINT icon);

    NotesPanel& notesPanel;
    // The folder of the last file imported in this run, where the next import starts.
    std::wstring importFolder;
};
