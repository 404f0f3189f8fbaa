// The calendar window: construction, initialisation, message table, clock timer and closing.
#include "window/CalendarWindow.h"

#include <commctrl.h>

#include "appearance/Fonts.h"
#include "core/DayKey.h"
#include "core/FormatMoment.h"
#include "core/SettingsFile.h"
#include "framework/Shell.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

CalendarWindow* theCalendarWindow = nullptr;

const fw::MessageEntry<CalendarWindow> CalendarWindow::messageTable[] = {
    fw::On<WM_SYSCOMMAND, &CalendarWindow::OnSysCommand>(),
    fw::On<WM_PAINT, &CalendarWindow::OnPaint>(),
    fw::On<WM_QUERYDRAGICON, &CalendarWindow::OnQueryDragIcon>(),
    fw::On<WM_MOUSEMOVE, &CalendarWindow::OnMouseMove>(),
    fw::On<WM_LBUTTONDOWN, &CalendarWindow::OnLButtonDown>(),
    fw::On<WM_LBUTTONUP, &CalendarWindow::OnLButtonUp>(),
    fw::On<WM_TIMER, &CalendarWindow::OnTimer>(),
    fw::OnMessage<CalendarWindow::TRAY_CALLBACK_MESSAGE, &CalendarWindow::OnTrayNotify>(),
    fw::OnNotify<IDC_CALENDAR, MCN_SELCHANGE, &CalendarWindow::OnCalendarSelChange>(),
    fw::On<WM_HELP, &CalendarWindow::OnHelpInfo>(),
    fw::On<WM_ENDSESSION, &CalendarWindow::OnEndSession>(),
    fw::On<WM_LBUTTONDBLCLK, &CalendarWindow::OnLButtonDblClk>(),
    fw::On<WM_CAPTURECHANGED, &CalendarWindow::OnCaptureChanged>(),
};

CalendarWindow::CalendarWindow(HWND parentWindow) : CDialog(IDD_CALENDAR_WINDOW, parentWindow)
{
    appIcon = LoadIconW(fw::CWinApp::Current().Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    theCalendarWindow = this;
}

CalendarWindow::~CalendarWindow()
{
    if (theCalendarWindow == this)
        theCalendarWindow = nullptr;
}

bool CalendarWindow::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A new taskbar (Explorer restarted) has forgotten every icon: ours comes back, without
    // the greeting.
    if (message == taskbarCreatedMessage && taskbarCreatedMessage != 0) {
        AddTrayIcon(false);
        result = 0;
        return true;
    }
    return fw::RunMessageTable(*this, messageTable, message, wParam, lParam, result);
}

void CalendarWindow::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_CALENDAR, calendarCtrl);
    exchange.Control(IDC_NOTES, notesEdit);
}

BOOL CalendarWindow::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddSystemMenuItems();
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

    dragging = false;
    settings.cornerEllipse = 15;
    titleHeight = TITLE_HEIGHT;
    textKey = core::faceNameKey;

    if (!LoadNotes())
        AddFirstRunNote();
    if (!LoadSettings(settings))
        SetDefaultSettings(settings);
    ApplySettings(settings);
    BuildMenus();
    LengthenNotesBox();

    measuredRect = ClientRect();
    titleStripRect = {0, 0, measuredRect.right, titleHeight};
    menuButtonRect = {0, 0, 17, titleHeight + 1};

    const core::Moment now = fw::TimeSource().Now();
    lastClockTime = now;
    shownDayKey = core::MakeDayKey(fw::TimeSource(), now);

    SetTimer(handle, CLOCK_TIMER_ID, CLOCK_PERIOD_MS, nullptr);
    AddTrayIcon(firstRun);
    RefreshNoteDays();

    calendarFont = CreateTahomaFont();
    calendarCtrl.Send(WM_SETFONT, reinterpret_cast<WPARAM>(calendarFont.Get()), TRUE);
    FitCalendar();
    // TRUE: the dialog manager gives the focus to the first control, the month calendar.
    return TRUE;
}

