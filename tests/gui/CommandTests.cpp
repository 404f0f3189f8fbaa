// The menu's commands, the tray icon and the menu button, run in-process: what each command
// changes, its radio mark, and what "Close" writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "ImportPatch.h"
#include "ProbeWindow.h"
#include "core/NotesJournal.h"
#include "core/Palette.h"
#include "framework/Colors.h"
#include "resources/ResourceIds.h"
#include "framework/Shell.h"

namespace {

bool Marked(HMENU menu, UINT id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void ClosePopup(HWND window)
{
    ProbeWindow::OnWindowThread(window, [] { EndMenu(); });
}

// Wine forgets SPI_SETHIGHCONTRAST at once: the program's question is answered here instead.
bool highContrast = false;
ImportPatch* systemParameters = nullptr;

BOOL WINAPI SystemParametersAnswered(UINT action, UINT number, void* data, UINT update)
{
    if (action == SPI_GETHIGHCONTRAST && highContrast) {
        static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        return TRUE;
    }
    return reinterpret_cast<decltype(&SystemParametersInfoW)>(systemParameters->Original())(action, number, data, update);
}

COLORREF ScreenPixelOf(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return gui::ScreenPixel(client);
}

}  // namespace

TEST(Commands, EachCommandChangesItsSettingAndMark)
{
    ProbeWindow probe;
    struct Seen {
        int scheme, shape, gradient, format;
        bool colorMark, styleMark, titleMark, timeMark;
        COLORREF calendarTitle, frame;
        bool cornerInRegion;
    };
    std::vector<Seen> seen;
    std::map<std::wstring, std::string> files;
    const UINT commands[][4] = {{22, 31, 61, 41}, {24, 32, 60, 45}, {24, 32, 60, 45}, {20, 30, 60, 40}};
    RunWindow(probe, [&](HWND window) {
        for (const auto& group : commands) {
            for (UINT id : group)
                SendMessageW(window, WM_COMMAND, id, 0);
            ProbeWindow::OnWindowThread(window, [&] {
                const core::CalendarSettings& s = probe.Settings();
                const HMENU menu = probe.MainMenu();
                seen.push_back({s.colorScheme, s.shape, s.titleGradient, s.timeFormatId,
                                Marked(GetSubMenu(menu, 2), group[0]), Marked(GetSubMenu(menu, 3), group[1]),
                                Marked(GetSubMenu(menu, 4), group[2]), Marked(GetSubMenu(menu, 5), group[3]),
                                static_cast<COLORREF>(SendMessageW(GetDlgItem(window, IDC_CALENDAR), MCM_GETCOLOR,
                                                                   MCSC_TITLEBK, 0)),
                                [&] {
                                    HDC dc = GetDC(window);
                                    const COLORREF pixel = GetPixel(dc, 0, 100);
                                    ReleaseDC(window, dc);
                                    return pixel;
                                }(),
                                [&] {
                                    HRGN region = CreateRectRgn(0, 0, 0, 0);
                                    GetWindowRgn(window, region);
                                    const bool inside = PtInRegion(region, 0, 0) != 0;
                                    DeleteObject(region);
                                    return inside;
                                }()});
            });
        }
        SendMessageW(window, WM_COMMAND, ID_COLOR_FIRST + 2, 0);
        SendMessageW(window, WM_COMMAND, ID_CLOSE, 0);
    }, nullptr, nullptr, &files);
    ASSERT_EQ(seen.size(), 4u);
    const int expected[][4] = {{2, 1, 1, 41}, {4, 2, 0, 45}, {4, 2, 0, 45}, {0, 0, 0, 40}};
    const COLORREF titles[] = {RGB(150, 90, 90), RGB(120, 120, 120), RGB(120, 120, 120), RGB(100, 120, 190)};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].scheme, expected[i][0]) << i;
        EXPECT_EQ(seen[i].shape, expected[i][1]) << i;
        EXPECT_EQ(seen[i].gradient, expected[i][2]) << i;
        EXPECT_EQ(seen[i].format, expected[i][3]) << i;
        EXPECT_TRUE(seen[i].colorMark && seen[i].styleMark && seen[i].titleMark && seen[i].timeMark) << i;
        EXPECT_EQ(seen[i].calendarTitle, titles[i]) << i;
        EXPECT_EQ(seen[i].frame, titles[i]) << i << ": the frame is painted in the middle colour";
        EXPECT_EQ(seen[i].cornerInRegion, expected[i][1] == 0) << i;
    }
    const core::CalendarSettings saved = gui::DecodeSettings(files[L"qor_info.dat"]);
    EXPECT_EQ(saved.colorScheme, 2);
    EXPECT_EQ(saved.timeFormatId, 40);
}

