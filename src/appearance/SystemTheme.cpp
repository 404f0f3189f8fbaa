// The app mode read from the user's registry key, high contrast and the system's colours.
#include "appearance/SystemTheme.h"

#include <cstring>

#include "framework/Registry.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const wchar_t* PERSONALIZE_KEY = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

core::Rgb SystemColor(int index)
{
    const COLORREF color = GetSysColor(index);
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

}  // namespace

void SystemTheme::Watch(HWND window)
{
    // Without the watch the program still follows the system's broadcast.
    watch.Start(PERSONALIZE_KEY, window, COLOR_MODE_CHANGED_MESSAGE);
}

// A value that is missing, or not a number, leaves the light mode.
core::ColorMode SystemTheme::Mode()
{
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof highContrast;
    const bool contrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
                          (highContrast.dwFlags & HCF_HIGHCONTRASTON);
    std::optional<std::uint32_t> appsUseLightTheme;
    fw::RegistryValue value;
    if (fw::ReadUserValue(PERSONALIZE_KEY, L"AppsUseLightTheme", value) == ERROR_SUCCESS && value.type == REG_DWORD &&
        value.bytes.size() == sizeof(std::uint32_t)) {
        std::uint32_t number = 0;
        std::memcpy(&number, value.bytes.data(), sizeof number);
        appsUseLightTheme = number;
    }
    return core::ChooseColorMode(contrast, appsUseLightTheme);
}

core::SystemColors SystemTheme::Colors()
{
    return {SystemColor(COLOR_WINDOW),    SystemColor(COLOR_WINDOWTEXT), SystemColor(COLOR_BTNFACE),
            SystemColor(COLOR_BTNTEXT),   SystemColor(COLOR_HIGHLIGHT),  SystemColor(COLOR_HIGHLIGHTTEXT),
            SystemColor(COLOR_HOTLIGHT)};
}
