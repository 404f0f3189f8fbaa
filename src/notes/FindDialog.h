// Finding a note: a search text, and the list of the notes that hold it, newest first. The
// list follows each keystroke; Enter or a double click picks a note's day.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/NotesExport.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

// The notes a search looks through. Each is folded once, when the search is made, so that a
// keystroke costs only a plain search of every folded note.
class NoteSearch {
public:
    explicit NoteSearch(std::vector<core::DatedNote> notes);
    // The positions of the notes that hold `text`, ignoring case and accents in any script,
    // newest date first; every note for an empty text.
    std::vector<std::size_t> Find(const std::wstring& text) const;
    const core::DatedNote& Note(std::size_t position) const { return notes[position]; }

    // A text without its accents and in lower case: decomposed (NFD), without the combining
    // marks, then lower-cased by the user's locale's linguistic rules.
    static std::wstring Folded(const std::wstring& text);

private:
    std::vector<core::DatedNote> notes;
    std::vector<std::wstring> foldedTexts;
};

class FindDialog : public fw::MessageTarget<FindDialog, fw::CDialog> {
public:
    // Owned by `parentWindow`, which stays disabled while the dialog is open.
    FindDialog(HWND parentWindow, const NoteSearch& search);

    // After "OK": the day of the picked note.
    const core::CalendarDate& PickedDay() const { return picked; }

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    friend fw::MessageTarget<FindDialog, fw::CDialog>;
    static const fw::MessageTable<FindDialog> messageTable;
    fw::Result OnSearchChanged();
    fw::Result OnGetDisplayInfo(NMHDR& header);
    fw::Result OnDoubleClick(NMHDR& header);
    void Refilter();

    const NoteSearch& search;
    fw::CEdit searchEdit;
    fw::CWnd resultList;
    std::vector<std::size_t> shown;
    // The text of the cell last asked for: the list reads it after the notification returns.
    std::wstring cellText;
    core::CalendarDate picked;
};
