// The platform's COLORREF of a colour of the core.
#pragma once

#include <windows.h>

#include "core/Appearance.h"

namespace fw {

inline COLORREF ColorRef(const core::Rgb& color)
{
    return RGB(color.red, color.green, color.blue);
}

}  // namespace fw
