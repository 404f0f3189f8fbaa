// Writing and reading the settings file.
#include "core/SettingsFile.h"

namespace core {

namespace {

constexpr std::size_t FACE_NAME_LENGTH = 31;

void WriteFont(ArchiveWriter& out, const LogicalFont& font, const CodePage& codePage, std::uint8_t key)
{
    out.Int32(font.height);
    out.Byte(font.italic);
    out.Byte(font.underline);
    out.Int32(font.weight);
    out.String(ShiftText(EncodeText(font.faceName, codePage), Shift::Subtract, key));
}

// A face name as the platform's font record holds it: up to its first zero, at most 31
// UTF-16 units, and never half a character, whatever code page the plain form is in.
std::string FaceName(StoredString stored, const CodePage& codePage, std::uint8_t key)
{
    stored = ShiftText(stored, Shift::Add, key);
    if (stored.wide)
        stored.units = stored.units.substr(0, stored.units.find(u'\0'));
    else
        stored.bytes = stored.bytes.substr(0, stored.bytes.find('\0'));
    std::u16string units;
    Utf8ToUtf16(DecodeText(stored, codePage), units);
    if (units.size() > FACE_NAME_LENGTH) {
        const bool splitsPair = units[FACE_NAME_LENGTH - 1] >= 0xD800 && units[FACE_NAME_LENGTH - 1] <= 0xDBFF;
        units.resize(splitsPair ? FACE_NAME_LENGTH - 1 : FACE_NAME_LENGTH);
    }
    return Utf16ToUtf8(units);
}

bool ReadFont(ArchiveReader& in, LogicalFont& font, StoredString& shiftedName)
{
    std::int32_t height, weight;
    std::uint8_t italic, underline;
    if (!in.Int32(height) || !in.Byte(italic) || !in.Byte(underline) || !in.Int32(weight) ||
        !in.String(shiftedName))
        return false;
    font.height = height;
    font.italic = italic;
    font.underline = underline;
    font.weight = weight;
    return true;
}

}  // namespace

bool LogicalFont::operator==(const LogicalFont& o) const
{
    return height == o.height && width == o.width && escapement == o.escapement &&
           orientation == o.orientation && weight == o.weight && italic == o.italic &&
           underline == o.underline && strikeOut == o.strikeOut && charSet == o.charSet &&
           outPrecision == o.outPrecision && clipPrecision == o.clipPrecision && quality == o.quality &&
           pitchAndFamily == o.pitchAndFamily && faceName == o.faceName;
}

void SetDefaultAppearance(CalendarSettings& settings, const LogicalFont& baseFont)
{
    settings.titleFont = baseFont;
    settings.titleFont.faceName = "Bradley Hand ITC";
    settings.titleFont.weight = 600;
    settings.titleFont.height = -15;
    settings.notesFont = baseFont;
    settings.notesFont.italic = 1;
    settings.colorScheme = 0;
    settings.shape = 0;
    settings.titleGradient = 0;
    settings.timeFormatId = 43;
    settings.customTimeFormat = "Time %H:%M";
    settings.fullLayout = 1;
}

StoredString ShiftText(const StoredString& text, Shift direction, std::uint8_t key)
{
    StoredString shifted = text;
    const int delta = direction == Shift::Add ? key : -key;
    for (char& byte : shifted.bytes)
        byte = static_cast<char>(static_cast<std::uint8_t>(byte) + delta);
    for (char16_t& unit : shifted.units)
        unit = static_cast<char16_t>(unit + delta);
    return shifted;
}

Bytes WriteSettingsFile(const CalendarSettings& settings, const CodePage& codePage, std::uint8_t key)
{
    Bytes bytes;
    ArchiveWriter out(bytes);
    out.Int32(settings.fullLayout);
    out.Int32(settings.colorScheme);
    out.Int32(settings.shape);
    out.Int32(settings.titleGradient);
    out.Int32(settings.timeFormatId);
    out.Int32(settings.windowLeft);
    out.Int32(settings.windowTop);
    WriteFont(out, settings.titleFont, codePage, key);
    WriteFont(out, settings.notesFont, codePage, key);
    out.Text(settings.customTimeFormat, codePage);
    return bytes;
}

bool ReadSettingsFile(const std::uint8_t* data, std::size_t size, const LogicalFont& baseFont,
                      const CodePage& codePage, std::uint8_t key, CalendarSettings& settings)
{
    CalendarSettings read = settings;
    read.titleFont = baseFont;
    read.notesFont = baseFont;
    ArchiveReader in(data, size);
    StoredString titleName, notesName;
    if (!in.Int32(read.fullLayout) || !in.Int32(read.colorScheme) || !in.Int32(read.shape) ||
        !in.Int32(read.titleGradient) || !in.Int32(read.timeFormatId) || !in.Int32(read.windowLeft) ||
        !in.Int32(read.windowTop) || !ReadFont(in, read.titleFont, titleName) ||
        !ReadFont(in, read.notesFont, notesName) || !in.Text(read.customTimeFormat, codePage))
        return false;
    read.titleFont.faceName = FaceName(titleName, codePage, key);
    read.notesFont.faceName = FaceName(notesName, codePage, key);
    settings = std::move(read);
    return true;
}

}  // namespace core