TEST(Commands, CustomFormatOkSelectsItAndEscapeKeepsThePreviousOne)
{
    ProbeWindow probe;
    std::vector<int> formats;
    std::vector<bool> customMarked;
    RunWindow(probe, [&](HWND window) {
        for (bool confirm : {false, true}) {
            PostMessageW(window, WM_COMMAND, ID_TIME_CUSTOM, 0);
            HWND dialog = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
            ASSERT_NE(dialog, nullptr);
            PostMessageW(dialog, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
            gui::WaitUntil([&] { return !IsWindow(dialog); });
            ProbeWindow::OnWindowThread(window, [&] {
                formats.push_back(probe.Settings().timeFormatId);
                customMarked.push_back(Marked(GetSubMenu(probe.MainMenu(), 5), 46));
            });
        }
    });
    EXPECT_EQ(formats, (std::vector<int>{43, 46}));
    EXPECT_EQ(customMarked, (std::vector<bool>{false, true}));
}

// While a dialog of the program is open, the window under it is disabled, and neither the
// tray icon nor a command that still arrives opens anything more: the dialog comes forward.
TEST(Commands, AnOpenDialogBlocksTheWindowAndNothingElseOpens)
{
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Message openers[] = {{WM_COMMAND, ID_ABOUT, 0}, {WM_SYSCOMMAND, ID_ABOUTBOX, 0}, {WM_COMMAND, ID_TIME_CUSTOM, 0},
                               {WM_COMMAND, ID_FONT_TITLE, 0}, {WM_COMMAND, ID_FONT_NOTES, 0}};
    const Message attempts[] = {{TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONUP}, {TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDOWN}, {WM_COMMAND, ID_TIME_CUSTOM, 0},
                                {WM_COMMAND, ID_ABOUT, 0},      {WM_SYSCOMMAND, ID_ABOUTBOX, 0},     {WM_COMMAND, ID_CLOSE, 0}};
    for (const Message& opener : openers) {
        SCOPED_TRACE(std::to_string(opener.message) + " " + std::to_string(opener.wParam));
        ProbeWindow probe;
        HWND calendar = nullptr, dialog = nullptr, owner = nullptr, foreground = nullptr;
        bool enabled = true, menuOpened = false;
        std::size_t windowsOpen = 0, windowsAfter = 0;
        RunWindow(probe, [&](HWND window) {
            calendar = window;
            PostMessageW(window, opener.message, opener.wParam, opener.lParam);
            dialog = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
            if (!dialog)
                return;
            owner = GetWindow(dialog, GW_OWNER);
            enabled = IsWindowEnabled(window) != FALSE;
            windowsOpen = gui::VisibleTopLevelWindows(GetCurrentProcessId()).size();
            // Sent with a time limit: a menu or a dialog that did open would hold the call.
            for (const Message& attempt : attempts) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutW(window, attempt.message, attempt.wParam, attempt.lParam, SMTO_NORMAL, 1000, &ignored);
            }
            menuOpened = FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr));
            foreground = GetForegroundWindow();
            windowsAfter = gui::VisibleTopLevelWindows(GetCurrentProcessId()).size();
            if (menuOpened)
                ClosePopup(window);
            // Everything that opened is cancelled, the newest first, so the window can end.
            gui::WaitUntil([&] {
                const std::vector<HWND> open = gui::VisibleTopLevelWindows(GetCurrentProcessId());
                for (HWND other : open)
                    if (other != window && IsWindowEnabled(other))
                        PostMessageW(other, WM_COMMAND, IDCANCEL, 0);
                return open.size() == 1;
            });
        });
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(owner, calendar);
        EXPECT_FALSE(enabled);
        EXPECT_FALSE(menuOpened);
        EXPECT_EQ(windowsAfter, windowsOpen);
        EXPECT_EQ(foreground, dialog);
        EXPECT_EQ(probe.okRuns, 0);
    }
}

