// The note of a day shown in a tooltip while the pointer rests on its cell in the month
// calendar, so that a note can be read without leaving the one being edited.
#pragma once

#include <windows.h>

#include <string>

#include "core/NoteStore.h"
#include "framework/Handles.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

class NotePreview : public fw::MessageTarget<NotePreview, fw::CSubclassedWnd> {
public:
    static constexpr UINT_PTR REST_TIMER_ID = 21;
    static constexpr UINT REST_MS = 500;
    static constexpr std::size_t MAX_LINES = 8;
    static constexpr std::size_t MAX_CHARACTERS = 300;

    // Previews the notes of `store` over `calendar`, never the note of `shownDay`.
    NotePreview(const core::NoteStore& store, const std::string& shownDay) : notes(store), shownDayKey(shownDay) {}
    NotePreview(const NotePreview&) = delete;
    NotePreview& operator=(const NotePreview&) = delete;
    void Watch(HWND calendar);

    // What the tooltip shows of a note: its first lines, cut with "…".
    static std::wstring Excerpt(const std::string& note);

private:
    fw::Result OnTimer(UINT_PTR timerId);
    fw::Result OnMouseMove(UINT keyFlags, POINT point);
    fw::Result OnMouseLeave();
    fw::Result OnMouseWheel(short delta);
    fw::Result OnMouseAction(UINT keyFlags, POINT point);
    fw::Result OnKeyDown(UINT virtualKey);
    bool MakeTooltip();
    void Hide();
    // Asks for WM_MOUSELEAVE (TME_LEAVE), or stops asking (with TME_CANCEL).
    void WatchLeaving(DWORD flags);

    friend fw::MessageTarget<NotePreview, fw::CSubclassedWnd>;
    static const fw::MessageTable<NotePreview> messageTable;

    const core::NoteStore& notes;
    const std::string& shownDayKey;
    fw::CWindow tooltip;
    // The cell under the pointer (empty outside the days) and where the pointer is.
    std::string restingKey;
    SYSTEMTIME restingDate{};
    POINT restingPoint{};
};
