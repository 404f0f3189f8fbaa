// The menu's commands: each changes one setting, re-applies what it drives, moves its
// radio mark and repaints.
#include "window/CalendarWindow.h"

#include "appearance/CTimeDlg.h"
#include "framework/CommonDialogs.h"
#include "framework/Fonts.h"
#include "framework/Shell.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "settings/DataFilePath.h"
#include "ui/AboutDialog.h"

// While a dialog is open no command is carried out, not even a close. Otherwise the command
// goes on to its entry in the table.
fw::Result CalendarWindow::OnCommand(UINT)
{
    return BringDialogForward() ? fw::Done() : fw::Default;
}

fw::Result CalendarWindow::OnColorCommand(UINT id)
{
    ApplyColorScheme(static_cast<int>(id) - ID_COLOR_FIRST);
    menu.MarkColor(id);
    look.Repaint();
    return fw::Done();
}

fw::Result CalendarWindow::OnStyleCommand(UINT id)
{
    look.ApplyWindowShape(static_cast<int>(id) - ID_STYLE_FIRST);
    menu.MarkStyle(id);
    look.Repaint();
    return fw::Done();
}

fw::Result CalendarWindow::OnTimeCommand(UINT id)
{
    if (id == ID_TIME_CUSTOM && EditCustomFormat() != IDOK)
        return fw::Done();
    settings.timeFormatId = static_cast<int>(id);
    menu.MarkTime(id);
    look.Repaint();
    return fw::Done();
}

fw::Result CalendarWindow::OnTitleCommand(UINT id)
{
    settings.titleGradient = static_cast<int>(id) - ID_TITLE_FIRST;
    menu.MarkTitle(id);
    look.Repaint();
    return fw::Done();
}

fw::Result CalendarWindow::OnFontCommand(UINT id)
{
    if (id == ID_FONT_TITLE) {
        ChooseFontFor(settings.titleFont);
        look.RemakeTitleFont();
        look.Repaint();
    } else {
        ChooseFontFor(settings.notesFont);
        look.RemakeNotesFont();
        notesPanel.Box().SetFont(look.NotesFont());
    }
    return fw::Done();
}

// The commands that start something rather than change a setting.
fw::Result CalendarWindow::OnActionCommand(UINT id)
{
    switch (id) {
    case ID_LAYOUT_TOGGLE:
        ToggleLayout();
        break;
    case ID_HELP_FILE:
        OpenHelp();
        break;
    case ID_ABOUT:
        ShowAboutBox();
        break;
    case ID_CLOSE:
        OnOK();
        break;
    default:
        break;
    }
    return fw::Done();
}

fw::Result CalendarWindow::OnOpenFolderCommand(UINT)
{
    fw::ShellOpen(fw::Narrow(DataFolder()), SW_SHOWNORMAL);
    return fw::Done();
}

// A refused change is shown with the system's reason; the entry is then as it was.
fw::Result CalendarWindow::OnStartWithWindowsCommand(UINT)
{
    const DWORD error = startup.Toggle();
    if (error != ERROR_SUCCESS) {
        const std::string text =
            "Dayvane could not change whether it starts with Windows:\n\n" + fw::SystemMessage(error);
        MessageBoxW(handle, fw::Widen(text).c_str(), L"Dayvane", MB_OK | MB_ICONWARNING);
    }
    return fw::Done();
}

INT_PTR CalendarWindow::EditCustomFormat()
{
    CTimeDlg dialog(handle, settings.customTimeFormat);
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        settings.customTimeFormat = dialog.Format();
    return result;
}

// The picker starts from the setting, and its font record is copied back when the user
// chose "OK". After Cancel the setting stays as it was: some pickers (Wine's among them)
// write a substitute into the record when the setting's face is not installed. The
// picker's colour is not used.
// The dialog shows and gives sizes at the window's DPI; the record keeps them at 96.
void CalendarWindow::ChooseFontFor(core::LogicalFont& font)
{
    LOGFONTW record = ToLogFont(core::FontAtDpi(font, look.Dpi()));
    CHOOSEFONTW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = handle;
    choice.lpLogFont = &record;
    choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (fw::RunFontDialog(choice))
        font = core::FontAtDesignDpi(FromLogFont(record), look.Dpi());
}

// The help file beside the program file, so that help opens whatever the current folder.
void CalendarWindow::OpenHelp()
{
    fw::ShellOpen(fw::Narrow(ProgramFilePath("Help.chm")), SW_SHOWNORMAL);
}

void CalendarWindow::ShowAboutBox()
{
    AboutDialog(handle).DoModal();
}

// Every dialog of the program is owned by this window, which the dialog disables while it is
// open. Then nothing may start a second one, or close the window under it: a click on the
// tray icon, or a command that still arrives, brings the open dialog forward instead.
bool CalendarWindow::BringDialogForward()
{
    if (IsWindowEnabled(handle))
        return false;
    const HWND dialog = GetLastActivePopup(handle);
    SetForegroundWindow(dialog ? dialog : handle);
    return true;
}
