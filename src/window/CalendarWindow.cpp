// The calendar window: construction, initialisation, the message table, the clock and closing.
#include "window/CalendarWindow.h"

#include <commctrl.h>

#include <new>
#include <utility>

#include "core/DayKey.h"
#include "core/FormatMoment.h"
#include "framework/DialogLayout.h"
#include "framework/SystemLibraries.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"
#include "settings/DataFilePath.h"

// The window's own messages, then its parts', then the close commands of every dialog.
const fw::MessageTable<CalendarWindow> CalendarWindow::messageTable = {
    fw::OnCommands<0, 0xFFFF, &CalendarWindow::OnCommand>(),
    fw::On<WM_SYSCOMMAND, &CalendarWindow::OnSysCommand>(),
    fw::On<WM_PAINT, &CalendarWindow::OnPaint>(),
    fw::On<WM_QUERYDRAGICON, &CalendarWindow::OnQueryDragIcon>(),
    fw::On<WM_LBUTTONDOWN, &CalendarWindow::OnLButtonDown>(),
    fw::On<WM_LBUTTONDBLCLK, &CalendarWindow::OnLButtonDblClk>(),
    fw::OnTimer<CalendarWindow::CLOCK_TIMER_ID, &CalendarWindow::OnClockTimer>(),
    fw::OnMessage<TRAY_CALLBACK_MESSAGE, &CalendarWindow::OnTrayNotify>(),
    fw::OnRegistered<&CalendarWindow::showRequest, &CalendarWindow::OnShowRequest>(),
    fw::On<WM_HELP, &CalendarWindow::OnHelpInfo>(),
    fw::On<WM_ENDSESSION, &CalendarWindow::OnEndSession>(),
    fw::On<WM_DPICHANGED, &CalendarWindow::OnDpiChanged>(),
    fw::OnMessage<NOTES_NOTICE_MESSAGE, &CalendarWindow::OnNotesNotice>(),
    fw::OnTimer<CalendarWindow::SHOWN_TIMER_ID, &CalendarWindow::OnShownTimer>(),
    fw::On<WM_DRAWITEM, &CalendarWindow::OnDrawItem>(),
    fw::OnMessage<WM_GETOBJECT, &CalendarWindow::OnGetObject>(),
    fw::On<WM_CONTEXTMENU, &CalendarWindow::OnContextMenu>(),
    fw::OnCommands<ID_OPEN_MENU, ID_OPEN_MENU, &CalendarWindow::OnKeyCommand>(),
    fw::OnCommands<ID_SWITCH_PANE, ID_SWITCH_PANE, &CalendarWindow::OnKeyCommand>(),
    fw::OnCommands<IDC_MENU_BUTTON, IDC_MENU_BUTTON, &CalendarWindow::OnKeyCommand>(),
    fw::On<WM_SETTINGCHANGE, &CalendarWindow::OnSettingChange>(),
    fw::On<WM_SYSCOLORCHANGE, &CalendarWindow::OnSysColorChange>(),
    fw::OnMessage<COLOR_MODE_CHANGED_MESSAGE, &CalendarWindow::OnColorModeChanged>(),
    fw::OnCommands<ID_COLOR_FIRST, ID_COLOR_COMMANDS_LAST, &CalendarWindow::OnColorCommand>(),
    fw::OnCommands<ID_STYLE_FIRST, ID_STYLE_COMMANDS_LAST, &CalendarWindow::OnStyleCommand>(),
    fw::OnCommands<ID_TIME_FIRST, ID_TIME_COMMANDS_LAST, &CalendarWindow::OnTimeCommand>(),
    fw::OnCommands<ID_TITLE_FIRST, ID_TITLE_COMMANDS_LAST, &CalendarWindow::OnTitleCommand>(),
    fw::OnCommands<ID_FONT_TITLE, ID_FONT_NOTES, &CalendarWindow::OnFontCommand>(),
    fw::OnCommands<ID_LAYOUT_TOGGLE, ID_CLOSE, &CalendarWindow::OnActionCommand>(),
    fw::OnCommands<ID_NOTES_OPEN_FOLDER, ID_NOTES_OPEN_FOLDER, &CalendarWindow::OnOpenFolderCommand>(),
    fw::OnCommands<ID_START_WITH_WINDOWS, ID_START_WITH_WINDOWS, &CalendarWindow::OnStartWithWindowsCommand>(),
    fw::Chain<&CalendarWindow::placement>(),
    fw::Chain<&CalendarWindow::notesPanel>(),
    fw::Chain<&CalendarWindow::tray>(),
    fw::ChainBase<fw::CDialog, CalendarWindow>(),
};

