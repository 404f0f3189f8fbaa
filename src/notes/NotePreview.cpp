// Previewing a day's note in a tooltip over the month calendar.
#include "notes/NotePreview.h"

#include <commctrl.h>

#include "core/DayKey.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "framework/WinApp.h"

namespace {

TOOLINFOW ToolOf(HWND calendar)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = calendar;
    tool.uId = reinterpret_cast<UINT_PTR>(calendar);
    return tool;
}

}  // namespace


void NotePreview::Watch(HWND calendar)
{
    Attach(calendar);
    // Without the subclass the calendar works as ever, only without previews.
    if (const DWORD error = Subclass(); error != ERROR_SUCCESS)
        fw::CWinApp::Current().ReportFailure(GetParent(calendar), "show the notes of the days the mouse rests on",
                                             fw::SystemMessage(error));
}

// The tooltip is made for the first preview, not with the window: a start without a pointer
// resting on a day, most of them, never needs it.
bool NotePreview::MakeTooltip()
{
    if (tooltip)
        return true;
    tooltip.Attach(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle, nullptr,
                                   fw::CWinApp::Current().Instance(), nullptr));
    if (!tooltip)
        return false;
    TOOLINFOW tool = ToolOf(handle);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip.Get(), TTM_SETMAXTIPWIDTH, 0, 320);
    return true;
}

const fw::MessageTable<NotePreview> NotePreview::messageTable = {
    fw::On<WM_MOUSEMOVE, &NotePreview::OnMouseMove>(),
    fw::On<WM_TIMER, &NotePreview::OnTimer>(),
    fw::On<WM_MOUSELEAVE, &NotePreview::OnMouseLeave>(),
    fw::On<WM_MOUSEWHEEL, &NotePreview::OnMouseWheel>(),
    fw::On<WM_LBUTTONDOWN, &NotePreview::OnMouseAction>(),
    fw::On<WM_RBUTTONDOWN, &NotePreview::OnMouseAction>(),
    fw::On<WM_KEYDOWN, &NotePreview::OnKeyDown>(),
};

std::wstring NotePreview::Excerpt(const std::string& note)
{
    const std::wstring text = fw::Widen(note);
    std::wstring excerpt;
    std::size_t lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (excerpt.size() == MAX_CHARACTERS || (text[i] == L'\n' && lines == MAX_LINES))
            return excerpt + L"\u2026";
        if (text[i] == L'\n')
            ++lines;
        if (text[i] != L'\r')
            excerpt += text[i];
    }
    return excerpt;
}

// Moving inside one cell changes nothing. A cell with a note to preview hides the tooltip
// and waits for the pointer to rest there; any other cell ends the preview. The pointer's
// leaving is watched only while a preview waits or shows: Wine watches it by polling the
// pointer, which a pointer resting over the calendar would otherwise pay for all day.
fw::Result NotePreview::OnMouseMove(UINT, POINT point)
{
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof hit;
    hit.pt = point;
    Send(MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const bool onDay = hit.uHit == MCHT_CALENDARDATE || hit.uHit == MCHT_CALENDARDATEPREV ||
                       hit.uHit == MCHT_CALENDARDATENEXT;
    const std::string key = onDay ? core::DayKeyFromDate(hit.st.wYear, hit.st.wMonth, hit.st.wDay) : std::string();
    if (key.empty() || key == shownDayKey || core::IsBlankText(notes.Lookup(key))) {
        if (!restingKey.empty())
            Hide();
        return fw::Default;
    }
    if (key == restingKey)
        return fw::Default;
    Hide();
    restingKey = key;
    restingDate = hit.st;
    restingPoint = point;
    WatchLeaving(TME_LEAVE);
    SetTimer(handle, REST_TIMER_ID, REST_MS, nullptr);
    return fw::Default;
}

fw::Result NotePreview::OnTimer(UINT_PTR timerId)
{
    if (timerId != REST_TIMER_ID)
        return fw::Default;
    KillTimer(handle, REST_TIMER_ID);
    if (restingKey.empty() || restingKey == shownDayKey || !MakeTooltip())
        return fw::Done();
    wchar_t title[100] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &restingDate, nullptr, title, 100, nullptr);
    std::wstring text = Excerpt(notes.Lookup(restingKey));
    TOOLINFOW tool = ToolOf(handle);
    tool.lpszText = text.data();
    SendMessageW(tooltip.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip.Get(), TTM_SETTITLEW, TTI_NONE, reinterpret_cast<LPARAM>(title));
    POINT below{restingPoint.x + 12, restingPoint.y + 18};
    ClientToScreen(handle, &below);
    SendMessageW(tooltip.Get(), TTM_TRACKPOSITION, 0, MAKELPARAM(below.x, below.y));
    SendMessageW(tooltip.Get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    return fw::Done();
}

// Leaving the calendar, a click, a key or the wheel ends the preview; the next move over a
// day starts afresh.
fw::Result NotePreview::OnMouseLeave()
{
    Hide();
    return fw::Default;
}

fw::Result NotePreview::OnMouseWheel(short)
{
    Hide();
    return fw::Default;
}

fw::Result NotePreview::OnMouseAction(UINT, POINT)
{
    Hide();
    return fw::Default;
}

fw::Result NotePreview::OnKeyDown(UINT)
{
    Hide();
    return fw::Default;
}

void NotePreview::Hide()
{
    // A preview waits or shows exactly while there is a resting cell.
    if (!restingKey.empty())
        WatchLeaving(TME_LEAVE | TME_CANCEL);
    restingKey.clear();
    KillTimer(handle, REST_TIMER_ID);
    if (!tooltip)
        return;
    TOOLINFOW tool = ToolOf(handle);
    SendMessageW(tooltip.Get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void NotePreview::WatchLeaving(DWORD flags)
{
    TRACKMOUSEEVENT leave{sizeof leave, flags, handle, 0};
    TrackMouseEvent(&leave);
}
