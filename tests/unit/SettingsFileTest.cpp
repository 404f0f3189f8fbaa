// The settings file: its byte layout, the shifted face names, round trips and damage.
#include "core/SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Bytes.h"

namespace {

const core::Windows1252 cp1252;

// What the platform reports for Tahoma at height -11.
core::LogicalFont BaseFont()
{
    core::LogicalFont font;
    font.height = -11;
    font.faceName = "Tahoma";
    return font;
}

core::CalendarSettings Defaults()
{
    core::CalendarSettings settings;
    core::SetDefaultAppearance(settings, BaseFont());
    settings.windowLeft = 100;
    settings.windowTop = 200;
    return settings;
}

core::Bytes Shifted(const std::string& text)
{
    core::Bytes bytes;
    for (char c : text)
        bytes.push_back(static_cast<std::uint8_t>(c - 0x16));
    return bytes;
}

bool Read(const core::Bytes& bytes, core::CalendarSettings& settings)
{
    return core::ReadSettingsFile(bytes.data(), bytes.size(), BaseFont(), cp1252, core::FACE_NAME_KEY, settings);
}

void ExpectPersistedFieldsEqual(const core::CalendarSettings& a, const core::CalendarSettings& b)
{
    EXPECT_EQ(a.shape, b.shape);
    EXPECT_EQ(a.colorScheme, b.colorScheme);
    EXPECT_EQ(a.titleGradient, b.titleGradient);
    EXPECT_EQ(a.timeFormatId, b.timeFormatId);
    EXPECT_EQ(a.fullLayout, b.fullLayout);
    EXPECT_EQ(a.windowLeft, b.windowLeft);
    EXPECT_EQ(a.windowTop, b.windowTop);
    EXPECT_EQ(a.titleFont, b.titleFont);
    EXPECT_EQ(a.notesFont, b.notesFont);
    EXPECT_EQ(a.customTimeFormat, b.customTimeFormat);
}

}  // namespace

TEST(SettingsFile, DefaultsAreWrittenFieldByFieldInFileOrder)
{
    const core::Bytes expected = Concat({
        Int32(1), Int32(0), Int32(0), Int32(0), Int32(43), Int32(100), Int32(200),  // items 1-7
        Int32(-15), {0, 0}, Int32(600), {16}, Shifted("Bradley Hand ITC"),         // title font
        Int32(-11), {1, 0}, Int32(0), {6}, Shifted("Tahoma"),                       // notes font
        {10}, Ascii("Time %H:%M"),                                                  // custom format
    });
    EXPECT_EQ(core::WriteSettingsFile(Defaults(), cp1252, core::FACE_NAME_KEY), expected);
}

TEST(SettingsFile, FieldOrderDiffersFromTheRecord)
{
    core::CalendarSettings settings = Defaults();
    settings.fullLayout = 7, settings.colorScheme = 8, settings.shape = 9, settings.titleGradient = 10;
    settings.windowLeft = -20, settings.windowTop = -30;
    const core::Bytes bytes = core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY);
    EXPECT_EQ(core::Bytes(bytes.begin(), bytes.begin() + 28),
              Concat({Int32(7), Int32(8), Int32(9), Int32(10), Int32(43), Int32(-20), Int32(-30)}));
}

TEST(SettingsFile, EveryPersistedFieldSurvivesARoundTrip)
{
    core::CalendarSettings settings = Defaults();
    settings.shape = 2, settings.colorScheme = 9, settings.titleGradient = 1, settings.timeFormatId = 46;
    settings.fullLayout = 0, settings.windowLeft = -1200, settings.windowTop = 33;
    settings.titleFont.faceName = std::string(31, 'F');
    settings.titleFont.underline = 1;
    settings.notesFont.faceName = "Courier New";
    settings.notesFont.weight = 700;
    settings.notesFont.height = -40;
    settings.customTimeFormat = "%A %d %B %Y, %H:%M \u65e5";
    core::CalendarSettings back;
    ASSERT_TRUE(Read(core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY), back));
    ExpectPersistedFieldsEqual(back, settings);
    EXPECT_EQ(back.cornerEllipse, 15);
}

TEST(SettingsFile, OnlyFiveMembersOfEachFontAreKept)
{
    core::CalendarSettings settings = Defaults();
    settings.titleFont.strikeOut = 1;
    settings.titleFont.charSet = 204;
    settings.titleFont.width = 9;
    settings.titleFont.pitchAndFamily = 0x31;
    core::CalendarSettings back;
    ASSERT_TRUE(Read(core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY), back));
    EXPECT_EQ(back.titleFont.strikeOut, 0);
    EXPECT_EQ(back.titleFont.charSet, 0);
    EXPECT_EQ(back.titleFont.width, 0);
    EXPECT_EQ(back.titleFont.pitchAndFamily, 0);
    EXPECT_EQ(back.titleFont.faceName, "Bradley Hand ITC");
}

TEST(SettingsFile, FaceNamesAreShiftedAndTheFormatIsNot)
{
    const core::Bytes bytes = core::WriteSettingsFile(Defaults(), cp1252, core::FACE_NAME_KEY);
    const std::string asText(bytes.begin(), bytes.end());
    EXPECT_EQ(asText.find("Tahoma"), std::string::npos);
    EXPECT_EQ(asText.find("Bradley"), std::string::npos);
    EXPECT_NE(asText.find("Time %H:%M"), std::string::npos);
    // A shifted name never holds a zero byte, which would end it when read back.
    const core::Bytes title = Shifted("Bradley Hand ITC");
    EXPECT_EQ(std::count(title.begin(), title.end(), 0), 0);
}