void CalendarWindow::AddSystemMenuItems()
{
    HMENU systemMenu = GetSystemMenu(handle, FALSE);
    if (!systemMenu)
        return;
    const wchar_t* text = nullptr;
    // A zero buffer length makes LoadString hand out a pointer into the resource itself.
    int length = LoadStringW(fw::CWinApp::Current().Instance(), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0)
        return;
    std::wstring about(text, static_cast<size_t>(length));
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, ID_ABOUTBOX, about.c_str());
}

void CalendarWindow::LengthenNotesBox()
{
    RECT box = notesEdit.RectInParent();
    box.bottom += NOTES_EXTRA_HEIGHT;
    notesEdit.Move(box, true);
}

// The strip repaints when the text of the current moment differs from the text of the
// moment last painted, both in the format of this tick. A hundred ticks fall in each second,
// and the same moment in the same format gives the same text, so each text is made once:
// the current moment's when the second or the format changes, the last painted one's when
// the format changes.
fw::Handling CalendarWindow::OnTimer(UINT_PTR timerId)
{
    if (timerId != CLOCK_TIMER_ID)
        return fw::Handling::Default;
    const core::Moment now = fw::TimeSource().Now();
    const std::string format = ClockFormat();
    if (now == clockCache.moment && format == clockCache.format && clockCache.valid)
        return fw::Handling::Default;
    if (format != clockCache.format || !clockCache.valid)
        clockCache.lastText = core::FormatMoment(fw::TimeSource(), lastClockTime, format);
    clockCache = {true, now, format, clockCache.lastText};
    const std::string text = core::FormatMoment(fw::TimeSource(), now, format);
    if (text != clockCache.lastText) {
        lastClockTime = now;
        clockCache.lastText = text;
        RedrawWindow(handle, &titleStripRect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return fw::Handling::Default;
}

bool CalendarWindow::OnCommand(UINT id, UINT notifyCode, HWND control)
{
    // While a dialog is open no command is carried out, not even a close.
    if (BringDialogForward())
        return true;
    // Only menu-style commands (notification code 0) are the program's own; after them the
    // command goes on to the default routing, which turns IDOK and IDCANCEL into the close
    // routines.
    if (notifyCode == 0 && !CommandDispatch(id))
        return true;
    return CDialog::OnCommand(id, notifyCode, control);
}

// The OK path: "Close", Enter outside the notes box, and the end of the session. A save
// that fails when the user closed the window is not silent: the user may retry, or cancel
// and keep the window open with every note still in memory.
void CalendarWindow::OnOK()
{
    RemoveTrayIcon();
    CommitShownNote();
    while (!SaveEverything() && !endingSession) {
        if (!AskToRetrySave()) {
            AddTrayIcon(false);
            return;
        }
    }
    CDialog::OnOK();
}

// The Cancel path: Escape and the window manager's close request. Nothing is written.
void CalendarWindow::OnCancel()
{
    RemoveTrayIcon();
    CDialog::OnCancel();
}

fw::Handling CalendarWindow::OnEndSession(bool)
{
    // Saved whether or not the session really ends: the notes are on disk before we return.
    // Nobody is there to answer a question now, so a failed save is not asked about.
    endingSession = true;
    OnOK();
    return fw::Handling::Default;
}

fw::Handling CalendarWindow::OnSysCommand(UINT command, LPARAM)
{
    if ((command & 0xFFF0) != ID_ABOUTBOX)
        return fw::Handling::Default;
    if (!BringDialogForward())
        ShowAboutBox();
    return fw::Handling::Done;
}

BOOL CalendarWindow::OnHelpInfo(const HELPINFO&)
{
    OpenHelp();
    return TRUE;
}

HICON CalendarWindow::OnQueryDragIcon()
{
    return appIcon;
}
