// The settings record between runs: read at start, the defaults on a first run, written at close.
#pragma once

#include <windows.h>

#include <vector>

#include "core/CalendarSettings.h"
#include "framework/Files.h"

class SettingsStorage {
public:
    // False when there is no readable settings file; the record is then untouched. What the
    // file does not store of each font is `baseFont`'s.
    bool LoadSettings(core::CalendarSettings& record, const core::LogicalFont& baseFont);
    // Every persisted field's default, the fonts `baseFont` and the window at `centredOrigin`;
    // marks a first run.
    void SetDefaultSettings(core::CalendarSettings& record, const core::LogicalFont& baseFont, POINT centredOrigin);
    // False, with the reason added to `failures`, when the file could not be written.
    bool SaveSettings(const core::CalendarSettings& record, std::vector<fw::FileFailure>& failures);

    // This start found no readable settings file.
    bool FirstRun() const { return firstRun; }

private:
    bool firstRun = false;
};