TEST(Commands, TheFontPickersOpenAndCancelKeepsTheFonts)
{
    ProbeWindow probe;
    std::vector<std::string> faces;
    int pickers = 0;
    RunWindow(probe, [&](HWND window) {
        for (UINT id : {UINT{ID_FONT_TITLE}, UINT{ID_FONT_NOTES}}) {
            PostMessageW(window, WM_COMMAND, id, 0);
            HWND picker = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
            if (!picker)
                continue;
            ++pickers;
            PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
            gui::WaitUntil([&] { return !IsWindow(picker); });
        }
        ProbeWindow::OnWindowThread(window, [&] {
            faces = {probe.Settings().titleFont.faceName, probe.Settings().notesFont.faceName};
        });
    });
    EXPECT_EQ(pickers, 2);
    EXPECT_EQ(faces, (std::vector<std::string>{"Bradley Hand ITC", "Tahoma"}));
}

TEST(Commands, AFontChosenWithOkReachesTheNotesBox)
{
    ProbeWindow probe;
    std::string setting;
    std::wstring boxFace;
    RunWindow(probe, [&](HWND window) {
        PostMessageW(window, WM_COMMAND, ID_FONT_NOTES, 0);
        HWND picker = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
        ASSERT_NE(picker, nullptr);
        // Another face than the one in use, picked in the list of faces (cmb1).
        const HWND faces = GetDlgItem(picker, 0x470);
        const auto count = static_cast<int>(SendMessageW(faces, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t name[LF_FACESIZE] = L"";
            SendMessageW(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            if (name[0] != L'@' && std::wstring(name) != L"Tahoma") {
                SendMessageW(faces, CB_SETCURSEL, i, 0);
                SendMessageW(picker, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
                break;
            }
        }
        PostMessageW(picker, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(picker); });
        ProbeWindow::OnWindowThread(window, [&] {
            setting = probe.Settings().notesFont.faceName;
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(window, IDC_NOTES), WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            boxFace = font.lfFaceName;
        });
    });
    EXPECT_FALSE(setting.empty());
    EXPECT_NE(setting, "Tahoma");
    EXPECT_EQ(fw::Widen(setting), boxFace);
}

namespace {

// Picks `text` in a combo box of the font picker, as a click in its list does.
void PickInFontDialog(HWND picker, int comboId, const wchar_t* text)
{
    const HWND combo = GetDlgItem(picker, comboId);
    SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    SendMessageW(picker, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

}  // namespace

// At each scale the fonts and the window's icons are made at that scale, and what the font
// picker gives back at 144 DPI is stored at 96 DPI, as the file has always held it.
TEST(Commands, AtEachScaleTheFontsScaleAndThePickerStoresTheirDesignSize)
{
    struct Scaled {
        int dpi;
        LONG box = 0, calendar = 0, smallIcon = 0, bigIcon = 0;
    };
    std::vector<Scaled> scales = {{120}, {192}, {96}, {144}};
    ProbeWindow probe;
    core::LogicalFont before, after;
    RunWindow(probe, [&](HWND window) {
        ProbeWindow::OnWindowThread(window, [&] {
            before = probe.Settings().notesFont;
            const auto heightOf = [&](int id) {
                LOGFONTW font{};
                GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(window, id), WM_GETFONT, 0, 0)),
                           sizeof font, &font);
                return font.lfHeight;
            };
            const auto widthOf = [&](WPARAM which) {
                ICONINFO icon{};
                BITMAP bitmap{};
                if (GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &icon)) {
                    GetObjectW(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof bitmap, &bitmap);
                    DeleteObject(icon.hbmColor);
                    DeleteObject(icon.hbmMask);
                }
                return bitmap.bmWidth;
            };
            for (Scaled& scale : scales) {
                RECT place{};
                GetWindowRect(window, &place);
                SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(scale.dpi, scale.dpi), reinterpret_cast<LPARAM>(&place));
                scale.box = heightOf(IDC_NOTES);
                scale.calendar = heightOf(IDC_CALENDAR);
                scale.smallIcon = widthOf(ICON_SMALL);
                scale.bigIcon = widthOf(ICON_BIG);
            }
        });
        PostMessageW(window, WM_COMMAND, ID_FONT_NOTES, 0);
        HWND picker = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
        ASSERT_NE(picker, nullptr);
        // 12 points, in the list of sizes (cmb3).
        PickInFontDialog(picker, 0x472, L"12");
        PostMessageW(picker, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(picker); });
        ProbeWindow::OnWindowThread(window, [&] { after = probe.Settings().notesFont; });
    });
    ASSERT_NE(before.height, 0);
    for (const Scaled& scale : scales) {
        SCOPED_TRACE(testing::Message() << scale.dpi << " DPI");
        EXPECT_NEAR(scale.box, MulDiv(before.height, scale.dpi, 96), 1);
        EXPECT_NEAR(scale.calendar, MulDiv(-11, scale.dpi, 96), 1);
        // At 96 DPI both are the icon as the system loads it, as they always were.
        EXPECT_EQ(scale.smallIcon, MulDiv(GetSystemMetrics(scale.dpi == 96 ? SM_CXICON : SM_CXSMICON), scale.dpi, 96));
        EXPECT_EQ(scale.bigIcon, MulDiv(GetSystemMetrics(SM_CXICON), scale.dpi, 96));
    }
    // The picker, last at 144 DPI, turns points into pixels at the test program's own DPI.
    const HDC screen = GetDC(nullptr);
    const int picked = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(after.height, MulDiv(picked, 96, 144));
}

