// The month calendar's look, size, selection and bold days.
#include "notes/CalendarView.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "core/DayKey.h"
#include "framework/Colors.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "resources/ResourceIds.h"

void CalendarView::Bind(fw::DataExchange& exchange)
{
    exchange.Control(IDC_CALENDAR, control);
}

// With visual styles on (the manifest asks for common controls 6) a themed month calendar
// ignores MCM_SETCOLOR; without a theme it takes the scheme's colours. uxtheme.dll is asked
// for at run time, as a system without it has no themes to switch off.
void CalendarView::KeepColors()
{
    fw::SetWindowTheme(control.Handle(), L"", L"");
}

void CalendarView::SetColors(const core::CalendarColors& colors)
{
    control.Send(MCM_SETCOLOR, MCSC_BACKGROUND, fw::ColorRef(colors.background));
    control.Send(MCM_SETCOLOR, MCSC_MONTHBK, fw::ColorRef(colors.monthBackground));
    control.Send(MCM_SETCOLOR, MCSC_TEXT, fw::ColorRef(colors.text));
    control.Send(MCM_SETCOLOR, MCSC_TITLEBK, fw::ColorRef(colors.titleBackground));
    control.Send(MCM_SETCOLOR, MCSC_TITLETEXT, fw::ColorRef(colors.titleText));
    // The neighbouring months' days vanish into the background.
    control.Send(MCM_SETCOLOR, MCSC_TRAILINGTEXT, fw::ColorRef(colors.trailingText));
}

// Some month calendars (Wine's among them) need more room with their font than the template
// gives them. Where the calendar fits, nothing changes, unless it is to fit exactly.
SIZE CalendarView::SetFont(HFONT font, bool exactly)
{
    control.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    RECT needed{};
    if (!control.Send(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return {0, 0};
    RECT calendar = control.RectInParent();
    const LONG least = exactly ? LONG_MIN : 0;
    const SIZE growth{std::max(least, (needed.right - needed.left) - (calendar.right - calendar.left)),
                      std::max(least, (needed.bottom - needed.top) - (calendar.bottom - calendar.top))};
    if (growth.cx == 0 && growth.cy == 0)
        return growth;
    calendar.right += growth.cx;
    calendar.bottom += growth.cy;
    control.Move(calendar);
    return growth;
}

// The key of the day selected in the month calendar, made from the date itself so that
// every date the control offers has a key of its own.
std::string CalendarView::SelectedDayKey() const
{
    SYSTEMTIME selected{};
    if (!control.Send(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected)))
        return core::MakeDayKey(fw::TimeSource(), 0);
    return core::DayKeyFromDate(selected.wYear, selected.wMonth, selected.wDay);
}

bool CalendarView::Select(const core::CalendarDate& day)
{
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(day.year);
    date.wMonth = static_cast<WORD>(day.month);
    date.wDay = static_cast<WORD>(day.day);
    return control.Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)) != 0;
}

// The control counts the partly shown months around the whole one; the whole one, the
// selected month, is always entry 1, and the neighbours' entries stay empty so that their
// days are never bold.
void CalendarView::ShowNoteDays(const core::NoteStore& notes)
{
    SYSTEMTIME range[2]{};
    const LRESULT months = control.Send(MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range));
    if (months <= 0)
        return;
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(months), 0);
    const std::string key = SelectedDayKey();
    if (months >= 2)
        states[1] = core::NoteDaysOfMonth(notes, key.substr(key.size() - 4));
    control.Send(MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
}

void CalendarView::Repaint() const
{
    InvalidateRect(control.Handle(), nullptr, FALSE);
}
