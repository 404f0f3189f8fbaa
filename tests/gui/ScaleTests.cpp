// The program at each display scale, started with the scale set (Wine reads it when a process
// starts), and a change of scale while it runs, which Wine never sends itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <ostream>
#include <string>
#include <vector>

#include "Harness.h"
#include "SettingsFiles.h"
#include "core/Appearance.h"
#include "resources/ResourceIds.h"

namespace {

// The display's scale for the programs started while it lives; 96 DPI again afterwards.
class DisplayScale {
public:
    explicit DisplayScale(DWORD dpi)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    DisplayScale(const DisplayScale&) = delete;
    DisplayScale& operator=(const DisplayScale&) = delete;
    ~DisplayScale()
    {
        const DWORD design = 96;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &design, sizeof design);
    }
};

// Rectangles in the window's own coordinates, and the strip's height as painted.
struct Geometry {
    SIZE window{};
    RECT calendar{}, notes{}, needed{};
    int strip = 0;
    bool roundedAsDesigned = false;

    bool operator==(const Geometry& o) const
    {
        return window.cx == o.window.cx && window.cy == o.window.cy && EqualRect(&calendar, &o.calendar) &&
               EqualRect(&notes, &o.notes) && strip == o.strip && roundedAsDesigned == o.roundedAsDesigned;
    }
};

std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

std::ostream& operator<<(std::ostream& out, const Geometry& g)
{
    return out << g.window.cx << "x" << g.window.cy << " calendar " << g.calendar << " notes " << g.notes << " strip "
               << g.strip << (g.roundedAsDesigned ? " rounded" : " not rounded as designed");
}

RECT ChildRect(HWND window, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF Pixel(const gui::Program& program, LONG x, LONG y)
{
    return gui::ScreenPixel(program.ClientToScreenPoint({x, y}));
}

// The window of a program started on the rounded outline, measured at `dpi`.
Geometry Measure(const gui::Program& program, int dpi)
{
    const HWND window = program.Window();
    EXPECT_TRUE(program.WaitUntilIdle());
    Geometry g;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    g.window = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    g.calendar = ChildRect(window, IDC_CALENDAR);
    g.notes = ChildRect(window, IDC_NOTES);
    gui::SendWithData(program, GetDlgItem(window, IDC_CALENDAR), MCM_GETMINREQRECT, 0, &g.needed, sizeof g.needed);
    // The line under the strip is the first row in the scheme's middle colour: the gradient
    // above it only nears that colour. Measured at the window's right, where no text is.
    core::SchemeColors colors;
    core::ColorsOfScheme(gui::DefaultSettings().colorScheme, colors);
    const COLORREF mid = RGB(colors.mid.red, colors.mid.green, colors.mid.blue);
    for (g.strip = 1; g.strip < g.window.cy / 2 && Pixel(program, g.window.cx - 5, g.strip) != mid;)
        ++g.strip;
    // Rounded all round, the corners cut by an ellipse of 15 pixels at 96 DPI; the system
    // keeps only the part within the window.
    const int ellipse = MulDiv(15, dpi, 96);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    HRGN designed = CreateRoundRectRgn(0, 0, g.window.cx + 1, g.window.cy + 1, ellipse, ellipse);
    HRGN within = CreateRectRgn(0, 0, g.window.cx, g.window.cy);
    CombineRgn(designed, designed, within, RGN_AND);
    DeleteObject(within);
    g.roundedAsDesigned = GetWindowRgn(window, region) != ERROR && EqualRgn(region, designed);
    DeleteObject(designed);
    DeleteObject(region);
    return g;
}

std::string RoundedSettings()
{
    core::CalendarSettings settings = gui::DefaultSettings();
    settings.shape = 2;
    return gui::EncodeSettings(settings);
}

bool Inside(const RECT& inner, SIZE outer)
{
    return inner.left >= 0 && inner.top >= 0 && inner.right <= outer.cx && inner.bottom <= outer.cy;
}

// A change of scale as the system sends it, with the place it suggests.
void ChangeScale(const gui::Program& program, int dpi)
{
    RECT suggested{};
    GetWindowRect(program.Window(), &suggested);
    EXPECT_TRUE(gui::SendWithData(program, program.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), &suggested,
                                  sizeof suggested));
}

}  // namespace

TEST(Scale, EachScaleDrawsTheWindowFromItsDesignSizesAndAChangeOfScaleGivesTheSameWindow)
{
    const int scales[] = {96, 120, 144, 192};
    std::vector<Geometry> started;
    std::vector<SIZE> aboutBoxes;
    for (const int dpi : scales) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        DisplayScale scale(static_cast<DWORD>(dpi));
        gui::TempFolder folder;
        ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), RoundedSettings()));
        gui::Program program(folder);
        ASSERT_NE(program.Window(), nullptr);
        const Geometry g = Measure(program, dpi);
        started.push_back(g);
        EXPECT_EQ(g.strip, MulDiv(23, dpi, 96));
        EXPECT_TRUE(g.roundedAsDesigned);
        EXPECT_TRUE(Inside(g.calendar, g.window)) << g;
        EXPECT_TRUE(Inside(g.notes, g.window)) << g;
        EXPECT_GE(g.calendar.right - g.calendar.left, g.needed.right - g.needed.left) << g;
        EXPECT_GE(g.calendar.bottom - g.calendar.top, g.needed.bottom - g.needed.top) << g;
        RECT area{};
        GetWindowRect(program.Window(), &area);
        InflateRect(&area, 16, 16);
            gui::SaveFinishedScreenPng(program.Window(), area,
                                   gui::Config().artifacts + L"\\scale-" + std::to_wstring(dpi) + L".png");
        // The dialogs come out at the same scale.
        PostMessageW(program.Window(), WM_COMMAND, ID_ABOUT, 0);
        const HWND about = gui::WaitForOtherWindow(program.ProcessId(), program.Window(), 5000);
        ASSERT_NE(about, nullptr);
        RECT box{};
        GetWindowRect(about, &box);
        aboutBoxes.push_back({box.right - box.left, box.bottom - box.top});
        PostMessageW(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(gui::WaitUntil([&] { return !IsWindow(about); }));
    }
    // A dialog's units follow its font's metrics, which grow by a little less than the scale.
    for (std::size_t i = 1; i < aboutBoxes.size(); ++i) {
        const SIZE scaled{MulDiv(aboutBoxes[0].cx, scales[i], 96), MulDiv(aboutBoxes[0].cy, scales[i], 96)};
        EXPECT_NEAR(aboutBoxes[i].cx, scaled.cx, scaled.cx / 10) << scales[i];
        EXPECT_NEAR(aboutBoxes[i].cy, scaled.cy, scaled.cy / 10) << scales[i];
    }

    // Started at 96 DPI, moved to 144 and back: each time the window of a start at that scale.
    gui::TempFolder folder;
    ASSERT_TRUE(gui::WriteFileBytes(folder.File(L"qor_info.dat"), RoundedSettings()));
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ChangeScale(program, 144);
    EXPECT_EQ(Measure(program, 144), started[2]);
    ChangeScale(program, 96);
    EXPECT_EQ(Measure(program, 96), started[0]);
}
