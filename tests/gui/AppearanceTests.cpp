// The look as the user sees it: scheme colours, title gradients, frame, arrow, clock and the
// window's outline, for settings files of every kind, and the dark variants following the
// system's app mode live.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Harness.h"
#include "SettingsFiles.h"
#include "core/Palette.h"
#include "framework/Colors.h"
#include "resources/ResourceIds.h"

namespace {

struct Colors {
    COLORREF light, mid, dark;
};

const Colors schemes[] = {
    {RGB(200, 220, 250), RGB(100, 120, 190), RGB(50, 50, 100)}, {RGB(200, 250, 200), RGB(75, 150, 75), RGB(50, 100, 50)},
    {RGB(250, 200, 200), RGB(150, 90, 90), RGB(100, 50, 50)},   {RGB(250, 250, 150), RGB(150, 150, 50), RGB(50, 50, 0)},
    {RGB(220, 220, 220), RGB(120, 120, 120), RGB(50, 50, 50)},  {RGB(250, 200, 220), RGB(140, 100, 120), RGB(50, 20, 35)},
};

class Started {
public:
    explicit Started(const core::CalendarSettings& settings)
    {
        EXPECT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), gui::EncodeSettings(settings)));
        program = std::make_unique<gui::Program>(folder);
    }
    HWND Window() const { return program->Window(); }
    const gui::Program& Process() const { return *program; }
    std::string SettingsBytes() const { return gui::ReadFileBytes(folder.File(L"qor_info.dat")); }
    COLORREF Pixel(int x, int y) const { return gui::ScreenPixel(program->ClientToScreenPoint({x, y})); }
    int Width() const
    {
        RECT client{};
        GetClientRect(Window(), &client);
        return client.right;
    }

private:
    gui::TempFolder folder;
    std::unique_ptr<gui::Program> program;
};

core::CalendarSettings With(int scheme, int gradient, int shape = 0, int fullLayout = 1)
{
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.colorScheme = scheme;
    settings.titleGradient = gradient;
    settings.shape = shape;
    settings.fullLayout = fullLayout;
    return settings;
}

// The frame, the menu button's frame, the arrow and the line under the strip, which reach the
// window's right edge whatever room the calendar took.
void ExpectFrameAndArrow(const Started& window, const Colors& colors)
{
    EXPECT_EQ(window.Pixel(0, 100), colors.mid);
    EXPECT_EQ(window.Pixel(window.Width() - 1, 100), colors.mid);
    EXPECT_EQ(window.Pixel(window.Width() - 2, 23), colors.mid);
    EXPECT_EQ(window.Pixel(16, 5), colors.mid);
    EXPECT_EQ(window.Pixel(3, 9), colors.dark);
    EXPECT_EQ(window.Pixel(8, 10), colors.mid);
    EXPECT_EQ(window.Pixel(120, 23), colors.mid);
}

}  // namespace

TEST(Appearance, EachSchemeWithBothVerticalGradients)
{
    for (int scheme = 0; scheme < 6; ++scheme) {
        const Colors& colors = schemes[scheme];
        for (int gradient : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "scheme " << scheme << ", gradient " << gradient);
            Started window(With(scheme, gradient));
            ASSERT_NE(window.Window(), nullptr);
            const COLORREF top = gradient == 0 ? colors.light : colors.mid;
            const COLORREF bottom = gradient == 0 ? colors.mid : colors.light;
            EXPECT_TRUE(gui::NearColor(window.Pixel(25, 1), top));
            EXPECT_TRUE(gui::NearColor(window.Pixel(25, 22), bottom));
            ExpectFrameAndArrow(window, colors);
        }
    }
}

TEST(Appearance, HorizontalAndFlatStrips)
{
    const Colors& blue = schemes[0];
    {
        Started window(With(0, 2));
        ASSERT_NE(window.Window(), nullptr);
        EXPECT_TRUE(gui::NearColor(window.Pixel(1, 3), blue.light));
        EXPECT_TRUE(gui::NearColor(window.Pixel(window.Width() - 2, 3), blue.mid));
    }
    {
        Started window(With(0, 3));
        ASSERT_NE(window.Window(), nullptr);
        EXPECT_TRUE(gui::NearColor(window.Pixel(1, 3), blue.mid));
        EXPECT_TRUE(gui::NearColor(window.Pixel(window.Width() - 2, 3), blue.light));
    }
    for (int gradient : {4, -1}) {
        Started window(With(0, gradient));
        ASSERT_NE(window.Window(), nullptr);
        EXPECT_EQ(window.Pixel(25, 1), blue.light) << gradient;
        EXPECT_EQ(window.Pixel(25, 22), blue.light) << gradient;
        ExpectFrameAndArrow(window, blue);
    }
}