TEST(Commands, TheMenuButtonAndTheTrayIconOpenTheMenu)
{
    ProbeWindow probe;
    RECT buttonPopup{}, trayPopup{};
    RECT windowRect{};
    bool foreground = false;
    HMENU shown = nullptr, built = nullptr;
    RunWindow(probe, [&](HWND window) {
        GetWindowRect(window, &windowRect);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 10));
        if (HWND popup = OpenPopup()) {
            GetWindowRect(popup, &buttonPopup);
            shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            built = probe.MainMenu();
            ClosePopup(window);
        }
        gui::WaitUntil([] { return OpenPopup() == nullptr; }, 2000);
        SetCursorPos(windowRect.left + 120, windowRect.top + 150);
        PostMessageW(window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
        PostMessageW(window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_RBUTTONUP);
        if (HWND popup = OpenPopup()) {
            GetWindowRect(popup, &trayPopup);
            ClosePopup(window);
        }
        SendMessageW(window, TRAY_CALLBACK_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDOWN);
        foreground = GetForegroundWindow() == window;
    });
    // The popup shows the menu the window built (whose items another test reads).
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(shown, built);
    // Below the button's lower-left corner, and at the cursor.
    EXPECT_EQ(buttonPopup.left, windowRect.left);
    EXPECT_EQ(buttonPopup.top, windowRect.top + 24);
    EXPECT_EQ(trayPopup.left, windowRect.left + 120);
    EXPECT_EQ(trayPopup.top, windowRect.top + 150);
    EXPECT_TRUE(foreground);
}

