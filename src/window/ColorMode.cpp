// The window in the system's colour mode: the scheme's colours, light, dark or in high
// contrast, handed to every part that draws, and followed live as the system changes.
#include "window/CalendarWindow.h"

#include "framework/Colors.h"
#include "framework/DialogColors.h"
#include "framework/SystemLibraries.h"

void CalendarWindow::ApplyColorScheme(int index)
{
    look.ApplyColorScheme(index);
    ApplyPalette();
}

void CalendarWindow::ApplyPalette()
{
    const core::Palette& palette = look.Colors();
    notesPanel.Calendar().SetColors(palette.calendar);
    notesPanel.Box().SetColors(palette);
    fw::SetDialogColors({palette.ownBoxColors, fw::ColorRef(palette.dialogBackground), fw::ColorRef(palette.dialogText),
                         fw::ColorRef(palette.dialogLink), palette.darkFrames});
    if (palette.darkFrames != darkMenus) {
        fw::UseDarkMenus(palette.darkFrames);
        darkMenus = palette.darkFrames;
    }
}

// Nothing the user chose changes, so nothing is saved: the scheme stays the one chosen.
void CalendarWindow::FollowSystemColors()
{
    if (!look.FollowSystem())
        return;
    ApplyPalette();
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The app mode's broadcast ("ImmersiveColorSet") and high contrast's (SPI_SETHIGHCONTRAST)
// both come as a setting change; any other change leaves the palette as it is.
fw::Result CalendarWindow::OnSettingChange(UINT, const wchar_t*)
{
    FollowSystemColors();
    return fw::Default;
}

fw::Result CalendarWindow::OnSysColorChange()
{
    FollowSystemColors();
    return fw::Default;
}

// The app mode's value written without a broadcast.
fw::Result CalendarWindow::OnColorModeChanged(WPARAM, LPARAM)
{
    FollowSystemColors();
    return fw::Done();
}
