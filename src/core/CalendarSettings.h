// The settings record: every appearance choice of the calendar window and its position.
#pragma once

#include <cstdint>
#include <string>

namespace core {

struct CalendarSettings {
    std::int32_t shape = 0;           // 0 rectangle, 1 rounded top, 2 rounded all
    std::int32_t colorScheme = 0;     // 0 blue, 1 green, 2 red, 3 yellow, 4 gray, 5 pink
    std::int32_t titleGradient = 0;   // 0 light to mid, 1 mid to light
    std::int32_t timeFormatId = 43;   // the Time command of the clock format; 46 = custom
    std::int32_t cornerEllipse = 15;  // never stored in the file
    std::int32_t fullLayout = 1;      // 0 = compact: only the title strip shows
    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    std::string customTimeFormat = "Time %H:%M";
};

}  // namespace core