TEST(Commands, TheTrayRecordGreetsAFirstRunAndTellsOfRecoveredNotes)
{
    const core::Bytes change = core::JournalRecord({"010107", "typed before a crash"});
    core::Bytes journalBytes = core::JournalHeader();
    journalBytes.insert(journalBytes.end(), change.begin(), change.end());
    const std::string journal(journalBytes.begin(), journalBytes.end());
    const std::string damaged = "not a journal at all";
    const struct {
        const char* run;
        bool firstRun;
        const std::string* leftover;
        const wchar_t* title;
        // The balloon's text, up to the stamp of a file kept aside.
        const wchar_t* text;
        DWORD infoFlags;
    } runs[] = {
        {"first run", true, nullptr, L"Dayvane is here!",
         L"Right mouse click - show menu\r\nLeft click - set calendar foreground", NIIF_INFO},
        {"later run", false, nullptr, L"", L"", 0},
        {"first run after notes were lost", true, &journal, L"Dayvane",
         L"Notes typed before Dayvane last stopped unexpectedly were recovered.", NIIF_INFO},
        {"a journal that cannot be read", false, &damaged, L"Dayvane",
         L"Dayvane could not read the notes typed before it last stopped (qor_nots.dat.journal). "
         L"The file is kept beside your notes as qor_nots.dat.journal.damaged-",
         NIIF_WARNING},
    };
    for (const auto& run : runs) {
        ProbeWindow probe;
        const core::CalendarSettings settings = gui::DefaultSettings();
        NOTIFYICONDATAW record{}, recordAgain{};
        bool shownWhileRunning = false, shownAgain = false;
        RunWindow(probe, [&](HWND window) {
            ProbeWindow::OnWindowThread(window, [&] { record = probe.TrayIcon(); });
            NOTIFYICONDATAW tip = record;
            tip.uFlags = NIF_TIP;
            shownWhileRunning = Shell_NotifyIconW(NIM_MODIFY, &tip) != FALSE;
            // A restarted taskbar has lost the icon and says so to every top-level window.
            Shell_NotifyIconW(NIM_DELETE, &tip);
            SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            ProbeWindow::OnWindowThread(window, [&] { recordAgain = probe.TrayIcon(); });
            shownAgain = Shell_NotifyIconW(NIM_MODIFY, &tip) != FALSE;
        }, run.firstRun ? nullptr : &settings, nullptr, nullptr, run.leftover);
        SCOPED_TRACE(run.run);
        const bool balloon = run.infoFlags != 0;
        EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
        EXPECT_EQ(record.uID, 118u);
        EXPECT_EQ(record.uCallbackMessage, 117u);
        EXPECT_STREQ(record.szTip, L"Dayvane");
        EXPECT_EQ(record.uFlags, balloon ? 0x17u : 0x7u);
        EXPECT_STREQ(record.szInfoTitle, run.title);
        const std::wstring text = record.szInfo;
        EXPECT_EQ(text.substr(0, std::wcslen(run.text)), run.text);
        EXPECT_EQ(text.size() == std::wcslen(run.text), run.leftover != &damaged) << "only a kept file's name follows";
        EXPECT_EQ(record.dwInfoFlags, run.infoFlags);
        EXPECT_TRUE(shownWhileRunning);
        // Back after the taskbar's restart, without a second greeting.
        EXPECT_TRUE(shownAgain);
        EXPECT_EQ(recordAgain.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        // After the close no icon of the window is left to change.
        NOTIFYICONDATAW probeRecord = record;
        probeRecord.uFlags = NIF_TIP;
        EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probeRecord));
    }
}

namespace {

struct AboutSeen {
    std::wstring caption, home, support, homeTip, supportTip;
};

// The tooltip windows of this process.
std::vector<HWND> Tooltips()
{
    std::vector<HWND> tips;
    EnumWindows([](HWND window, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && gui::ClassNameOf(window) == L"tooltips_class32")
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tips));
    return tips;
}

