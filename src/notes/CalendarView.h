// The month calendar: its colours, its font and the room it asks for, the selected day and
// the bold days of the selected month.
#pragma once

#include <windows.h>

#include <string>

#include "core/DayKey.h"
#include "core/NoteStore.h"
#include "core/Palette.h"
#include "framework/Wnd.h"

class CalendarView {
public:
    void Bind(fw::DataExchange& exchange);
    HWND Handle() const { return control.Handle(); }

    // Switches the calendar's theme off, so that it takes the colours it is given.
    void KeepColors();
    void SetColors(const core::CalendarColors& colors);
    // Gives the calendar its fixed `font`, which must outlive it, and the room it then asks
    // for; `exactly` also takes away what it does not ask for. Returns how much larger it
    // became.
    SIZE SetFont(HFONT font, bool exactly);

    std::string SelectedDayKey() const;
    // Selects `day` as a click would, but without the notification; false when the control
    // refused it.
    bool Select(const core::CalendarDate& day);
    // Marks in bold the days of the selected month that have a note in `notes`.
    void ShowNoteDays(const core::NoteStore& notes);
    // Day states alone do not repaint the calendar, as a new selection does.
    void Repaint() const;

private:
    fw::CMonthCalCtrl control;
};
