// The window's look: the scheme's colours in the system's colour mode and the pens and brush
// made from them, the two fonts, the window's outline, and the title strip with its menu
// button and clock.
#pragma once

#include <windows.h>

#include <string>

#include "appearance/SystemTheme.h"
#include "core/Appearance.h"
#include "core/CalendarSettings.h"
#include "core/Moment.h"
#include "core/Palette.h"
#include "framework/Handles.h"

class Look {
public:
    explicit Look(core::CalendarSettings& record) : settings(record) {}
    // Reads the system's colour mode and follows its key from now on.
    void Attach(HWND window);

    // The DPI every size is drawn at, which the window takes from its monitor; 96 until then.
    void SetDpi(int windowDpi) { dpi = windowDpi; }
    int Dpi() const { return dpi; }

    // Takes scheme `index`'s colours in the colour mode (an index outside the table keeps
    // those in force).
    void ApplyColorScheme(int index);
    // Reads the system's colour mode and colours again; true when the palette changed, which
    // the caller then hands on and repaints.
    bool FollowSystem();
    const core::Palette& Colors() const { return palette; }
    // Gives the window the outline `index` for the current layout.
    void ApplyWindowShape(int index);
    // The fonts made anew from their settings, both or one.
    void CreateFonts();
    void RemakeTitleFont();
    void RemakeNotesFont();
    HFONT NotesFont() const { return notesFontObject.Get(); }
    // The month calendar's fixed font, whatever the settings say, at the window's DPI; made
    // when first asked for at that DPI.
    HFONT CalendarFont();
    // The logical font the platform reports for the calendar's font: the base of both font
    // settings.
    static core::LogicalFont BaseFont();

    // The strip as wide as the window's client area, with the menu button at its left end.
    // The first measure puts the strip's two controls over it: the menu button, which takes
    // the focus by the keyboard, and the clock, both named for assistive technology and
    // painted by the window as part of the strip. Neither takes the mouse: a press on them
    // is the strip's.
    void MeasureStrip();
    const RECT& TitleStrip() const { return titleStripRect; }
    const RECT& MenuButton() const { return menuButtonRect; }

    // Remembers `now` as the moment whose clock text the strip shows.
    void StartClock(core::Moment now);
    // Repaints the strip when the clock's text in `format` has changed since it was painted.
    void UpdateClock(const std::string& format);
    void Paint(const std::string& clockText);
    // The strip's controls show the window's surface beneath them, as painted.
    void DrawControl(const DRAWITEMSTRUCT& item, const std::string& clockText);
    void Repaint();

private:
    void MakeStripControls(const RECT& button, const RECT& clock);
    void Draw(HDC dc, const std::string& clockText, bool menuButtonFocused);
    // The palette of the scheme in the colour mode, and the pens and the brush in its
    // colours when it changed; true when it did.
    bool MakePalette();

    HWND window = nullptr;
    core::CalendarSettings& settings;
    int dpi = core::DESIGN_DPI;
    int calendarFontDpi = 0;
    SystemTheme theme;
    core::ColorMode mode = core::ColorMode::Light;
    // The scheme whose colours are in force: the blue one until the stored scheme is applied.
    int paletteScheme = 0;
    core::Palette palette = core::PaletteOf(0, core::ColorMode::Light, {});
    fw::CPen midPen;
    fw::CPen darkPen;
    fw::CBrush midBrush;
    fw::CFont titleFontObject;
    fw::CFont notesFontObject;
    fw::CFont calendarFontObject;
    RECT titleStripRect{};
    RECT menuButtonRect{};
    POINT arrow[3]{};
    HWND menuButtonControl = nullptr;
    HWND clockControl = nullptr;
    core::Moment lastClockTime = 0;
    // The minute whose clock text assistive technology last heard of.
    core::Moment announcedMinute = 0;
    // What the clock worked out at its last tick: the moment and format it saw, and the text
    // of `lastClockTime` in that format.
    struct ClockCache {
        bool valid = false;
        core::Moment moment = 0;
        std::string format;
        std::string lastText;
    } clockCache;
};
