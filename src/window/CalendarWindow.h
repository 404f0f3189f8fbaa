// The calendar window: the program's one visible window and the owner of all its state.
//
// Its operations are grouped by concern: window/ holds initialisation, the timer, the
// close routines and moving; settings/ the settings record's storage; appearance/ the
// painting and fonts.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/CalendarSettings.h"
#include "core/Moment.h"
#include "core/NoteStore.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "framework/MessageMap.h"

class CalendarWindow : public fw::CDialog {
public:
    static constexpr UINT_PTR CLOCK_TIMER_ID = 1;
    static constexpr UINT CLOCK_PERIOD_MS = 10;
    static constexpr int TITLE_HEIGHT = 23;
    static constexpr int NOTES_EXTRA_HEIGHT = 13;
    static constexpr UINT TRAY_CALLBACK_MESSAGE = 117;
    static constexpr UINT TRAY_ICON_ID = 118;

    explicit CalendarWindow(HWND parentWindow = nullptr);
    ~CalendarWindow() override;

protected:
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static const fw::MessageEntry<CalendarWindow> messageTable[];

    // Message handlers
    fw::Handling OnSysCommand(UINT command, LPARAM position);
    void OnPaint();
    HICON OnQueryDragIcon();
    fw::Handling OnMouseMove(UINT keyFlags, POINT point);
    fw::Handling OnLButtonDown(UINT keyFlags, POINT point);
    fw::Handling OnLButtonUp(UINT keyFlags, POINT point);
    fw::Handling OnTimer(UINT_PTR timerId);
    LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    LRESULT OnCalendarSelChange(const NMHDR& header);
    BOOL OnHelpInfo(const HELPINFO& info);
    fw::Handling OnEndSession(bool ending);
    fw::Handling OnLButtonDblClk(UINT keyFlags, POINT point);
    fw::Handling OnCaptureChanged(HWND newCapture);

    // Carries out a menu command; false when the command must not go on to the default
    // routing (a cancelled custom clock format).
    bool CommandDispatch(UINT id);
    void ChooseFontFor(core::LogicalFont& font, fw::CFont& fontObject);
    void OpenHelp();
    void AddSystemMenuItems();
    void LengthenNotesBox();

    // Moving and placement
    void PlaceWindow(core::CalendarSettings& record);
    void FitCalendar();
    void StorePosition(core::CalendarSettings& record);

    // Settings
    bool LoadSettings(core::CalendarSettings& record);
    void SetDefaultSettings(core::CalendarSettings& record);
    bool SaveSettings(core::CalendarSettings& record);
    void ApplySettings(core::CalendarSettings& record);

    // Notes
    bool LoadNotes();
    void AddFirstRunNote();
    bool SaveNotes();
    void CommitShownNote();
    void RefreshNoteDays();
    std::string SelectedDayKey();
    bool KeepUnreadNotesFile(const std::wstring& path);

    // Closing
    bool SaveEverything();
    bool AskToRetrySave();

    // Menus, tray icon, About box
    void BuildMenus();
    void TrackMainMenu(POINT screenPoint);
    void AddTrayIcon(bool showBalloon);
    void RemoveTrayIcon();
    void ShowAboutBox();
    bool BringDialogForward();

    // Look
    void KeepCalendarColors();
    void ApplyColorScheme(int index);
    void ApplyWindowShape(int index);
    void ToggleLayout();
    void Repaint();

public:
    // The clock's format, and with `expand` the current moment formatted with it.
    std::string ClockFormat() const;
    std::string ClockText(bool expand) const;
    // The settings record, through which the time-format dialog reaches the custom format.
    core::CalendarSettings& Settings() { return settings; }
    HMENU MainMenu() const { return mainMenu.Get(); }
    const NOTIFYICONDATAW& TrayIcon() const { return trayIcon; }

private:

    HICON appIcon = nullptr;
    int titleHeight = 0;
    int textKey = 0;
    bool dragging = false;
    bool firstRun = false;
    fw::CPen midPen;
    fw::CPen darkPen;
    fw::CBrush midBrush;
    fw::CMonthCalCtrl calendarCtrl;
    core::CalendarSettings settings;
    // The window starts in the blue scheme's colours until the stored scheme is applied.
    COLORREF lightColor = RGB(200, 220, 250);
    COLORREF midColor = RGB(100, 120, 190);
    COLORREF darkColor = RGB(50, 50, 100);
    core::Moment lastClockTime = 0;
    fw::CEdit notesEdit;
    fw::CFont titleFontObject;
    fw::CFont notesFontObject;
    RECT measuredRect{};
    RECT titleStripRect{};
    RECT menuButtonRect{};
    fw::CMenu mainMenu;
    // The submenus belong to the main menu, which destroys them with itself.
    HMENU timeMenu = nullptr;
    HMENU colorMenu = nullptr;
    HMENU styleMenu = nullptr;
    HMENU titleMenu = nullptr;
    HMENU fontMenu = nullptr;
    POINT dragOffset{};
    NOTIFYICONDATAW trayIcon{};
    // Broadcast by the shell when the taskbar is created anew.
    const UINT taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    core::NoteStore dayNotes;
    std::string shownDayKey;
    fw::CFont calendarFont;

    // A file that could not be saved at close, and why.
    struct SaveFailure {
        std::wstring path;
        DWORD error;
    };
    std::vector<SaveFailure> saveFailures;
    // The notes file was there at start but could not be read: it is copied aside before
    // the first save over it.
    bool notesFileUnread = false;
    // The session is ending: saves are made without asking anything.
    bool endingSession = false;
    // What the clock timer worked out at its last tick: the moment and format it saw, and
    // the text of `lastClockTime` in that format.
    struct ClockCache {
        bool valid = false;
        core::Moment moment = 0;
        std::string format;
        std::string lastText;
    } clockCache;
};

// The one calendar window of the process, set by its constructor.
extern CalendarWindow* theCalendarWindow;
