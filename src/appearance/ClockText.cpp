// The clock's format and text.
#include "core/FormatMoment.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "window/CalendarWindow.h"

// The preset formats are the Time menu's item texts themselves, read back by identifier.
std::string CalendarWindow::ClockFormat() const
{
    if (settings.timeFormatId == ID_TIME_CUSTOM)
        return settings.customTimeFormat;
    wchar_t text[256];
    const int length = GetMenuStringW(timeMenu, static_cast<UINT>(settings.timeFormatId), text, 256, MF_BYCOMMAND);
    return length > 0 ? fw::Narrow(std::wstring_view(text, static_cast<std::size_t>(length))) : std::string();
}

std::string CalendarWindow::ClockText(bool expand) const
{
    if (!expand)
        return ClockFormat();
    return core::FormatMoment(fw::TimeSource(), fw::TimeSource().Now(), ClockFormat());
}
