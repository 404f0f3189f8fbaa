// The notes box and the day it shows: the text it was given, what the user made of it, and
// what of it the journal already has.
#pragma once

#include <windows.h>

#include <string>

#include "core/NoteStore.h"
#include "core/Palette.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"

class NoteBox {
public:
    static constexpr int NOTES_EXTRA_HEIGHT = 13;

    // The box shows notes of `store`.
    explicit NoteBox(const core::NoteStore& store) : notes(store) {}
    NoteBox(const NoteBox&) = delete;
    NoteBox& operator=(const NoteBox&) = delete;

    void Bind(fw::DataExchange& exchange);
    HWND Handle() const { return edit.Handle(); }
    void SetFont(HFONT font);
    // The box's colours and scroll bars in `palette`: the system's own in the light mode.
    void SetColors(const core::Palette& palette);
    // For the parent's WM_CTLCOLOREDIT: the brush of the box's background, having set the
    // text's colours; null while the box keeps the system's colours.
    HBRUSH PaintColors(HDC dc) const;
    // Makes the box NOTES_EXTRA_HEIGHT (a 96-DPI size) longer than the template, at `dpi`.
    void Lengthen(int dpi);
    // Moves down by `growth.cy` and widens by `growth.cx`, beside a calendar that grew.
    void FollowCalendar(SIZE growth);

    // Names the box after the day it shows, for assistive technology.
    void Describe();
    std::wstring AccessibleName() const;

    const std::string& ShownDay() const { return shownDayKey; }
    void SetShownDay(const std::string& dayKey);
    // Shows the note of `dayKey` and makes it the shown day.
    void ShowDay(const std::string& dayKey);
    // Shows `text` as given, not typed: no keystroke is heard.
    void Show(const std::string& text);
    // A change of the box's text that the user made, not the program.
    bool Typing() const { return !showingNote; }
    std::string Text() const { return edit.Text(); }
    // The text differs from what the box was given or last committed.
    bool Edited() const { return Text() != shownBaseText; }

    // What a commit stores for the shown day: the box's text, merged with a text the day
    // got elsewhere while the box was being edited.
    std::string CommitText() const;
    // Whether `text` differs from what the shown day has in the journal or, failing that, in
    // the store. Blank texts are all the same: none of them is a note.
    bool Changes(const std::string& text) const;
    // The shown day now holds `text` in the store; a text merged with one from elsewhere is
    // shown as stored, so that the box goes on from it.
    void Committed(const std::string& text);
    // The journal has `text` for the shown day, while the store does not.
    void Journaled(const std::string& text);
    // The journal's record of the shown day no longer stands for its latest text.
    void ForgetJournaled() { journaledShownDay = false; }

private:
    // The box shows `dayKey` from now on; a new day renames it.
    void ShowsDay(const std::string& dayKey);

    const core::NoteStore& notes;
    fw::CEdit edit;
    fw::CBrush background;
    COLORREF textColor = 0, backgroundColor = 0;
    bool darkScrollBars = false;
    std::string shownDayKey;
    // The shown day's text when the box was given it, or last committed it.
    std::string shownBaseText;
    std::string journaledText;
    bool journaledShownDay = false;
    bool showingNote = false;
};
