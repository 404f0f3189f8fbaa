// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include <windows.h>

namespace fw {

class PaintDC {
public:
    explicit PaintDC(HWND target) : window(target), dc(BeginPaint(target, &paint)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(window, &paint); }

    HDC Get() const { return dc; }

private:
    HWND window;
    PAINTSTRUCT paint{};
    HDC dc;
};

}  // namespace fw
