// Fonts the window creates, and the logical-font records of the settings.
#pragma once

#include <windows.h>

#include "core/CalendarSettings.h"
#include "framework/Handles.h"

// The fixed font of the month calendar: Tahoma at height -11, plain.
fw::CFont CreateTahomaFont();

// The logical font that the platform reports for Tahoma at height -11: the base of both
// font settings.
core::LogicalFont FillBaseFont();

core::LogicalFont FromLogFont(const LOGFONTW& font);
LOGFONTW ToLogFont(const core::LogicalFont& font);
// A new platform font for a font setting.
fw::CFont CreateFontFrom(const core::LogicalFont& font);
