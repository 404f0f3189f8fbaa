// Scheme colours, window regions for every layout and shape, and the clock text's top.
#include "core/Appearance.h"

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
