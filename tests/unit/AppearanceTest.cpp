// Scheme colours and their palettes in every colour mode, window regions for every layout and
// shape, and the clock text's top.
#include "core/Appearance.h"
#include "core/Palette.h"

#include <gtest/gtest.h>

TEST(Appearance, SchemeTable)
{
    core::SchemeColors colors;
    ASSERT_TRUE(core::ColorsOfScheme(0, colors));
    EXPECT_EQ(colors.light, (core::Rgb{200, 220, 250}));
    EXPECT_EQ(colors.mid, (core::Rgb{100, 120, 190}));
    EXPECT_EQ(colors.dark, (core::Rgb{50, 50, 100}));
    ASSERT_TRUE(core::ColorsOfScheme(4, colors));
    EXPECT_EQ(colors.mid, (core::Rgb{120, 120, 120}));
    EXPECT_EQ(colors.dark, (core::Rgb{50, 50, 50}));
    ASSERT_TRUE(core::ColorsOfScheme(5, colors));
    EXPECT_EQ(colors.light, (core::Rgb{250, 200, 220}));
    EXPECT_EQ(colors.dark, (core::Rgb{50, 20, 35}));
    for (int index : {-1, 6, 9, 1 << 30}) {
        core::SchemeColors untouched{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
        EXPECT_FALSE(core::ColorsOfScheme(index, untouched)) << index;
        EXPECT_EQ(untouched.light, (core::Rgb{1, 2, 3})) << index;
    }
}

TEST(Appearance, WindowRegionForEveryLayoutAndShape)
{
    struct Case {
        int shape, fullLayout;
        bool rounded;
        core::Rect rect;
    } cases[] = {
        {0, 1, false, {0, 0, 243, 275}}, {1, 1, true, {0, 0, 244, 290}}, {2, 1, true, {0, 0, 244, 276}},
        {3, 1, false, {0, 0, 243, 275}}, {-1, 1, false, {0, 0, 243, 275}}, {2, 7, true, {0, 0, 244, 276}},
        {0, 0, false, {0, 0, 243, 24}},  {1, 0, true, {0, 0, 244, 25}},   {2, 0, true, {0, 0, 244, 25}},
        {9, 0, false, {0, 0, 243, 24}},
    };
    for (const Case& c : cases) {
        const core::RegionOutline outline = core::WindowRegion(c.shape, c.fullLayout, 243, 275, 15);
        EXPECT_EQ(outline.rounded, c.rounded) << c.shape << "/" << c.fullLayout;
        EXPECT_EQ(outline.rect.right, c.rect.right) << c.shape << "/" << c.fullLayout;
        EXPECT_EQ(outline.rect.bottom, c.rect.bottom) << c.shape << "/" << c.fullLayout;
        EXPECT_EQ(outline.ellipse, c.rounded ? 15 : 0);
    }
}

TEST(Appearance, TextTop)
{
    EXPECT_EQ(core::TextTop(23, -15), 2);
    EXPECT_EQ(core::TextTop(23, -11), 4);
    EXPECT_EQ(core::TextTop(23, -22), 0);   // (23 - 22) / 3 truncates to 0
    EXPECT_EQ(core::TextTop(23, -23), 0);   // as tall as the strip: the very top
    EXPECT_EQ(core::TextTop(23, -100), 0);
    EXPECT_EQ(core::TextTop(23, 0), 7);
    EXPECT_EQ(core::TextTop(23, 16), 13);   // a cell height pushes the text down
    EXPECT_EQ(core::TextTop(23, 2147483647), 715827890);
    EXPECT_EQ(core::TextTop(23, -2147483647 - 1), 0);
}

// Every size at the common scales: MulDiv's rounding, the strip, the region's corners and the
// compact height, and a font chosen at a scale stored back at 96 DPI unchanged by the trip.
TEST(Appearance, EverySizeAtEveryScale)
{
    struct Row {
        int dpi;
        int strip, button, arrowRight, arrowTip, ellipse, compact, tahoma;
    } rows[] = {
        {96, 23, 17, 13, 14, 15, 24, -11},
        {120, 29, 21, 16, 18, 19, 30, -14},
        {144, 35, 26, 20, 21, 23, 36, -17},
        {192, 46, 34, 26, 28, 30, 47, -22},
    };
    for (const Row& row : rows) {
        const core::StripLayout strip = core::StripAt(row.dpi);
        EXPECT_EQ(strip.titleHeight, row.strip) << row.dpi;
        EXPECT_EQ(strip.menuButton.right, row.button) << row.dpi;
        EXPECT_EQ(strip.menuButton.bottom, row.strip + 1) << row.dpi;
        EXPECT_EQ(strip.arrow[1].x, row.arrowRight) << row.dpi;
        EXPECT_EQ(strip.arrow[2].y, row.arrowTip) << row.dpi;
        const core::RegionOutline rounded = core::WindowRegion(2, 0, 400, 500, 15, row.dpi);
        EXPECT_EQ(rounded.ellipse, row.ellipse) << row.dpi;
        EXPECT_EQ(rounded.rect.bottom, row.compact + 1) << row.dpi;
        EXPECT_EQ(core::WindowRegion(0, 0, 400, 500, 15, row.dpi).rect.bottom, row.compact) << row.dpi;
        EXPECT_EQ(core::Scaled(-11, row.dpi), row.tahoma) << row.dpi;
        for (int height : {-8, -11, -13, -16, -21, -36, 0, 12, 300}) {
            core::LogicalFont font;
            font.height = height;
            font.width = height / 2;
            EXPECT_EQ(core::FontAtDesignDpi(core::FontAtDpi(font, row.dpi), row.dpi), font) << row.dpi << " " << height;
        }
    }
    EXPECT_EQ(core::Unscaled(-17, 144), -11);
    EXPECT_EQ(core::Unscaled(5, 0), 5);
}

namespace {

using P = core::Palette;
using S = core::SchemeColors;
using Y = core::SystemColors;
using Pick = core::Rgb (*)(const P&);

// A text and its background: their colours in the design (none where the light mode leaves
// them to the system) and in high contrast. The calendar draws the day names and the week
// numbers in its title's colour, and the selected day in the month's background on it.
struct TextPair {
    const char* what;
    Pick text, background;
    core::Rgb S::*designText;
    core::Rgb S::*designBackground;
    core::Rgb Y::*systemText;
    core::Rgb Y::*systemBackground;
};

const TextPair textPairs[] = {
    {"clock, light end", [](const P& p) { return p.stripText; }, [](const P& p) { return p.stripLight; },
     &S::dark, &S::light, &Y::buttonText, &Y::buttonFace},
    {"clock, other end", [](const P& p) { return p.stripText; }, [](const P& p) { return p.stripMid; },
     &S::dark, &S::mid, &Y::buttonText, &Y::buttonFace},
    {"day numbers", [](const P& p) { return p.calendar.text; },
     [](const P& p) { return p.calendar.monthBackground; }, &S::dark, &S::light,
     &Y::windowText, &Y::window},
    {"calendar title", [](const P& p) { return p.calendar.titleText; },
     [](const P& p) { return p.calendar.titleBackground; }, &S::light, &S::mid,
     &Y::highlightText, &Y::highlight},
    {"week numbers", [](const P& p) { return p.calendar.titleBackground; },
     [](const P& p) { return p.calendar.monthBackground; }, &S::mid, &S::light,
     &Y::highlight, &Y::window},
    {"notes", [](const P& p) { return p.notesText; }, [](const P& p) { return p.notesBackground; },
     nullptr, nullptr, &Y::windowText, &Y::window},
    {"dialog text", [](const P& p) { return p.dialogText; }, [](const P& p) { return p.dialogBackground; },
     nullptr, nullptr, &Y::buttonText, &Y::buttonFace},
    {"dialog link", [](const P& p) { return p.dialogLink; }, [](const P& p) { return p.dialogBackground; },
     nullptr, nullptr, &Y::hotLight, &Y::buttonFace},
};

// Windows' "High Contrast Black" and "High Contrast White".
const core::SystemColors highContrastThemes[] = {
    {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {26, 235, 255}, {0, 0, 0}, {255, 255, 0}},
    {{255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {55, 0, 110}, {255, 255, 255}, {0, 0, 159}},
};

}  // namespace

// Every text on its background, in every scheme and mode. The light mode is the design, kept
// as it is, and the program adds no pair of its own there (the notes box and the dialogs keep
// the system's colours). The dark variants and high contrast read at 4.5:1 or better, and high
// contrast draws only the system's pairs.
TEST(Palette, EveryTextPairOfEverySchemeAndMode)
{
    for (int scheme = 0; scheme < core::SCHEME_COUNT; ++scheme) {
        core::SchemeColors design;
        ASSERT_TRUE(core::ColorsOfScheme(scheme, design));
        for (const core::SystemColors& system : highContrastThemes)
            for (core::ColorMode mode : {core::ColorMode::Light, core::ColorMode::Dark, core::ColorMode::HighContrast}) {
                const core::Palette palette = core::PaletteOf(scheme, mode, system);
                EXPECT_EQ(palette.ownBoxColors, mode != core::ColorMode::Light);
                EXPECT_EQ(palette.darkFrames, mode == core::ColorMode::Dark);
                EXPECT_EQ(palette.calendar.trailingText, palette.calendar.monthBackground);
                for (const TextPair& pair : textPairs) {
                    SCOPED_TRACE(testing::Message() << "scheme " << scheme << ", mode " << static_cast<int>(mode) << ", "
                                                    << pair.what);
                    const core::Rgb text = pair.text(palette), background = pair.background(palette);
                    if (mode == core::ColorMode::Light && pair.designText) {
                        EXPECT_EQ(text, design.*pair.designText);
                        EXPECT_EQ(background, design.*pair.designBackground);
                    } else if (mode != core::ColorMode::Light) {
                        EXPECT_GE(core::ContrastRatio(text, background), 4.5);
                    }
                    if (mode == core::ColorMode::HighContrast) {
                        EXPECT_EQ(text, system.*pair.systemText);
                        EXPECT_EQ(background, system.*pair.systemBackground);
                    }
                }
            }
        // The dark strip keeps the scheme's hue (its strongest channel), darkened.
        const core::Rgb dark = core::PaletteOf(scheme, core::ColorMode::Dark, {}).stripMid, mid = design.mid;
        EXPECT_EQ(dark.red >= dark.green && dark.red >= dark.blue, mid.red >= mid.green && mid.red >= mid.blue);
        EXPECT_EQ(dark.green > dark.red && dark.green >= dark.blue, mid.green > mid.red && mid.green >= mid.blue);
        EXPECT_LT(core::ContrastRatio(dark, {}), core::ContrastRatio(mid, {}));
    }
    EXPECT_DOUBLE_EQ(core::ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0);
    EXPECT_DOUBLE_EQ(core::ContrastRatio({90, 90, 90}, {90, 90, 90}), 1.0);
}

TEST(Palette, HighContrastWinsOverDarkAndOnlyZeroIsDark)
{
    struct Case {
        bool highContrast;
        std::optional<std::uint32_t> appsUseLightTheme;
        core::ColorMode mode;
    } cases[] = {
        {false, std::nullopt, core::ColorMode::Light}, {false, 1u, core::ColorMode::Light},
        {false, 7u, core::ColorMode::Light},           {false, 0u, core::ColorMode::Dark},
        {true, 0u, core::ColorMode::HighContrast},      {true, std::nullopt, core::ColorMode::HighContrast},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::ChooseColorMode(c.highContrast, c.appsUseLightTheme), c.mode)
            << c.highContrast << "/" << c.appsUseLightTheme.value_or(99);
}
