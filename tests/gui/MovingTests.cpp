// Moving the frameless window by dragging its own surface, with real mouse input.
#include <gtest/gtest.h>

#include <functional>

#include "Harness.h"
#include "resources/ResourceIds.h"

namespace {

RECT RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// What holds the mouse on the program's thread: the window for a drag, the notes box or an
// open menu for presses that start none.
GUITHREADINFO MouseHolder(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

// A press at a client point held while the cursor moves, released at the end.
class Drag {
public:
    Drag(const gui::Program& program, POINT clientPress) : window(program.Window())
    {
        gui::BringToFront(window);
        cursor = program.ClientToScreenPoint(clientPress);
        gui::MoveCursorTo(cursor);
        gui::LeftButton(true);
        // Whatever takes the press captures the mouse while the button is down.
        gui::WaitUntil([&] { return MouseHolder(window).hwndCapture != nullptr; });
    }
    ~Drag() { Release(); }

    // Like a hand on a mouse: the cursor travels in steps, each step one move event.
    void MoveTo(POINT target)
    {
        const POINT from = cursor;
        constexpr int steps = 8;
        for (int i = 1; i <= steps; ++i) {
            cursor = {from.x + (target.x - from.x) * i / steps, from.y + (target.y - from.y) * i / steps};
            gui::MoveCursorTo(cursor);
            // The pace of the hand, part of the movement being tested, not a wait for anything.
            Sleep(5);
        }
    }
    void MoveBy(int dx, int dy) { MoveTo({cursor.x + dx, cursor.y + dy}); }
    // The release lets the capture go once every move before it has been handled; an open
    // menu keeps it until the menu closes.
    void Release()
    {
        if (released)
            return;
        gui::LeftButton(false);
        released = true;
        gui::WaitUntil([&] {
            const GUITHREADINFO holder = MouseHolder(window);
            return !holder.hwndCapture || (holder.flags & GUI_INMENUMODE);
        });
    }
    POINT Cursor() const { return cursor; }

private:
    HWND window;
    POINT cursor{};
    bool released = false;
};

bool SameSize(const RECT& a, const RECT& b)
{
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

}  // namespace

TEST(Moving, DraggingKeepsTheGrabPointUnderTheCursor)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const RECT start = RectOf(program.Window());

    const POINT screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // The first pixel right of the menu button, then a point inside the strip.
    for (const POINT grab : {POINT{17, 0}, POINT{150, 15}}) {
        Drag drag(program, grab);
        // A short move, then two far enough that the cursor leaves the window's rectangle.
        const POINT nearby{drag.Cursor().x + 40, drag.Cursor().y + 30};
        for (const POINT target : {nearby, POINT{screen.x * 3 / 4, screen.y * 3 / 4}, POINT{screen.x / 5, screen.y / 5}}) {
            drag.MoveTo(target);
            const POINT cursor = drag.Cursor();
            // A loaded Wine can drop the last move's event; the move is made again until the
            // window is seen where the cursor is.
            EXPECT_TRUE(gui::WaitUntil([&] {
                const RECT now = RectOf(program.Window());
                if (now.left == cursor.x - grab.x && now.top == cursor.y - grab.y)
                    return true;
                gui::MoveCursorTo(cursor);
                return false;
            })) << "grabbed at " << grab.x << "," << grab.y << ", cursor at " << cursor.x << "," << cursor.y
                << ", window at " << RectOf(program.Window()).left << "," << RectOf(program.Window()).top;
            EXPECT_TRUE(SameSize(RectOf(program.Window()), start));
        }
    }

    Drag drag(program, {100, 10});
    drag.Release();
    const RECT released = RectOf(program.Window());
    drag.MoveBy(60, 60);
    program.WaitUntilIdle();
    const RECT after = RectOf(program.Window());
    EXPECT_EQ(after.left, released.left);
    EXPECT_EQ(after.top, released.top);
}

namespace {

// Pressing at a client point (given the window) and moving the mouse leaves the window where it was.
void ExpectNoDragFrom(const std::function<POINT(HWND)>& pressPoint)
{
    gui::TempFolder folder;
    gui::Program program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const RECT start = RectOf(program.Window());
    {
        Drag drag(program, pressPoint(program.Window()));
        drag.MoveBy(50, 40);
    }  // the release is handled after the moves
    program.WaitUntilIdle();
    const RECT after = RectOf(program.Window());
    EXPECT_EQ(after.left, start.left);
    EXPECT_EQ(after.top, start.top);
}

}  // namespace

// The press belongs to the menu button: its bottom-right pixel is (16, 23).
TEST(Moving, APressOnTheMenuButtonStartsNoDrag)
{
    ExpectNoDragFrom([](HWND) { return POINT{16, 23}; });
}

// The notes box takes its own mouse input.
TEST(Moving, APressOnTheNotesBoxStartsNoDrag)
{
    ExpectNoDragFrom([](HWND window) {
        RECT notes{};
        GetWindowRect(GetDlgItem(window, IDC_NOTES), &notes);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&notes), 2);
        return POINT{notes.left + 20, notes.top + 20};
    });
}