TEST(Appearance, ASchemeBeyondTheTableKeepsTheFirstColours)
{
    Started window(With(9, 4));
    ASSERT_NE(window.Window(), nullptr);
    EXPECT_EQ(window.Pixel(25, 12), schemes[0].light);
    ExpectFrameAndArrow(window, schemes[0]);
}

TEST(Appearance, AnEmptyCustomFormatPaintsTheStripWithoutText)
{
    core::CalendarSettings settings = With(0, 4);
    settings.timeFormatId = 46;
    settings.customTimeFormat = "";
    Started window(settings);
    ASSERT_NE(window.Window(), nullptr);
    for (int x = 20; x < window.Width() - 2; ++x)
        ASSERT_EQ(window.Pixel(x, 12), schemes[0].light) << "at x = " << x;

    // The same strip with a format shows dark text in the middle.
    settings.customTimeFormat = "Time %H:%M";
    Started withText(settings);
    ASSERT_NE(withText.Window(), nullptr);
    int dark = 0;
    for (int x = 20; x < withText.Width() - 2; ++x)
        for (int y = 3; y < 20; ++y)
            dark += withText.Pixel(x, y) != schemes[0].light;
    EXPECT_GT(dark, 20);
}

TEST(Appearance, TheWindowRegionFollowsShapeAndLayout)
{
    struct Case {
        int shape, fullLayout;
        bool topCorner, bottomCorner;  // are (0, 0) and (0, bottom - 1) inside?
        int height;                    // of the region's bounding box
    } cases[] = {
        {0, 1, true, true, 0},  {1, 1, false, true, 0},  {2, 1, false, false, 0}, {3, 1, true, true, 0},
        {0, 0, true, true, 24}, {1, 0, false, false, 24}, {2, 0, false, false, 24}, {7, 0, true, true, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << c.shape << ", layout " << c.fullLayout);
        Started window(With(0, 0, c.shape, c.fullLayout));
        ASSERT_NE(window.Window(), nullptr);
        RECT client{};
        GetClientRect(window.Window(), &client);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(window.Window(), region), ERROR);
        RECT box{};
        GetRgnBox(region, &box);
        const int height = c.height ? c.height : client.bottom;
        // "Rounding top" reaches below the window, so that only its top corners show.
        const bool reachesBelow = c.shape == 1 && c.fullLayout == 1;
        EXPECT_EQ(box.bottom, reachesBelow ? height + 14 : height);
        EXPECT_EQ(box.right, client.right);
        EXPECT_EQ(PtInRegion(region, 0, 0) != 0, c.topCorner);
        EXPECT_EQ(PtInRegion(region, client.right - 1, 0) != 0, c.topCorner);
        EXPECT_EQ(PtInRegion(region, 0, height - 1) != 0, c.bottomCorner);
        EXPECT_EQ(PtInRegion(region, client.right - 1, height - 1) != 0, c.bottomCorner);
        // Inside the rounding, whatever the shape.
        EXPECT_TRUE(PtInRegion(region, 7, 7));
        EXPECT_TRUE(PtInRegion(region, client.right - 8, height - 8));
        EXPECT_EQ(PtInRegion(region, 10, height) != 0, reachesBelow);
        DeleteObject(region);
    }
}

namespace {

constexpr const wchar_t* PERSONALIZE_KEY = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The user's app mode, written as some tools do (`announceTo` null) or as the system's settings
// do, with the broadcast. The tests' prefix has no such value: none is left.
void SetAppMode(bool dark, HWND announceTo = nullptr)
{
    const DWORD value = dark ? 0 : 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, PERSONALIZE_KEY, L"AppsUseLightTheme", REG_DWORD, &value, sizeof value);
    if (announceTo)
        SendMessageTimeoutW(announceTo, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
}

struct LightAtTheEnd {
    ~LightAtTheEnd() { RegDeleteKeyValueW(HKEY_CURRENT_USER, PERSONALIZE_KEY, L"AppsUseLightTheme"); }
};

RECT ScreenRectOf(HWND control, int inset)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    InflateRect(&rect, -inset, -inset);
    return rect;
}

