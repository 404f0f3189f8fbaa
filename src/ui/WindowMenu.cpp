// The program's menu.
#include "ui/WindowMenu.h"

#include "framework/Text.h"
#include "resources/ResourceIds.h"

namespace {

void AppendItems(HMENU menu, UINT first, UINT last, const wchar_t* const texts[])
{
    for (UINT id = first; id <= last; ++id)
        AppendMenuW(menu, MF_STRING, id, texts[id - first]);
}

const wchar_t* LayoutItemText(int fullLayout)
{
    return fullLayout != 0 ? L"Compact" : L"Full";
}

}  // namespace

// Every item is a plain string item. The Time items' texts are the clock formats themselves:
// the clock reads its format back from them (PresetFormat).
void WindowMenu::BuildMenus(const core::CalendarSettings& settings)
{
    static const wchar_t* const fonts[] = {L"Title...", L"Notes..."};
    static const wchar_t* const colors[] = {L"Blue", L"Green", L"Red", L"Yellow", L"Gray"};
    static const wchar_t* const styles[] = {L"Rectangle", L"Rounding top", L"Rounding all"};
    static const wchar_t* const times[] = {L"%H:%M:%S", L"%I:%M:%S %p", L"%a %H:%M:%S",
                                           L"%a %I:%M:%S %p", L"%A %H:%M", L"%A %I:%M %p"};
    static const wchar_t* const titles[] = {L"Gradient V1", L"Gradient V2"};

    fw::CMenu font(CreatePopupMenu());
    AppendItems(font.Get(), ID_FONT_TITLE, ID_FONT_NOTES, fonts);
    fw::CMenu color(CreatePopupMenu());
    AppendItems(color.Get(), ID_COLOR_FIRST, ID_COLOR_LAST, colors);
    fw::CMenu style(CreatePopupMenu());
    AppendItems(style.Get(), ID_STYLE_FIRST, ID_STYLE_LAST, styles);
    fw::CMenu time(CreatePopupMenu());
    AppendItems(time.Get(), ID_TIME_FIRST, ID_TIME_LAST_PRESET, times);
    AppendMenuW(time.Get(), MF_SEPARATOR, 0, L".....");
    AppendMenuW(time.Get(), MF_STRING, ID_TIME_CUSTOM, L"Custom...");
    fw::CMenu title(CreatePopupMenu());
    AppendItems(title.Get(), ID_TITLE_FIRST, ID_TITLE_LAST, titles);
    fw::CMenu notes(CreatePopupMenu());
    AppendMenuW(notes.Get(), MF_STRING, ID_NOTES_FIND, L"Find...\tCtrl+F");
    AppendMenuW(notes.Get(), MF_STRING, ID_NOTES_TODAY, L"Today\tAlt+Home");
    AppendMenuW(notes.Get(), MF_STRING, ID_NOTES_EXPORT, L"Export...");
    AppendMenuW(notes.Get(), MF_STRING, ID_NOTES_IMPORT, L"Import...");
    AppendMenuW(notes.Get(), MF_STRING, ID_NOTES_OPEN_FOLDER, L"Open data folder");
    AppendMenuW(notes.Get(), MF_SEPARATOR, 0, L".....");
    AppendMenuW(notes.Get(), MF_STRING, ID_START_WITH_WINDOWS, L"Start with Windows");

    mainMenu.Attach(CreatePopupMenu());
    const HMENU main = mainMenu.Get();
    AppendMenuW(main, MF_STRING, ID_LAYOUT_TOGGLE, LayoutItemText(settings.fullLayout));
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    colorMenu = fw::AppendPopup(main, std::move(color), L"Color");
    styleMenu = fw::AppendPopup(main, std::move(style), L"Style");
    titleMenu = fw::AppendPopup(main, std::move(title), L"Title");
    timeMenu = fw::AppendPopup(main, std::move(time), L"Time");
    fontMenu = fw::AppendPopup(main, std::move(font), L"Font");
    notesMenu = fw::AppendPopup(main, std::move(notes), L"Notes");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    AppendMenuW(main, MF_STRING, ID_HELP_FILE, L"Help");
    AppendMenuW(main, MF_STRING, ID_ABOUT, L"About");
    AppendMenuW(main, MF_SEPARATOR, 0, L".....");
    AppendMenuW(main, MF_STRING, ID_CLOSE, L"Close");

    MarkColor(static_cast<UINT>(settings.colorScheme + ID_COLOR_FIRST));
    MarkStyle(static_cast<UINT>(settings.shape + ID_STYLE_FIRST));
    MarkTime(static_cast<UINT>(settings.timeFormatId));
    MarkTitle(static_cast<UINT>(settings.titleGradient + ID_TITLE_FIRST));
}

// The owner must be in front before TrackPopupMenu, or a menu opened from the tray icon
// stays open after a click elsewhere; the posted WM_NULL lets the menu's loop end cleanly
// when it is opened again at once.
//
// A menu opened by a key opens with its first item selected, as the menu's own loop does
// with a Down key that is waiting for it.
void WindowMenu::TrackMainMenu(HWND owner, POINT screenPoint, bool firstSelected) const
{
    SetForegroundWindow(owner);
    if (firstSelected)
        PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
    TrackPopupMenu(mainMenu.Get(), 0, screenPoint.x, screenPoint.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

void WindowMenu::MarkColor(UINT id) const
{
    CheckMenuRadioItem(colorMenu, ID_COLOR_FIRST, ID_COLOR_MARKS_LAST, id, MF_BYCOMMAND);
}

void WindowMenu::MarkStyle(UINT id) const
{
    CheckMenuRadioItem(styleMenu, ID_STYLE_FIRST, ID_STYLE_MARKS_LAST, id, MF_BYCOMMAND);
}

void WindowMenu::MarkTime(UINT id) const
{
    CheckMenuRadioItem(timeMenu, ID_TIME_FIRST, ID_TIME_MARKS_LAST, id, MF_BYCOMMAND);
}

void WindowMenu::MarkTitle(UINT id) const
{
    CheckMenuRadioItem(titleMenu, ID_TITLE_FIRST, ID_TITLE_MARKS_LAST, id, MF_BYCOMMAND);
}

void WindowMenu::MarkStartWithWindows(bool on) const
{
    CheckMenuItem(notesMenu, ID_START_WITH_WINDOWS, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void WindowMenu::ShowLayout(int fullLayout) const
{
    ModifyMenuW(mainMenu.Get(), ID_LAYOUT_TOGGLE, MF_BYCOMMAND | MF_STRING, ID_LAYOUT_TOGGLE,
                LayoutItemText(fullLayout));
}

std::string WindowMenu::PresetFormat(int id) const
{
    wchar_t text[256];
    const int length = GetMenuStringW(timeMenu, static_cast<UINT>(id), text, 256, MF_BYCOMMAND);
    return length > 0 ? fw::Narrow(std::wstring_view(text, static_cast<std::size_t>(length))) : std::string();
}
