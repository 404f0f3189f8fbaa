// The containment rule and centring used to keep the window on the desktop.
#include "core/Desktop.h"

#include <gtest/gtest.h>

using core::CenteredOrigin;
using core::Contains;
using core::Point;
using core::Rect;

TEST(Desktop, EdgesFollowThePlatformRule)
{
    const Rect screen{0, 0, 1280, 1024};
    EXPECT_TRUE(Contains(screen, Point{0, 0}));
    EXPECT_TRUE(Contains(screen, Point{1279, 1023}));
    EXPECT_FALSE(Contains(screen, Point{1280, 0}));
    EXPECT_FALSE(Contains(screen, Point{0, 1024}));
    EXPECT_FALSE(Contains(screen, Point{-1, 10}));
    EXPECT_FALSE(Contains(screen, Point{10, -1}));
    EXPECT_FALSE(Contains(screen, Point{-5000, -5000}));
}

TEST(Desktop, MenuButtonAndTitleStripBoundaries)
{
    const Rect menuButton{0, 0, 17, 24};
    EXPECT_TRUE(Contains(menuButton, Point{16, 23}));
    EXPECT_FALSE(Contains(menuButton, Point{17, 0}));
    const Rect titleStrip{0, 0, 243, 23};
    EXPECT_TRUE(Contains(titleStrip, Point{40, 22}));
    EXPECT_FALSE(Contains(titleStrip, Point{40, 23}));
}

TEST(Desktop, CentresWithTruncatingDivision)
{
    // 1280 x 1024 desktop, 243 x 275 window: 640 - 121, 512 - 137.
    const Point origin = CenteredOrigin(Rect{0, 0, 1280, 1024}, Rect{100, 100, 343, 375});
    EXPECT_EQ(origin.x, 519);
    EXPECT_EQ(origin.y, 375);

    // Odd desktop sizes: (0 + 1023) / 2 = 511, not 511.5 rounded.
    const Point odd = CenteredOrigin(Rect{0, 0, 1023, 767}, Rect{0, 0, 243, 275});
    EXPECT_EQ(odd.x, 511 - 121);
    EXPECT_EQ(odd.y, 383 - 137);
}

TEST(Desktop, CentringOnAreasWithNegativeCoordinatesTruncatesTowardZero)
{
    // (-1921 + 0) / 2 is -960 in C++, not -961.
    const Point origin = CenteredOrigin(Rect{-1921, -3, 0, 0}, Rect{0, 0, 3, 3});
    EXPECT_EQ(origin.x, -960 - 1);
    EXPECT_EQ(origin.y, -1 - 1);
}

TEST(Desktop, AWindowLargerThanTheAreaGetsANegativeOrigin)
{
    const Point origin = CenteredOrigin(Rect{0, 0, 200, 100}, Rect{0, 0, 400, 300});
    EXPECT_EQ(origin.x, -100);
    EXPECT_EQ(origin.y, -100);
}
