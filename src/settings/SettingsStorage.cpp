// The settings record at start and at close, and saving at close.
#include "appearance/Fonts.h"
#include "core/FormatMoment.h"
#include "core/SettingsFile.h"
#include "framework/AnsiCodePage.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "settings/DataFilePath.h"
#include "window/CalendarWindow.h"
#include "window/Desktop.h"

bool CalendarWindow::LoadSettings(core::CalendarSettings& record)
{
    fw::DiskFile file(DataFilePath(SETTINGS_FILE_NAME));
    core::Bytes bytes;
    return file.ReadAll(bytes) && core::ReadSettingsFile(bytes.data(), bytes.size(), FillBaseFont(),
                                                         fw::SystemCodePage(), static_cast<std::uint8_t>(textKey),
                                                         record);
}

void CalendarWindow::SetDefaultSettings(core::CalendarSettings& record)
{
    core::SetDefaultAppearance(record, FillBaseFont());
    measuredRect = WindowRect();
    const POINT origin = DesktopCenteredOrigin(measuredRect);
    record.windowLeft = origin.x;
    record.windowTop = origin.y;
    firstRun = true;
}

bool CalendarWindow::SaveSettings(core::CalendarSettings& record)
{
    StorePosition(record);
    fw::DiskFile file(DataFilePath(SETTINGS_FILE_NAME));
    if (file.Replace(core::WriteSettingsFile(record, fw::SystemCodePage(), static_cast<std::uint8_t>(textKey))))
        return true;
    saveFailures.push_back({file.Path(), file.LastError()});
    return false;
}

// Both files, the settings first; each is tried even when the other failed.
bool CalendarWindow::SaveEverything()
{
    saveFailures.clear();
    const bool settingsSaved = SaveSettings(settings);
    const bool notesSaved = SaveNotes();
    return settingsSaved && notesSaved;
}

bool CalendarWindow::AskToRetrySave()
{
    std::string text = saveFailures.size() == 1 ? "Dayvane could not save this file:" : "Dayvane could not save these files:";
    for (const SaveFailure& failure : saveFailures)
        text += "\n\n" + fw::Narrow(failure.path) + "\n" + fw::SystemMessage(failure.error);
    text += "\n\nChoose Retry to try again, or Cancel to keep Dayvane open with your notes.";
    return MessageBoxW(handle, fw::Widen(text).c_str(), L"Dayvane", MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}
