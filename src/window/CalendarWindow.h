// The calendar window: the program's one visible window. It declares its parts, hands each
// message to the part that owns it, and coordinates them where a change touches several:
// initialisation, the menu's commands and closing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "appearance/Look.h"
#include "core/CalendarSettings.h"
#include "framework/Accessible.h"
#include "framework/Dialog.h"
#include "framework/Files.h"
#include "framework/KeyboardShortcuts.h"
#include "framework/MessageMap.h"
#include "notes/NotesPanel.h"
#include "settings/SettingsStorage.h"
#include "ui/NotifyIcon.h"
#include "ui/StartWithWindows.h"
#include "ui/WindowMenu.h"
#include "window/WindowPlacement.h"

class CalendarWindow : public fw::MessageTarget<CalendarWindow, fw::CDialog> {
public:
    static constexpr UINT_PTR CLOCK_TIMER_ID = 1;
    // Once, a moment after the first paint: the window's icons and the tray icon.
    static constexpr UINT_PTR SHOWN_TIMER_ID = 5;
    static constexpr UINT CLOCK_PERIOD_MS = 10;

    // Posted to the running copy's window by a later start on the same data folder: come
    // forward.
    static const UINT showRequest;

    explicit CalendarWindow(HWND parentWindow = nullptr);

    // The clock's format, and the current moment formatted with it.
    std::string ClockFormat() const;
    std::string ClockText() const;
    core::CalendarSettings& Settings() { return settings; }
    HMENU MainMenu() const { return menu.Handle(); }
    const NOTIFYICONDATAW& TrayIcon() const { return tray.Record(); }
    // The start has run to its end, the icons included, a moment after the first paint.
    bool Started() const { return started; }

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // The first step of every command and button click: while a dialog is open, only brings
    // it forward.
    fw::Result OnCommand(UINT id);
    // Runs the custom time-format dialog on the custom format; returns IDOK or IDCANCEL.
    INT_PTR EditCustomFormat();

private:
    friend fw::MessageTarget<CalendarWindow, fw::CDialog>;
    static const fw::MessageTable<CalendarWindow> messageTable;

    // The window's own messages
    fw::Result OnSysCommand(UINT command);
    fw::Result OnPaint();
    fw::Result OnQueryDragIcon();
    fw::Result OnLButtonDown(UINT keyFlags, POINT point);
    fw::Result OnLButtonDblClk(UINT keyFlags, POINT point);
    fw::Result OnClockTimer();
    fw::Result OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    fw::Result OnShowRequest(WPARAM, LPARAM);
    fw::Result OnHelpInfo(const HELPINFO& info);
    fw::Result OnEndSession(bool ending);
    fw::Result OnDpiChanged(int dpi, const RECT& suggested);
    fw::Result OnNotesNotice(WPARAM, LPARAM);
    fw::Result OnShownTimer();
    void FinishShowing();
    fw::Result OnDrawItem(const DRAWITEMSTRUCT& item);
    fw::Result OnGetObject(WPARAM flags, LPARAM objectId);
    fw::Result OnContextMenu(HWND clicked, POINT screenPoint);

    // The system's colour mode (ColorMode.cpp)
    fw::Result OnSettingChange(UINT action, const wchar_t* area);
    fw::Result OnSysColorChange();
    fw::Result OnColorModeChanged(WPARAM, LPARAM);
    void FollowSystemColors();
    void ApplyPalette();

    // The menu's commands (Commands.cpp)
    fw::Result OnColorCommand(UINT id);
    fw::Result OnStyleCommand(UINT id);
    fw::Result OnTimeCommand(UINT id);
    fw::Result OnTitleCommand(UINT id);
    fw::Result OnFontCommand(UINT id);
    fw::Result OnActionCommand(UINT id);
    fw::Result OnOpenFolderCommand(UINT id);
    fw::Result OnStartWithWindowsCommand(UINT id);
    fw::Result OnKeyCommand(UINT id);
    void ChooseFontFor(core::LogicalFont& font);
    void OpenHelp();
    void ShowAboutBox();
    bool BringDialogForward();

    // Changes that touch several parts
    void ApplySettings(core::CalendarSettings& record);
    void ApplyColorScheme(int index);
    void ToggleLayout();
    bool GrowForCalendar();
    void FitCalendar();
    void LayOut(int dpi);
    void ShowIcons();
    HICON IconAt(int size) const;
    void AddSystemMenuItems();
    void OpenMenu(POINT screenPoint, bool firstSelected = false);
    // The menu under its button, its first item selected, for the keyboard.
    void OpenMenuUnderButton();
    // Names the window and its controls for assistive technology.
    void DescribeParts();

    // Closing
    bool SaveEverything();
    bool AskToRetrySave();

    HICON appIcon = nullptr;
    // The program's icon at the sizes of a scale other than 96 DPI: the window's two, and the
    // tray's, made once at the start's scale, as the tray keeps its icon for the run.
    fw::CIcon bigIcon;
    fw::CIcon smallIcon;
    fw::CIcon trayImage;
    core::CalendarSettings settings;
    SettingsStorage storage;
    WindowPlacement placement;
    Look look{settings};
    NotesPanel notesPanel;
    WindowMenu menu;
    NotifyIcon tray;
    StartWithWindows startup;
    fw::KeyboardShortcuts keys;
    fw::AccessibleWindow accessible{{[] { return std::wstring(L"Dayvane"); }, 0, {}, {}}};
    // The files that could not be saved at the last close, and why.
    std::vector<fw::FileFailure> saveFailures;
    // The session is ending: saves are made without asking anything.
    bool endingSession = false;
    // The menus have been given the dark variant, and are given the light one back.
    bool darkMenus = false;
    // What the tray icon says when it comes, once the window has painted for the first time.
    NotifyIcon::Greeting greeting = NotifyIcon::Greeting::None;
    bool firstFramePainted = false;
    bool started = false;
};
