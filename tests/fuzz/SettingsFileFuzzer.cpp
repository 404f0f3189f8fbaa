// libFuzzer target for the settings file reader: any bytes are read safely, a failed read
// changes nothing, and what a read gives survives a write and a second read unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/SettingsFile.h"

namespace {

const core::Windows1252 codePage;

// The calendar's base font is Tahoma at height -11. The members the file does not store are
// given values of their own here, so that one taken from anywhere but the base font shows.
core::LogicalFont BaseFont()
{
    core::LogicalFont font;
    font.height = -11;
    font.width = 3;
    font.escapement = 5;
    font.orientation = 7;
    font.weight = 400;
    font.strikeOut = 1;
    font.charSet = 1;
    font.outPrecision = 2;
    font.clipPrecision = 4;
    font.quality = 6;
    font.pitchAndFamily = 8;
    font.faceName = "Tahoma";
    return font;
}

const core::LogicalFont baseFont = BaseFont();

// What a read starts from: the first-run appearance, a position and a corner ellipse that
// the file does not hold.
core::CalendarSettings Initial()
{
    core::CalendarSettings settings;
    core::SetDefaultAppearance(settings, baseFont);
    settings.windowLeft = 120;
    settings.windowTop = 80;
    settings.cornerEllipse = 21;
    return settings;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "settings file: %s\n", what);
    std::abort();
}

bool UnstoredFromBase(const core::LogicalFont& font)
{
    core::LogicalFont expected = baseFont;
    expected.height = font.height;
    expected.italic = font.italic;
    expected.underline = font.underline;
    expected.weight = font.weight;
    expected.faceName = font.faceName;
    return font == expected;
}

// The name of the first field in which the two records differ, or null when none does.
const char* FirstDifference(const core::CalendarSettings& a, const core::CalendarSettings& b)
{
    if (a.fullLayout != b.fullLayout)
        return "fullLayout";
    if (a.colorScheme != b.colorScheme)
        return "colorScheme";
    if (a.shape != b.shape)
        return "shape";
    if (a.titleGradient != b.titleGradient)
        return "titleGradient";
    if (a.timeFormatId != b.timeFormatId)
        return "timeFormatId";
    if (a.windowLeft != b.windowLeft)
        return "windowLeft";
    if (a.windowTop != b.windowTop)
        return "windowTop";
    if (a.titleFont.faceName != b.titleFont.faceName)
        return "titleFont.faceName";
    if (a.titleFont != b.titleFont)
        return "titleFont";
    if (a.notesFont.faceName != b.notesFont.faceName)
        return "notesFont.faceName";
    if (a.notesFont != b.notesFont)
        return "notesFont";
    if (a.customTimeFormat != b.customTimeFormat)
        return "customTimeFormat";
    if (a.cornerEllipse != b.cornerEllipse)
        return "cornerEllipse";
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const core::CalendarSettings initial = Initial();

    core::CalendarSettings first = initial;
    if (!core::ReadSettingsFile(data, size, baseFont, codePage, core::FACE_NAME_KEY, first)) {
        if (FirstDifference(first, initial) != nullptr)
            Fail("a failed read changed the settings");
        return 0;
    }
    if (!UnstoredFromBase(first.titleFont) || !UnstoredFromBase(first.notesFont))
        Fail("a font member the file does not store was not taken from the base font");
    if (first.cornerEllipse != initial.cornerEllipse)
        Fail("the read changed the corner ellipse, which the file does not store");

    // Reading maps some bytes lossily on purpose (a zero ends a string, face names are cut
    // to 31 characters), so the bytes need not come back; what was read must.
    const core::Bytes written = core::WriteSettingsFile(first, codePage, core::FACE_NAME_KEY);
    core::CalendarSettings second = initial;
    if (!core::ReadSettingsFile(written.data(), written.size(), baseFont, codePage, core::FACE_NAME_KEY, second))
        Fail("the written file of a read one does not read");
    if (const char* field = FirstDifference(first, second)) {
        std::fprintf(stderr, "settings file: %s differs after a write and a second read\n", field);
        std::abort();
    }
    if (core::WriteSettingsFile(second, codePage, core::FACE_NAME_KEY) != written)
        Fail("writing what was read back gives other bytes");
    return 0;
}
