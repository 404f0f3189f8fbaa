// The notes box, its day and the text it goes on from.
#include "notes/NoteBox.h"

#include <oleacc.h>

#include "core/Appearance.h"
#include "core/DayKey.h"
#include "core/NotesMerge.h"
#include "framework/Accessible.h"
#include "framework/SystemTime.h"
#include "framework/Colors.h"
#include "framework/SystemLibraries.h"
#include "resources/ResourceIds.h"

void NoteBox::Bind(fw::DataExchange& exchange)
{
    exchange.Control(IDC_NOTES, edit);
}

void NoteBox::SetFont(HFONT font)
{
    edit.Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void NoteBox::SetColors(const core::Palette& palette)
{
    textColor = fw::ColorRef(palette.notesText);
    backgroundColor = fw::ColorRef(palette.notesBackground);
    background = fw::CBrush(palette.ownBoxColors ? CreateSolidBrush(backgroundColor) : nullptr);
    // The scroll bars have no colour of their own: the system's dark Explorer theme has dark
    // ones, where there is such a theme. Only a box once made dark is given its theme back.
    if (palette.darkFrames != darkScrollBars) {
        fw::SetWindowTheme(edit.Handle(), palette.darkFrames ? L"DarkMode_Explorer" : nullptr, nullptr);
        darkScrollBars = palette.darkFrames;
    }
    if (IsWindowVisible(edit.Handle()))
        RedrawWindow(edit.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

HBRUSH NoteBox::PaintColors(HDC dc) const
{
    if (!background)
        return nullptr;
    SetTextColor(dc, textColor);
    SetBkColor(dc, backgroundColor);
    return background.Get();
}

void NoteBox::Lengthen(int dpi)
{
    RECT box = edit.RectInParent();
    box.bottom += core::Scaled(NOTES_EXTRA_HEIGHT, dpi);
    edit.Move(box);
}

void NoteBox::FollowCalendar(SIZE growth)
{
    RECT box = edit.RectInParent();
    OffsetRect(&box, 0, growth.cy);
    box.right += growth.cx;
    edit.Move(box);
}

void NoteBox::SetShownDay(const std::string& dayKey)
{
    ShowsDay(dayKey);
    journaledShownDay = false;
}

void NoteBox::ShowDay(const std::string& dayKey)
{
    Show(notes.Lookup(dayKey));
    ShowsDay(dayKey);
}

void NoteBox::ShowsDay(const std::string& dayKey)
{
    const bool changed = dayKey != shownDayKey;
    shownDayKey = dayKey;
    if (changed)
        fw::TellNameChanged(edit.Handle());
}

void NoteBox::Describe()
{
    fw::DescribeToAssistiveTechnology(edit.Handle(), {[this] { return AccessibleName(); }, ROLE_SYSTEM_TEXT, {}, {}});
}

// "Note for " and the shown day in the user's long date format.
std::wstring NoteBox::AccessibleName() const
{
    core::LocalTime today;
    core::CalendarDate date;
    SYSTEMTIME day{};
    FILETIME moment{};
    wchar_t text[128];
    if (!fw::TimeSource().ToLocal(fw::TimeSource().Now(), today) || !core::DateOfDayKey(shownDayKey, today.year, date))
        return L"Note";
    day.wYear = static_cast<WORD>(date.year);
    day.wMonth = static_cast<WORD>(date.month);
    day.wDay = static_cast<WORD>(date.day);
    // The round trip fills in the day of the week.
    if (!SystemTimeToFileTime(&day, &moment) || !FileTimeToSystemTime(&moment, &day) ||
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &day, nullptr, text, 128) <= 0)
        return L"Note";
    return std::wstring(L"Note for ") + text;
}

void NoteBox::Show(const std::string& text)
{
    showingNote = true;
    edit.ShowText(text);
    showingNote = false;
    shownBaseText = text;
}

// While the box was edited, the shown day may have changed elsewhere and been merged into the
// store: the box's text and that one then merge as any two changes of a day do.
std::string NoteBox::CommitText() const
{
    const std::string text = Text();
    const std::string* stored = notes.Find(shownDayKey);
    const std::string& now = stored ? *stored : std::string();
    if (now == shownBaseText || (core::IsBlankText(now) && core::IsBlankText(shownBaseText)))
        return text;
    return core::MergeDayText(shownBaseText, text, now);
}

bool NoteBox::Changes(const std::string& text) const
{
    const std::string* before = journaledShownDay ? &journaledText : notes.Find(shownDayKey);
    return before ? *before != text && !(core::IsBlankText(*before) && core::IsBlankText(text))
                  : !core::IsBlankText(text);
}

void NoteBox::Committed(const std::string& text)
{
    if (text != Text())
        Show(text);
    shownBaseText = text;
    journaledShownDay = false;
    journaledText.clear();
}

void NoteBox::Journaled(const std::string& text)
{
    journaledText = text;
    journaledShownDay = true;
}