// The text a tooltip of this process shows for `control`.
std::wstring TipFor(HWND control)
{
    for (HWND tooltip : Tooltips()) {
        wchar_t text[128] = L"";
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        if (text[0])
            return text;
    }
    return L"(none)";
}

// Tooltip windows made on a thread while the hook below watches it.
std::atomic<int> tooltipsMade{0};
LRESULT CALLBACK CountTooltips(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && gui::ClassNameOf(reinterpret_cast<HWND>(wParam)) == L"tooltips_class32")
        ++tooltipsMade;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Opens the About box with `open`, reads it and closes it with OK.
AboutSeen OpenAbout(HWND window, const std::function<void()>& open)
{
    AboutSeen seen;
    open();
    HWND about = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
    if (!about)
        return seen;
    wchar_t text[128] = L"";
    GetWindowTextW(about, text, 128);
    seen.caption = text;
    GetDlgItemTextW(about, 1002, text, 128);
    seen.home = text;
    GetDlgItemTextW(about, 1005, text, 128);
    seen.support = text;
    seen.homeTip = TipFor(GetDlgItem(about, 1002));
    seen.supportTip = TipFor(GetDlgItem(about, 1005));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    gui::WaitUntil([&] { return !IsWindow(about); });
    return seen;
}

}  // namespace

TEST(Commands, TheAboutBoxOpensFromTheMenuAndTheSystemMenuAndLeavesNothingBehind)
{
    ProbeWindow probe;
    AboutSeen fromMenu, fromSystemMenu;
    // Wine's GetGuiResources reports no GDI or USER objects, so what the box could leave
    // behind is counted as the windows it makes: the links' tooltips.
    std::size_t tooltipsBefore = 0, tooltipsAfter = 0, windowsBefore = 0, windowsAfter = 0;
    constexpr int openings = 20;
    RunWindow(probe, [&](HWND window) {
        fromMenu = OpenAbout(window, [&] { PostMessageW(window, WM_COMMAND, ID_ABOUT, 0); });
        fromSystemMenu = OpenAbout(window, [&] { PostMessageW(window, WM_SYSCOMMAND, ID_ABOUTBOX, 0); });
        tooltipsBefore = Tooltips().size();
        windowsBefore = gui::VisibleTopLevelWindows(GetCurrentProcessId()).size();
        tooltipsMade = 0;
        const HHOOK hook = SetWindowsHookExW(WH_CBT, CountTooltips, nullptr, GetWindowThreadProcessId(window, nullptr));
        for (int i = 0; i < openings; ++i)
            OpenAbout(window, [&] { PostMessageW(window, WM_COMMAND, ID_ABOUT, 0); });
        UnhookWindowsHookEx(hook);
        tooltipsAfter = Tooltips().size();
        windowsAfter = gui::VisibleTopLevelWindows(GetCurrentProcessId()).size();
    });
    for (const AboutSeen* seen : {&fromMenu, &fromSystemMenu}) {
        EXPECT_EQ(seen->caption, L"About Dayvane");
        EXPECT_EQ(seen->home, L"dayvane.example");
        EXPECT_EQ(seen->homeTip, L"Go to dayvane.example");
        EXPECT_EQ(seen->support, L"help@dayvane.example");
        EXPECT_EQ(seen->supportTip, L"Send email to support");
    }
    EXPECT_EQ(tooltipsAfter, tooltipsBefore);
    // Each link is set up once per opening, "OK" included: one tooltip each.
    EXPECT_EQ(tooltipsMade, 2 * openings);
    EXPECT_EQ(windowsAfter, windowsBefore);
}

namespace {
std::vector<std::string> shellRequests;
void RecordShellRequest(std::string_view target, int) { shellRequests.emplace_back(target); }
}  // namespace

