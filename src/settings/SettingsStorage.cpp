// The settings record at start and at close.
#include "settings/SettingsStorage.h"

#include "core/SettingsFile.h"
#include "framework/AnsiCodePage.h"
#include "framework/DiskFile.h"
#include "settings/DataFilePath.h"

bool SettingsStorage::LoadSettings(core::CalendarSettings& record, const core::LogicalFont& baseFont)
{
    fw::DiskFile file(DataFileToRead(SETTINGS_FILE_NAME));
    core::Bytes bytes;
    return file.ReadAll(bytes) && core::ReadSettingsFile(bytes.data(), bytes.size(), baseFont,
                                                         fw::SystemCodePage(), core::FACE_NAME_KEY, record);
}

void SettingsStorage::SetDefaultSettings(core::CalendarSettings& record, const core::LogicalFont& baseFont,
                                         POINT centredOrigin)
{
    core::SetDefaultAppearance(record, baseFont);
    record.windowLeft = centredOrigin.x;
    record.windowTop = centredOrigin.y;
    firstRun = true;
}

bool SettingsStorage::SaveSettings(const core::CalendarSettings& record, std::vector<fw::FileFailure>& failures)
{
    fw::DiskFile file(DataFilePath(SETTINGS_FILE_NAME));
    if (file.Replace(core::WriteSettingsFile(record, fw::SystemCodePage(), core::FACE_NAME_KEY)))
        return true;
    failures.push_back({file.Path(), file.LastError()});
    return false;
}
