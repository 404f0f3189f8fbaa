// Conversions through the system's ANSI code page.
#include "framework/AnsiCodePage.h"

#include <windows.h>

namespace fw {

bool AnsiCodePage::FromUtf8(const std::string& utf8, std::string& ansi) const
{
    ansi.clear();
    std::u16string wide;
    if (!core::Utf8ToUtf16(utf8, wide))
        return false;
    if (wide.empty())
        return true;
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int count = static_cast<int>(wide.size());
    // No best-fit mapping: a character the code page lacks must be reported, not replaced
    // by a look-alike, so that the text goes to the file in its wide form instead.
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    ansi.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, ansi.data(), length, nullptr, &usedDefault);
    return !usedDefault;
}

std::string AnsiCodePage::ToUtf8(const std::string& ansi) const
{
    if (ansi.empty())
        return {};
    const int count = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), count, nullptr, 0);
    if (length <= 0)
        return {};
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), count, reinterpret_cast<wchar_t*>(wide.data()), length);
    return core::Utf16ToUtf8(wide);
}

const core::CodePage& SystemCodePage()
{
    static const AnsiCodePage codePage;
    return codePage;
}

}  // namespace fw