const UINT CalendarWindow::showRequest = RegisterWindowMessageW(L"Dayvane.ShowWindow");

CalendarWindow::CalendarWindow(HWND parentWindow) : MessageTarget(IDD_CALENDAR_WINDOW, parentWindow)
{
    appIcon = LoadIconW(fw::CWinApp::Current().Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void CalendarWindow::DoDataExchange(fw::DataExchange& exchange)
{
    notesPanel.Bind(exchange);
}

BOOL CalendarWindow::OnInitDialog()
{
    CDialog::OnInitDialog();
    placement.Attach(handle);
    look.Attach(handle);
    look.SetDpi(fw::DpiOfWindow(handle));
    // At 96 DPI the template's own layout is the design.
    if (look.Dpi() != core::DESIGN_DPI)
        LayOut(look.Dpi());
    AddSystemMenuItems();
    settings.cornerEllipse = 15;

    if (!notesPanel.LoadNotes(DataFileToRead(NOTES_FILE_NAME), DataFilePath(NOTES_FILE_NAME)))
        notesPanel.AddFirstRunNote();
    const bool recovered = notesPanel.RecoverNotes();
    // Sized before it is placed, outlined or given its strip's controls, so that each of
    // those is done once, for the window as it shows.
    GrowForCalendar();
    const core::LogicalFont baseFont = Look::BaseFont();
    if (!storage.LoadSettings(settings, baseFont))
        storage.SetDefaultSettings(settings, baseFont, placement.CentredOrigin());
    ApplySettings(settings);
    menu.BuildMenus(settings);
    notesPanel.Box().Lengthen(look.Dpi());

    placement.Measure();
    look.MeasureStrip();

    const core::Moment now = fw::TimeSource().Now();
    look.StartClock(now);
    notesPanel.Box().SetShownDay(core::MakeDayKey(fw::TimeSource(), now));

    // Without its timer the clock shows the moment the window opened.
    if (!SetTimer(handle, CLOCK_TIMER_ID, CLOCK_PERIOD_MS, nullptr))
        fw::CWinApp::Current().ReportFailure(handle, "start its clock", fw::SystemMessage(GetLastError()));
    // Notes recovered after an unexpected end matter more than a first run's welcome.
    greeting = recovered            ? NotifyIcon::Greeting::Recovered
               : storage.FirstRun() ? NotifyIcon::Greeting::Balloon
                                    : NotifyIcon::Greeting::None;
    notesPanel.RefreshNoteDays();
    keys.Install(handle, fw::CWinApp::Current().Instance(), IDR_MAINFRAME);
    DescribeParts();
    // The control with the focus shows it from the start, not only once a key has been used.
    Send(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    fw::CWinApp::Current().OnWindowReady(handle);
    // TRUE: the dialog manager gives the focus to the first control, the month calendar.
    return TRUE;
}

// Places the window, then brings colours, outline, fonts and the notes box into line with
// the record, and repaints once.
void CalendarWindow::ApplySettings(core::CalendarSettings& record)
{
    placement.PlaceWindow(record);
    // The stored corner may lie on a monitor of another scale than the one the window was
    // made on: the window takes that monitor's, whether or not the system said so.
    if (const int placedDpi = fw::DpiOfWindow(handle); placedDpi != look.Dpi()) {
        look.SetDpi(placedDpi);
        LayOut(placedDpi);
        GrowForCalendar();
    }
    notesPanel.Calendar().KeepColors();
    ApplyColorScheme(record.colorScheme);
    look.ApplyWindowShape(record.shape);
    look.CreateFonts();
    notesPanel.Box().SetFont(look.NotesFont());
    notesPanel.ShowSelectedNote();
    look.Repaint();
}

void CalendarWindow::ToggleLayout()
{
    settings.fullLayout = settings.fullLayout == 1 ? 0 : 1;
    menu.ShowLayout(settings.fullLayout);
    look.ApplyWindowShape(settings.shape);
}

// The calendar takes the room it asks for with its font; the window grows by as much. At 96 DPI
// a calendar that fits keeps the template's room; at another scale it gets exactly what it asks
// for, as the scaled template's room is no design. True when the window grew.
bool CalendarWindow::GrowForCalendar()
{
    const SIZE growth = notesPanel.FitCalendar(look.CalendarFont(), look.Dpi() != core::DESIGN_DPI);
    if (growth.cx == 0 && growth.cy == 0)
        return false;
    placement.Grow(growth);
    return true;
}

// The calendar's room, and the window's strip and outline with it.
void CalendarWindow::FitCalendar()
{
    if (!GrowForCalendar())
        return;
    look.MeasureStrip();
    look.ApplyWindowShape(settings.shape);
}

// The window and its controls at `dpi`: the template as the dialog manager lays it out at
// 96 DPI, every edge scaled. A template laid out at another DPI would not keep the 96-DPI
// design's proportions, since the dialog units follow the font's rounded metrics: the
// calendar would cover the bottom of a scaled strip.
void CalendarWindow::LayOut(int dpi)
{
    fw::DialogLayout design;
    if (!fw::LayOutTemplate(fw::CWinApp::Current().Instance(), IDD_CALENDAR_WINDOW, core::DESIGN_DPI, design))
        return;
    SetWindowPos(handle, nullptr, 0, 0, core::Scaled(design.size.cx, dpi), core::Scaled(design.size.cy, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [id, rect] : design.controls) {
        const int left = core::Scaled(rect.left, dpi), top = core::Scaled(rect.top, dpi);
        MoveWindow(GetDlgItem(handle, id), left, top, core::Scaled(rect.right, dpi) - left,
                   core::Scaled(rect.bottom, dpi) - top, FALSE);
    }
}

// At 96 DPI the program's icon as the system loads it; at another scale, made at that scale's
// size (a 96-DPI size) from the nearest image of the icon.
HICON CalendarWindow::IconAt(int size) const
{
    if (look.Dpi() == core::DESIGN_DPI)
        return nullptr;
    const int scaled = core::Scaled(size, look.Dpi());
    return static_cast<HICON>(LoadImageW(fw::CWinApp::Current().Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                         scaled, scaled, LR_DEFAULTCOLOR));
}

// The window lets go of the icons it showed only once it shows the new ones.
void CalendarWindow::ShowIcons()
{
    fw::CIcon big(IconAt(32)), small(IconAt(16));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big ? big.Get() : appIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small.Get() : appIcon));
    bigIcon = std::move(big);
    smallIcon = std::move(small);
}

// A move to a monitor of another scale, or a change of scale: the window takes the place the
// system suggests and is laid out, fonts and outline included, as a start at the new DPI.
fw::Result CalendarWindow::OnDpiChanged(int dpi, const RECT& suggested)
{
    if (dpi <= 0)
        return fw::Done();
    look.SetDpi(dpi);
    // While the window is being set up, the placement's move to another monitor is all there
    // is to follow: the rest of the initialisation works at the window's DPI from then on.
    if (!IsWindowVisible(handle)) {
        LayOut(dpi);
        return fw::Done();
    }
    LayOut(dpi);
    SetWindowPos(handle, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    notesPanel.Box().Lengthen(dpi);
    ShowIcons();
    look.CreateFonts();
    notesPanel.Box().SetFont(look.NotesFont());
    placement.Measure();
    look.MeasureStrip();
    look.ApplyWindowShape(settings.shape);
    FitCalendar();
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return fw::Done();
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

// The preset formats are the Time menu's item texts themselves.
std::string CalendarWindow::ClockFormat() const
{
    return settings.timeFormatId == ID_TIME_CUSTOM ? settings.customTimeFormat : menu.PresetFormat(settings.timeFormatId);
}

std::string CalendarWindow::ClockText() const
{
    return core::FormatMoment(fw::TimeSource(), fw::TimeSource().Now(), ClockFormat());
}

fw::Result CalendarWindow::OnClockTimer()
{
    // A window that the system never asked to paint gets its icons all the same.
    FinishShowing();
    look.UpdateClock(ClockFormat());
    return fw::Done();
}

fw::Result CalendarWindow::OnPaint()
{
    look.Paint(ClockText());
    FinishShowing();
    return fw::Done();
}

// The menu button opens the menu; a press anywhere else on the window's own surface goes on
// to the placement, which starts a drag.
fw::Result CalendarWindow::OnLButtonDown(UINT, POINT point)
{
    if (!PtInRect(&look.MenuButton(), point))
        return fw::Default;
    POINT below{0, look.MenuButton().bottom};
    ClientToScreen(handle, &below);
    OpenMenu(below);
    return fw::Done();
}

fw::Result CalendarWindow::OnLButtonDblClk(UINT, POINT point)
{
    if (PtInRect(&look.TitleStrip(), point))
        SendMessageW(handle, WM_COMMAND, MAKEWPARAM(ID_LAYOUT_TOGGLE, 0), 0);
    return fw::Default;
}

// The Run key is read as the menu opens, never earlier: the user or Task Manager may have
// changed it since.
void CalendarWindow::OpenMenu(POINT screenPoint, bool firstSelected)
{
    menu.MarkStartWithWindows(startup.IsOn());
    menu.TrackMainMenu(handle, screenPoint, firstSelected);
}

void CalendarWindow::OpenMenuUnderButton()
{
    POINT below{look.MenuButton().left, look.MenuButton().bottom};
    ClientToScreen(handle, &below);
    OpenMenu(below, true);
}

// F10, Shift+F10, the Apps key, and the menu button's click by key or by assistive
// technology open the menu; F6 and Shift+F6 move the focus between the calendar and the
// notes box. The caret stays where it was in the notes box: nothing is selected for the
// next key to replace.
fw::Result CalendarWindow::OnKeyCommand(UINT id)
{
    if (id == ID_SWITCH_PANE) {
        const HWND notes = notesPanel.Box().Handle();
        SetFocus(GetFocus() == notes ? notesPanel.Calendar().Handle() : notes);
    } else {
        OpenMenuUnderButton();
    }
    return fw::Done();
}

// The keyboard's request for a context menu; a click's goes on to the control's own menu.
fw::Result CalendarWindow::OnContextMenu(HWND, POINT screenPoint)
{
    if (screenPoint.x != -1 || screenPoint.y != -1)
        return fw::Default;
    OpenMenuUnderButton();
    return fw::Done();
}

fw::Result CalendarWindow::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    look.DrawControl(item, ClockText());
    return fw::Done(TRUE);
}

fw::Result CalendarWindow::OnGetObject(WPARAM flags, LPARAM objectId)
{
    const LRESULT object = accessible.Answer(handle, flags, objectId);
    return object ? fw::Done(object) : fw::Default;
}

// The window answers for itself in its table; its controls, whose messages are few, through
// subclasses.
void CalendarWindow::DescribeParts()
{
    fw::DescribeToAssistiveTechnology(notesPanel.Calendar().Handle(),
                                      {[] { return std::wstring(L"Calendar"); }, 0, {}, {}});
    notesPanel.Box().Describe();
}

// A right click opens the menu on the button's release; a left press brings the window
// forward.
fw::Result CalendarWindow::OnTrayNotify(WPARAM, LPARAM mouseMessage)
{
    if (BringDialogForward())
        return fw::Done();
    POINT cursor{};
    GetCursorPos(&cursor);
    if (mouseMessage == WM_RBUTTONUP)
        OpenMenu(cursor);
    else if (mouseMessage == WM_LBUTTONDOWN)
        SetForegroundWindow(handle);
    return fw::Done();
}

// Another start of the program on the same data folder ended without a window of its own:
// whoever started it gets this one, as after a click on the tray icon.
fw::Result CalendarWindow::OnShowRequest(WPARAM, LPARAM)
{
    return OnTrayNotify(0, WM_LBUTTONDOWN);
}

fw::Result CalendarWindow::OnSysCommand(UINT command)
{
    if ((command & 0xFFF0) != ID_ABOUTBOX)
        return fw::Default;
    if (!BringDialogForward())
        ShowAboutBox();
    return fw::Done();
}

fw::Result CalendarWindow::OnHelpInfo(const HELPINFO&)
{
    OpenHelp();
    return fw::Done(TRUE);
}

fw::Result CalendarWindow::OnQueryDragIcon()
{
    return fw::Done(reinterpret_cast<LRESULT>(appIcon));
}

// The OK path: "Close", Enter outside the notes box, and the end of the session. A save
// that fails when the user closed the window is not silent: the user may retry, or cancel
// and keep the window open with every note still in memory.
void CalendarWindow::OnOK()
{
    tray.RemoveTrayIcon();
    notesPanel.CommitShownNote();
    while (!SaveEverything() && !endingSession) {
        if (!AskToRetrySave()) {
            tray.AddTrayIcon(handle, trayImage ? trayImage.Get() : appIcon, NotifyIcon::Greeting::None);
            return;
        }
    }
    CDialog::OnOK();
}

// The Cancel path: Escape and the window manager's close request. Nothing is written, and
// this run's changes to the notes are given up with their journal.
void CalendarWindow::OnCancel()
{
    tray.RemoveTrayIcon();
    notesPanel.DiscardJournal();
    CDialog::OnCancel();
}

fw::Result CalendarWindow::OnEndSession(bool)
{
    // Saved whether or not the session really ends: the notes are on disk before we return.
    // Nobody is there to answer a question now, so a failed save is not asked about.
    endingSession = true;
    OnOK();
    return fw::Default;
}

// The window's icons and the tray icon come once the window has painted: under Wine each icon
// costs some milliseconds, and the shell's library even more to load, none of which the first
// frame needs. The tray icon comes last, so that a window that has it has ended its start.
// While the shell is called, messages sent to the window are handled: the start counts as
// ended only once every call has returned.
fw::Result CalendarWindow::OnShownTimer()
{
    KillTimer(handle, SHOWN_TIMER_ID);
    ShowIcons();
    trayImage.Attach(IconAt(16));
    tray.AddTrayIcon(handle, trayImage ? trayImage.Get() : appIcon, greeting);
    // A journal that could not be read is told in the balloon, over any greeting.
    OnNotesNotice(0, 0);
    started = true;
    return fw::Done();
}

// Once, after the first paint, the icons wait for the window to go idle, which is when
// the system puts its first frame on the screen: a timer comes after the window's and its
// controls' paints, and after whatever the queue held.
void CalendarWindow::FinishShowing()
{
    if (firstFramePainted)
        return;
    firstFramePainted = true;
    if (!SetTimer(handle, SHOWN_TIMER_ID, USER_TIMER_MINIMUM, nullptr))
        OnShownTimer();
}

// The journal's trouble is told beside the tray icon, so that typing goes on undisturbed. A
// notice that comes before the icon waits in the panel until the icon tells it.
fw::Result CalendarWindow::OnNotesNotice(WPARAM, LPARAM)
{
    if (!tray.Record().hWnd)
        return fw::Done();
    if (const std::string notice = notesPanel.TakeJournalNotice(); !notice.empty())
        tray.Tell(notice);
    return fw::Done();
}

// Both files, the settings first; each is tried even when the other failed. A save that
// throws (memory ran out making the file's bytes) failed like one the disk refused.
bool CalendarWindow::SaveEverything()
{
    saveFailures.clear();
    placement.StorePosition(settings);
    const auto attempt = [this](const char* fileName, const auto& save) {
        try {
            return save();
        } catch (const std::bad_alloc&) {
            saveFailures.push_back({DataFilePath(fileName), ERROR_NOT_ENOUGH_MEMORY});
        } catch (...) {
            saveFailures.push_back({DataFilePath(fileName), ERROR_INTERNAL_ERROR});
        }
        return false;
    };
    const bool settingsSaved = attempt(SETTINGS_FILE_NAME, [&] { return storage.SaveSettings(settings, saveFailures); });
    const bool notesSaved = attempt(NOTES_FILE_NAME, [&] { return notesPanel.SaveNotes(saveFailures); });
    return settingsSaved && notesSaved;
}

bool CalendarWindow::AskToRetrySave()
{
    std::string text = saveFailures.size() == 1 ? "Dayvane could not save this file:" : "Dayvane could not save these files:";
    for (const fw::FileFailure& failure : saveFailures)
        text += "\n\n" + fw::Narrow(failure.path) + "\n" + fw::SystemMessage(failure.error);
    text += "\n\nChoose Retry to try again, or Cancel to keep Dayvane open with your notes.";
    return MessageBoxW(handle, fw::Widen(text).c_str(), L"Dayvane", MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}