TEST(SettingsFile, ShiftTextWrapsAroundInBothDirections)
{
    core::StoredString text;
    text.bytes = std::string("\x00\x10\xff" "A", 4);
    const core::StoredString down = core::ShiftText(text, core::Shift::Subtract, 0x16);
    EXPECT_EQ(down.bytes, std::string("\xea\xfa\xe9+", 4));
    EXPECT_EQ(core::ShiftText(down, core::Shift::Add, 0x16), text);
}

TEST(SettingsFile, UnicodeFaceNamesAndFormatsTakeTheWideForm)
{
    core::CalendarSettings settings = Defaults();
    settings.titleFont.faceName = "\uff2d\uff33 \u30b4\u30b7\u30c3\u30af";
    settings.customTimeFormat = "\u0412\u0440\u0435\u043c\u044f %H:%M";
    core::CalendarSettings back;
    ASSERT_TRUE(Read(core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY), back));
    EXPECT_EQ(back.titleFont.faceName, settings.titleFont.faceName);
    EXPECT_EQ(back.customTimeFormat, settings.customTimeFormat);
}

// The platform's font record holds 31 UTF-16 units of a face name: a longer one is cut there,
// never inside a character, whether it is stored in the wide form or in the plain form of a
// code page whose characters take several bytes.
TEST(SettingsFile, LongFaceNamesAreCutTo31Characters)
{
    core::Bytes bytes = core::WriteSettingsFile(Defaults(), cp1252, core::FACE_NAME_KEY);
    // Replace the title face name (item 12, at offset 38) by a 40-character one.
    const std::size_t at = 7 * 4 + 4 + 2 + 4;
    const std::size_t oldLength = bytes[at];
    bytes.erase(bytes.begin() + at, bytes.begin() + static_cast<std::ptrdiff_t>(at + 1 + oldLength));
    const core::Bytes longName = Concat({{40}, Shifted(std::string(40, 'Q'))});
    bytes.insert(bytes.begin() + at, longName.begin(), longName.end());
    core::CalendarSettings back;
    ASSERT_TRUE(Read(bytes, back));
    EXPECT_EQ(back.titleFont.faceName, std::string(31, 'Q'));

    // A system whose ANSI code page is UTF-8: every character goes in the plain form.
    struct Utf8CodePage : core::CodePage {
        bool FromUtf8(const std::string& utf8, std::string& ansi) const override
        {
            std::u16string ignored;
            ansi = utf8;
            return core::Utf8ToUtf16(utf8, ignored);
        }
        std::string ToUtf8(const std::string& ansi) const override { return ansi; }
    } utf8;
    const auto times = [](int count, const std::string& text) {
        std::string all;
        for (int i = 0; i < count; ++i)
            all += text;
        return all;
    };
    const std::string e = "\xc3\xa9", smile = "\xf0\x9f\x98\x80";
    struct Case {
        const core::CodePage& codePage;
        std::string name;
        std::string expected;
    } cases[] = {
        {utf8, times(20, e), times(20, e)},                                  // 40 bytes, 20 units
        {utf8, times(40, e), times(31, e)},                                  // 80 bytes, 40 units
        {utf8, "aa" + times(20, smile), "aa" + times(14, smile)},            // the 31st unit a high half
        {cp1252, times(16, "a") + times(10, smile), times(16, "a") + times(7, smile)},  // wide, the same
        {cp1252, times(15, "a") + times(10, smile), times(15, "a") + times(8, smile)},  // wide, a low half
    };
    for (const Case& c : cases) {
        core::CalendarSettings settings = Defaults();
        settings.titleFont.faceName = c.name;
        const core::Bytes file = core::WriteSettingsFile(settings, c.codePage, core::FACE_NAME_KEY);
        core::CalendarSettings read;
        ASSERT_TRUE(core::ReadSettingsFile(file.data(), file.size(), BaseFont(), c.codePage, core::FACE_NAME_KEY, read));
        EXPECT_EQ(read.titleFont.faceName, c.expected) << c.name;
    }
}

TEST(SettingsFile, ExtraBytesAreIgnoredAndEveryTruncationIsRejected)
{
    const core::Bytes bytes = core::WriteSettingsFile(Defaults(), cp1252, core::FACE_NAME_KEY);
    core::CalendarSettings back;
    ASSERT_TRUE(Read(Concat({bytes, Ascii("trailing junk")}), back));
    ExpectPersistedFieldsEqual(back, Defaults());

    for (std::size_t size = 0; size < bytes.size(); ++size) {
        core::CalendarSettings untouched;
        untouched.colorScheme = 3;
        EXPECT_FALSE(Read(core::Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)), untouched))
            << size;
        EXPECT_EQ(untouched.colorScheme, 3) << size;
        EXPECT_EQ(untouched.fullLayout, 1) << size;
    }
}

TEST(SettingsFile, DefaultAppearance)
{
    const core::CalendarSettings settings = Defaults();
    EXPECT_EQ(settings.titleFont.faceName, "Bradley Hand ITC");
    EXPECT_EQ(settings.titleFont.weight, 600);
    EXPECT_EQ(settings.titleFont.height, -15);
    EXPECT_EQ(settings.titleFont.italic, 0);
    EXPECT_EQ(settings.notesFont.faceName, "Tahoma");
    EXPECT_EQ(settings.notesFont.height, -11);
    EXPECT_EQ(settings.notesFont.italic, 1);
    EXPECT_EQ(settings.timeFormatId, 43);
    EXPECT_EQ(settings.customTimeFormat, "Time %H:%M");
    EXPECT_EQ(settings.fullLayout, 1);
}
