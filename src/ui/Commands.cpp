// The menu's commands: each changes one setting, re-applies what it drives, moves its
// radio mark and repaints.
#include "window/CalendarWindow.h"

#include <commdlg.h>

#include "appearance/CTimeDlg.h"
#include "appearance/Fonts.h"
#include "framework/Shell.h"
#include "framework/Text.h"
#include "resources/ResourceIds.h"
#include "settings/DataFilePath.h"

namespace {

bool Within(UINT id, UINT first, UINT last)
{
    return id >= first && id <= last;
}

}  // namespace

bool CalendarWindow::CommandDispatch(UINT id)
{
    if (Within(id, 20, 29)) {
        ApplyColorScheme(static_cast<int>(id) - ID_COLOR_FIRST);
        CheckMenuRadioItem(colorMenu, 20, 25, id, MF_BYCOMMAND);
        Repaint();
    } else if (Within(id, 30, 34)) {
        ApplyWindowShape(static_cast<int>(id) - ID_STYLE_FIRST);
        CheckMenuRadioItem(styleMenu, 30, 35, id, MF_BYCOMMAND);
        Repaint();
    } else if (Within(id, 40, 48)) {
        if (id == ID_TIME_CUSTOM && CTimeDlg(handle).DoModal() == IDCANCEL)
            return false;
        settings.timeFormatId = static_cast<int>(id);
        CheckMenuRadioItem(timeMenu, 40, 46, id, MF_BYCOMMAND);
        Repaint();
    } else if (Within(id, 60, 68)) {
        settings.titleGradient = static_cast<int>(id) - ID_TITLE_FIRST;
        CheckMenuRadioItem(titleMenu, 60, 69, id, MF_BYCOMMAND);
        Repaint();
    } else if (id == ID_FONT_TITLE) {
        ChooseFontFor(settings.titleFont, titleFontObject);
        Repaint();
    } else if (id == ID_FONT_NOTES) {
        ChooseFontFor(settings.notesFont, notesFontObject);
        notesEdit.Send(WM_SETFONT, reinterpret_cast<WPARAM>(notesFontObject.Get()), TRUE);
    } else if (id == ID_LAYOUT_TOGGLE) {
        ToggleLayout();
    } else if (id == ID_HELP_FILE) {
        OpenHelp();
    } else if (id == ID_ABOUT) {
        ShowAboutBox();
    } else if (id == ID_CLOSE) {
        OnOK();
    }
    return true;
}

// The picker starts from the setting, and its font record is copied back when the user
// chose "OK". After Cancel the setting stays as it was: some pickers (Wine's among them)
// write a substitute into the record when the setting's face is not installed. The
// picker's colour is not used.
void CalendarWindow::ChooseFontFor(core::LogicalFont& font, fw::CFont& fontObject)
{
    LOGFONTW record = ToLogFont(font);
    CHOOSEFONTW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = handle;
    choice.lpLogFont = &record;
    choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (ChooseFontW(&choice))
        font = FromLogFont(record);
    fontObject = CreateFontFrom(font);
}

// The help file beside the program file, so that help opens whatever the current folder.
void CalendarWindow::OpenHelp()
{
    fw::ShellOpen(fw::Narrow(DataFilePath("Help.chm")), SW_SHOWNORMAL);
}
