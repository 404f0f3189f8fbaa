// Fonts made from a face or from a font setting, and the platform's font records as the
// settings' logical fonts.
#pragma once

#include <windows.h>

#include "core/CalendarSettings.h"
#include "framework/Handles.h"

// A new plain font of `face` at `height`, everything else the platform's choice.
fw::CFont CreatePlainFont(const wchar_t* face, LONG height);

// The logical font that the platform reports for the plain font of `face` at `height`; only
// the face and height when it makes none.
core::LogicalFont PlainLogicalFont(const wchar_t* face, LONG height);

core::LogicalFont FromLogFont(const LOGFONTW& font);
LOGFONTW ToLogFont(const core::LogicalFont& font);
// A new platform font for a font setting.
fw::CFont CreateFontFrom(const core::LogicalFont& font);