TEST(Commands, HelpOpensTheHelpFileBesideTheProgramAndTheDataFolderOpensWhereTheFilesAre)
{
    shellRequests.clear();
    fw::SetShellHandler(RecordShellRequest);
    ProbeWindow probe;
    std::string help, data;
    RunWindow(probe, [&](HWND window) {
        SendMessageW(window, WM_COMMAND, ID_HELP_FILE, 0);
        HELPINFO request{};
        request.cbSize = sizeof request;
        SendMessageW(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&request));
        SendMessageW(window, WM_COMMAND, ID_NOTES_OPEN_FOLDER, 0);
        help = fw::Narrow(ProgramFilePath("Help.chm"));
        data = fw::Narrow(DataFolder());
    });
    fw::SetShellHandler(nullptr);
    EXPECT_EQ(shellRequests, (std::vector<std::string>{help, help, data}));
    EXPECT_NE(help.find(":\\"), std::string::npos) << "not a full path: " << help;
    // The probe keeps its data files in a folder of its own, not beside the test program.
    EXPECT_NE(data, help.substr(0, help.rfind('\\') + 1));
}

TEST(Commands, TheHelpFileIsBuiltBesideTheProgram)
{
    const std::wstring& program = gui::Config().program;
    const std::string help = gui::ReadFileBytes(program.substr(0, program.find_last_of(L"\\/") + 1) + L"Help.chm");
    EXPECT_EQ(help.substr(0, 4), "ITSF");
    EXPECT_GT(help.size(), 4000u);
}

// High contrast on and off, as the system announces it: the strip, the outline and the notes box
// in the high-contrast theme's colours (Windows' "High Contrast Black", set for the test), then
// in the scheme's again.
TEST(Commands, HighContrastDrawsInTheSystemsColoursAndGoesBackToTheSchemes)
{
    ImportPatch patch("user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(&SystemParametersAnswered));
    ASSERT_TRUE(patch.Patched());
    systemParameters = &patch;
    int indices[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    COLORREF theme[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), 0};
    COLORREF saved[6];
    std::transform(std::begin(indices), std::end(indices), saved, GetSysColor);
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.titleGradient = 0;
    const core::Palette light = core::PaletteOf(settings.colorScheme, core::ColorMode::Light, {});
    ProbeWindow probe;
    RunWindow(probe, [&](HWND window) {
        const HWND box = GetDlgItem(window, IDC_NOTES);
        RECT line{};
        GetClientRect(box, &line);
        const POINT boxCorner{2, line.bottom - 2};
        line.bottom = 14;
        MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&line), 2);
        const auto stripShows = [&](COLORREF top, COLORREF bottom) {
            return gui::WaitUntil([&] {
                return gui::NearColor(ScreenPixelOf(window, {25, 1}), top) &&
                       gui::NearColor(ScreenPixelOf(window, {25, 22}), bottom);
            }, 1000);
        };
        ASSERT_TRUE(stripShows(fw::ColorRef(light.stripLight), fw::ColorRef(light.stripMid)));

        SetSysColors(6, indices, theme);
        highContrast = true;
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(stripShows(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)));
        EXPECT_EQ(ScreenPixelOf(window, {0, 100}), GetSysColor(COLOR_WINDOWTEXT)) << "the outline";
        EXPECT_EQ(ScreenPixelOf(box, boxCorner), GetSysColor(COLOR_WINDOW));
        EXPECT_GT(gui::PixelsNear(line, GetSysColor(COLOR_WINDOWTEXT)), 10) << "the note's text";
        RECT area{};
        GetWindowRect(window, &area);
        gui::SaveFinishedScreenPng(window, area, gui::Config().artifacts + L"\\high-contrast.png");

        highContrast = false;
        SetSysColors(6, indices, saved);
        EXPECT_TRUE(stripShows(fw::ColorRef(light.stripLight), fw::ColorRef(light.stripMid)));
        EXPECT_EQ(ScreenPixelOf(box, boxCorner), GetSysColor(COLOR_WINDOW));
    }, &settings);
    systemParameters = nullptr;
}
