// Bringing the whole window into line with the settings record at start.
#include "appearance/Fonts.h"
#include "window/CalendarWindow.h"

void CalendarWindow::ApplySettings(core::CalendarSettings& record)
{
    PlaceWindow(record);
    KeepCalendarColors();
    ApplyColorScheme(record.colorScheme);
    ApplyWindowShape(record.shape);
    titleFontObject = CreateFontFrom(record.titleFont);
    notesFontObject = CreateFontFrom(record.notesFont);
    notesEdit.Send(WM_SETFONT, reinterpret_cast<WPARAM>(notesFontObject.Get()), TRUE);
    notesEdit.SetText(dayNotes.Lookup(SelectedDayKey()));
    Repaint();
}
