// The settings record: every appearance choice of the calendar window and its position.
#pragma once

#include <cstdint>
#include <string>

namespace core {

// The members of the platform's logical-font record, with the face name in UTF-8.
struct LogicalFont {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string faceName;  // at most 31 UTF-16 units

    bool operator==(const LogicalFont& other) const;
    bool operator!=(const LogicalFont& other) const { return !(*this == other); }
};

struct CalendarSettings {
    std::int32_t shape = 0;           // 0 rectangle, 1 rounded top, 2 rounded all
    std::int32_t colorScheme = 0;     // 0 blue, 1 green, 2 red, 3 yellow, 4 gray, 5 pink
    std::int32_t titleGradient = 0;   // 0 light to mid, 1 mid to light
    std::int32_t timeFormatId = 43;   // the Time command of the clock format; 46 = custom
    std::int32_t cornerEllipse = 15;  // never stored in the file
    std::int32_t fullLayout = 1;      // 0 = compact: only the title strip shows
    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    LogicalFont titleFont;
    LogicalFont notesFont;
    std::string customTimeFormat = "Time %H:%M";
};

// The first-run appearance: every persisted field but the position, fonts made from `baseFont`.
void SetDefaultAppearance(CalendarSettings& settings, const LogicalFont& baseFont);

}  // namespace core
