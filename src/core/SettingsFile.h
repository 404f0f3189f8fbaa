// The settings file "qor_info.dat": the persisted fields of the settings record in a fixed
// order, with the two face names stored shifted.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/CalendarSettings.h"

namespace core {

// The key under which the face names are stored: a control character, which no face name
// holds, so a shifted name never contains a zero byte.
constexpr std::uint8_t FACE_NAME_KEY = 0x16;

enum class Shift { Subtract, Add };

// Every byte (or UTF-16 unit) of `text` moved by `key` in the given direction, wrapping around.
StoredString ShiftText(const StoredString& text, Shift direction, std::uint8_t key);

// The file's bytes, with the face names shifted down by `key`.
Bytes WriteSettingsFile(const CalendarSettings& settings, const CodePage& codePage, std::uint8_t key);

// Reads the file's bytes into `settings`, shifting the face names back up by `key`. Of each font only height, italic, underline,
// weight and face name are stored; the other members take `baseFont`'s values. Bytes after
// the last field are ignored. False, with `settings` unchanged, when the bytes end early or
// a string is malformed.
bool ReadSettingsFile(const std::uint8_t* data, std::size_t size, const LogicalFont& baseFont,
                      const CodePage& codePage, std::uint8_t key, CalendarSettings& settings);

}  // namespace core