// What the window shows of `palette`: the strip's two ends, the calendar's body, a week
// number, the notes box's background and its text (the first-run note). In the light mode the
// notes box has the system's colours.
testing::AssertionResult Shows(const Started& window, const core::Palette& palette)
{
    const HWND calendar = GetDlgItem(window.Window(), IDC_CALENDAR);
    const HWND box = GetDlgItem(window.Window(), IDC_NOTES);
    const COLORREF boxBackground = palette.ownBoxColors ? fw::ColorRef(palette.notesBackground) : GetSysColor(COLOR_WINDOW);
    const COLORREF boxText = palette.ownBoxColors ? fw::ColorRef(palette.notesText) : GetSysColor(COLOR_WINDOWTEXT);
    const RECT body = ScreenRectOf(calendar, 2), notes = ScreenRectOf(box, 2);
    // The week numbers' column, left of the days, below the title and the day names.
    const RECT weekNumbers{body.left, body.top + 40, body.left + 18, body.bottom - 30};
    const RECT noteLine{notes.left, notes.top, notes.right, notes.top + 14};
    if (!gui::NearColor(window.Pixel(25, 1), fw::ColorRef(palette.stripLight)) ||
        !gui::NearColor(window.Pixel(25, 22), fw::ColorRef(palette.stripMid)))
        return testing::AssertionFailure() << "the strip";
    if (gui::ScreenPixel({body.right - 1, body.bottom - 1}) != fw::ColorRef(palette.calendar.monthBackground))
        return testing::AssertionFailure() << "the calendar's body";
    if (gui::PixelsNear(weekNumbers, fw::ColorRef(palette.calendar.titleBackground)) < 10)
        return testing::AssertionFailure() << "the week numbers";
    if (gui::ScreenPixel({notes.left, notes.bottom - 1}) != boxBackground)
        return testing::AssertionFailure() << "the notes box's background";
    if (gui::PixelsNear(noteLine, boxText) < 10)
        return testing::AssertionFailure() << "the note's text";
    return testing::AssertionSuccess();
}

testing::AssertionResult ShowsWithinASecond(const Started& window, const core::Palette& palette)
{
    gui::WaitUntil([&] { return static_cast<bool>(Shows(window, palette)); }, 1000);
    return Shows(window, palette);
}

}  // namespace

TEST(Appearance, TheDarkVariantFollowsTheAppModeLiveAndNothingIsSaved)
{
    LightAtTheEnd light;
    Started window(With(0, 0));
    ASSERT_NE(window.Window(), nullptr);
    const std::string settingsBefore = window.SettingsBytes();
    const core::Palette palettes[] = {core::PaletteOf(0, core::ColorMode::Light, {}),
                                      core::PaletteOf(0, core::ColorMode::Dark, {})};
    EXPECT_TRUE(Shows(window, palettes[0]));
    for (HWND announceTo : {window.Window(), HWND{}})
        for (bool dark : {true, false}) {
            SetAppMode(dark, announceTo);
            EXPECT_TRUE(ShowsWithinASecond(window, palettes[dark])) << dark << (announceTo ? ", announced" : "");
        }

    PostMessageW(window.Window(), WM_COMMAND, ID_CLOSE, 0);
    EXPECT_TRUE(window.Process().WaitForExit());
    EXPECT_EQ(window.SettingsBytes(), settingsBefore);
}

// Every scheme of the menu in the dark mode, photographed for a look at it.
TEST(Appearance, EachSchemeOfTheMenuInTheDarkMode)
{
    LightAtTheEnd light;
    SetAppMode(true);
    Started window(With(0, 0));
    ASSERT_NE(window.Window(), nullptr);
    const wchar_t* names[] = {L"blue", L"green", L"red", L"yellow", L"gray"};
    for (int scheme = 0; scheme < 5; ++scheme) {
        PostMessageW(window.Window(), WM_COMMAND, ID_COLOR_FIRST + scheme, 0);
        const core::Palette dark = core::PaletteOf(scheme, core::ColorMode::Dark, {});
        EXPECT_TRUE(ShowsWithinASecond(window, dark)) << names[scheme];
        RECT area{};
        GetWindowRect(window.Window(), &area);
        EXPECT_TRUE(gui::SaveFinishedScreenPng(window.Window(), area,
                                               gui::Config().artifacts + L"\\dark-" + names[scheme] + L".png"));
    }
}
