// The program's one menu: the main popup and its five submenus, with the radio marks of the
// settings and the clock's preset formats as the Time items' texts.
#pragma once

#include <windows.h>

#include <string>

#include "core/CalendarSettings.h"
#include "framework/Handles.h"

class WindowMenu {
public:
    // Builds the menu with the marks and the layout item of `settings`.
    void BuildMenus(const core::CalendarSettings& settings);
    // Opens the menu at a screen point; its commands come back as WM_COMMAND to `owner`.
    void TrackMainMenu(HWND owner, POINT screenPoint, bool firstSelected) const;

    // Moves the radio mark of the group of command `id` to it.
    void MarkColor(UINT id) const;
    void MarkStyle(UINT id) const;
    void MarkTime(UINT id) const;
    void MarkTitle(UINT id) const;
    // Checks "Start with Windows" when the program starts at logon.
    void MarkStartWithWindows(bool on) const;
    // The layout item offers the layout the window is not in.
    void ShowLayout(int fullLayout) const;
    // The clock format of preset `id`: the text of its Time item; empty when there is none.
    std::string PresetFormat(int id) const;

    HMENU Handle() const { return mainMenu.Get(); }

private:
    fw::CMenu mainMenu;
    // The submenus belong to the main menu, which destroys them with itself.
    HMENU timeMenu = nullptr;
    HMENU colorMenu = nullptr;
    HMENU styleMenu = nullptr;
    HMENU titleMenu = nullptr;
    HMENU fontMenu = nullptr;
    HMENU notesMenu = nullptr;
};
