// Settings files for the window tests.
#include "SettingsFiles.h"

#include <gtest/gtest.h>

namespace gui {

namespace {
const core::Windows1252 cp1252;
}  // namespace

core::LogicalFont Tahoma()
{
    core::LogicalFont font;
    font.height = -11;
    font.faceName = "Tahoma";
    return font;
}

core::CalendarSettings DefaultSettings(int left, int top)
{
    core::CalendarSettings settings;
    core::SetDefaultAppearance(settings, Tahoma());
    settings.windowLeft = left;
    settings.windowTop = top;
    return settings;
}

std::string EncodeSettings(const core::CalendarSettings& settings)
{
    const core::Bytes bytes = core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY);
    return std::string(bytes.begin(), bytes.end());
}

core::CalendarSettings DecodeSettings(const std::string& bytes)
{
    core::CalendarSettings settings;
    EXPECT_TRUE(core::ReadSettingsFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), Tahoma(),
                                       cp1252, core::FACE_NAME_KEY, settings))
        << "settings file of " << bytes.size() << " bytes does not decode";
    return settings;
}

}  // namespace gui
